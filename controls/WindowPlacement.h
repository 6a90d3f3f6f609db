// Where the game's windows go on the screen: centred, or in the top-right corner.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Top-left corner that centres a window of `size` on `screen`.
QPoint CentredPosition(QSize size, const QRect &screen);
// Top-left corner `margin` pixels from the top and right edges of `screen`.
QPoint TopRightPosition(QSize size, const QRect &screen, int margin);
// The screen the windows are placed on (the primary one).
QRect PlacementScreen();
