// Loads the game's pictures at the screen's density: the "@2x" twin on dense screens, smoothly resized between.
#include "Pictures.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>

namespace {

// "…/name.png" becomes "…/name@2x.png".
QString TwinPath(const QString &path)
{
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot <= path.lastIndexOf(QLatin1Char('/')))
        return path + QStringLiteral("@2x");
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

// A PNG file's size from its header (the signature, then the IHDR chunk with the
// width and height, big-endian), without decoding it; any other file is asked
// of the image reader.
QSize PictureFileSize(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.read(24);
    static const char signature[] = "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR";
    if (head.size() == 24 && std::equal(signature, signature + 16, head.constData())) {
        const auto *bytes = reinterpret_cast<const uchar *>(head.constData());
        return QSize(int(qFromBigEndian<quint32>(bytes + 16)), int(qFromBigEndian<quint32>(bytes + 20)));
    }
    file.close();
    return QImageReader(path).size();
}

// The twin (twice the plain picture's pixels) resized with area averaging to
// exactly the pixels the picture covers at `ratio`: round(size · ratio).
QPixmap TwinAtRatio(QImage twin, qreal ratio)
{
    const QSize plain = (QSizeF(twin.size()) / 2.0).toSize();
    const QSize pixels = (QSizeF(plain) * ratio).toSize();
    QImage resized = twin.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    resized.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(resized);
}

QStringList &decodedPictures()
{
    static QStringList decoded;
    return decoded;
}

} // namespace

QPixmap LoadPicture(const QString &resourcePath, qreal devicePixelRatio)
{
    if (devicePixelRatio > 1.0) {
        const QString twin = TwinPath(resourcePath);
        if (QFileInfo::exists(twin)) {
            QImage image = QImageReader(twin).read();
            if (!image.isNull()) {
                if (!qFuzzyCompare(devicePixelRatio, 2.0))
                    return TwinAtRatio(image, devicePixelRatio);
                image.setDevicePixelRatio(2.0);
                return QPixmap::fromImage(image);
            }
        }
    }
    return QPixmap(resourcePath);
}

QPixmap LoadPicture(const char *resourcePath)
{
    return LoadPicture(QString::fromUtf8(resourcePath), PictureRatio());
}

qreal PictureRatio()
{
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

void DrawPicture(QPainter &painter, const QPixmap &picture)
{
    if (picture.isNull())
        return;
    const qreal deviceRatio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const bool pixelForPixel = qFuzzyCompare(picture.devicePixelRatio(), deviceRatio);
    const bool wasSmooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    if (!pixelForPixel)
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QPoint(0, 0), picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, wasSmooth);
}

StoredPicture StoredPicture::named(const QString &resourcePath)
{
    StoredPicture picture;
    picture.m_resourcePath = resourcePath;
    picture.m_size = PictureFileSize(resourcePath);
    // A picture that is not there has nothing to decode.
    picture.m_decoded = picture.m_size.isEmpty();
    return picture;
}

const QPixmap &StoredPicture::pixmap(qreal devicePixelRatio) const
{
    const bool named = !m_resourcePath.isEmpty() && !m_size.isEmpty();
    if (named && (!m_decoded || !qFuzzyCompare(m_ratio, devicePixelRatio))) {
        m_decoded = true;
        m_ratio = devicePixelRatio;
        m_pixmap = LoadPicture(m_resourcePath, devicePixelRatio);
        if (!decodedPictures().contains(m_resourcePath))
            decodedPictures() << m_resourcePath;
    }
    return m_pixmap;
}

QStringList DecodedPictures()
{
    return decodedPictures();
}
