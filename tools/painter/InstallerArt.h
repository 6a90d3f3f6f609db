// The Windows installer's own pictures: the side picture of its welcome and finish
// pages and the header of its other pages, written as the BMP files NSIS takes.
#pragma once

#include <QImage>
#include <QString>

namespace painter {

class Studio;

// The welcome and finish pages' picture, 164 x 314 pixels.
QImage installerSideImage(const Studio &studio);
// The header of the other pages, 150 x 57 pixels: the game's icon and its name.
QImage installerHeaderImage(const Studio &studio);
// Writes wizard.bmp and header.bmp (24-bit, no alpha) into the folder.
bool writeInstallerArt(const Studio &studio, const QString &folder);

} // namespace painter
