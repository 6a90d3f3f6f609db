// Loads the game's pictures, taking the twice-as-large "@2x" twin on high-density screens.
#pragma once

#include <QPixmap>

// The windows' layouts name every picture by its resource path; uic routes each
// of them through this function. On a screen whose device pixel ratio is above 1
// the "name@2x.png" twin is loaded when it exists; it carries a pixel ratio of 2,
// so its device-independent size, which sizes the windows and buttons, is the
// same as the plain picture's. A missing picture gives a null pixmap.
QPixmap LoadPicture(const char *resourcePath);
QPixmap LoadPicture(const QString &resourcePath, qreal devicePixelRatio);
