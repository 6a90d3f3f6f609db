// The desktop icon of the game: a small sudoku grid in the game's blue, as SVG and as a 256-pixel PNG.
#pragma once

#include <QByteArray>
#include <QString>

namespace painter {

// The SVG text; the digits are outlines of the bundled serif letters, so the file needs no font.
QByteArray appIconSvg();
// Writes sudoku.svg and sudoku-256.png into the folder.
bool writeAppIcon(const QString &folder);

} // namespace painter
