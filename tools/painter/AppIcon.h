// The desktop icon of the game: a sudoku grid in the game's blue, as SVG, as PNGs of 256 pixels and of
// the small sizes, and as the Windows program's multi-size icon file.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace painter {

// The SVG text; the digits are outlines of the bundled serif letters, so the file needs no font.
QByteArray appIconSvg();
// The icon drawn for a square of `size` pixels. From 64 pixels up it is the SVG; below that a
// simpler picture drawn on the pixel grid: a 3 x 3 grid of boxes, a few big digits from 32 up.
QImage appIconImage(int size);
// The sizes that get their own PNG beside the SVG.
inline constexpr int appIconSizes[] = {16, 24, 32, 48, 256};
// The square sizes of the Windows icon: the shell's sizes at 100 % to 250 % display scaling.
QList<int> windowsIconSizes();
// A Windows .ico file holding the images (square, at most 256 pixels), each stored as PNG.
QByteArray icoFile(const QList<QImage> &images);
// Writes sudoku.svg, sudoku-<size>.png for every size above and sudoku.ico into the folder.
bool writeAppIcon(const QString &folder);

} // namespace painter
