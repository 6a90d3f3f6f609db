// The desktop icon of the game: a small sudoku grid in the game's blue, as SVG, as a 256-pixel PNG
// and as the Windows program's multi-size icon file.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace painter {

// The SVG text; the digits are outlines of the bundled serif letters, so the file needs no font.
QByteArray appIconSvg();
// The square sizes of the Windows icon: the shell's sizes at 100 % to 250 % display scaling.
QList<int> windowsIconSizes();
// A Windows .ico file holding the images (square, at most 256 pixels), each stored as PNG.
QByteArray icoFile(const QList<QImage> &images);
// Writes sudoku.svg, sudoku-256.png and sudoku.ico into the folder.
bool writeAppIcon(const QString &folder);

} // namespace painter
