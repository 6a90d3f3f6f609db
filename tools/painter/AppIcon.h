// The desktop icon of the game: a sudoku grid in the game's blue, as SVG and as PNGs of 256 pixels and of the small sizes.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace painter {

// The SVG text; the digits are outlines of the bundled serif letters, so the file needs no font.
QByteArray appIconSvg();
// The icon drawn for a square of `size` pixels. From 64 pixels up it is the SVG; below that a
// simpler picture drawn on the pixel grid: a 3 x 3 grid of boxes, a few big digits from 32 up.
QImage appIconImage(int size);
// The sizes that get their own PNG beside the SVG.
inline constexpr int appIconSizes[] = {16, 24, 32, 48, 256};
// Writes sudoku.svg and sudoku-<size>.png for every size above into the folder.
bool writeAppIcon(const QString &folder);

} // namespace painter
