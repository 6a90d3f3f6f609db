// Loads the game's pictures, taking the twice-as-large "@2x" twin on high-density screens.
#include "Pictures.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
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

StoredPicture StoredPicture::named(const QString &resourcePath)
{
    StoredPicture picture;
    picture.m_resourcePath = resourcePath;
    picture.m_size = PictureFileSize(resourcePath);
    // A picture that is not there has nothing to decode.
    picture.m_decoded = picture.m_size.isEmpty();
    return picture;
}

const QPixmap &StoredPicture::pixmap() const
{
    if (!m_decoded) {
        m_decoded = true;
        m_pixmap = LoadPicture(m_resourcePath, qApp ? qApp->devicePixelRatio() : 1.0);
        if (!decodedPictures().contains(m_resourcePath))
            decodedPictures() << m_resourcePath;
    }
    return m_pixmap;
}

QStringList DecodedPictures()
{
    return decodedPictures();
}
