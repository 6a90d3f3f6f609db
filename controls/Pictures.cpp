// Loads the game's pictures, taking the twice-as-large "@2x" twin on high-density screens.
#include "Pictures.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>

namespace {

// "…/name.png" becomes "…/name@2x.png".
QString TwinPath(const QString &path)
{
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot <= path.lastIndexOf(QLatin1Char('/')))
        return path + QStringLiteral("@2x");
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

} // namespace

QPixmap LoadPicture(const QString &resourcePath, qreal devicePixelRatio)
{
    if (devicePixelRatio > 1.0) {
        const QString twin = TwinPath(resourcePath);
        if (QFileInfo::exists(twin)) {
            QImage image = QImageReader(twin).read();
            if (!image.isNull()) {
                image.setDevicePixelRatio(2.0);
                return QPixmap::fromImage(image);
            }
        }
    }
    return QPixmap(resourcePath);
}

QPixmap LoadPicture(const char *resourcePath)
{
    return LoadPicture(QString::fromUtf8(resourcePath), qApp ? qApp->devicePixelRatio() : 1.0);
}
