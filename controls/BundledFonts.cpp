// Registers the bundled fonts and maps the layouts' family names onto them.
#include "BundledFonts.h"

#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QResource>

namespace {

const QString FontFolder = QStringLiteral(":/fonts");

QStringList &registeredFamilies()
{
    static QStringList families;
    return families;
}

// Registers the named files of the font folder that are not registered yet.
void registerFonts(const QStringList &files)
{
    static QStringList done;
    const QDir fonts(FontFolder);
    for (const QString &file : files) {
        if (done.contains(file))
            continue;
        done << file;
        // A font stored uncompressed is handed over where it lies in the program.
        const QResource resource(fonts.filePath(file));
        const int id = resource.isValid() && resource.compressionAlgorithm() == QResource::NoCompression
                           ? QFontDatabase::addApplicationFontFromData(QByteArray::fromRawData(
                                 reinterpret_cast<const char *>(resource.data()), qsizetype(resource.size())))
                           : QFontDatabase::addApplicationFont(fonts.filePath(file));
        if (id < 0)
            continue;
        for (const QString &family : QFontDatabase::applicationFontFamilies(id)) {
            if (!registeredFamilies().contains(family))
                registeredFamilies() << family;
        }
    }
}

void mapLayoutFamilies()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    QFont::insertSubstitution(QStringLiteral("Garamond"), QStringLiteral("EB Garamond"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
}

} // namespace

QStringList RegisterStartUpFonts()
{
    registerFonts({QStringLiteral("LiberationSans-Regular.ttf"), QStringLiteral("LiberationSans-Bold.ttf"),
                   QStringLiteral("LiberationSerif-Bold.ttf"), QStringLiteral("EBGaramond-Bold.ttf")});
    mapLayoutFamilies();
    return registeredFamilies();
}

QStringList RegisterBundledFonts()
{
    RegisterStartUpFonts();
    registerFonts(QDir(FontFolder).entryList({QStringLiteral("*.ttf")}, QDir::Files, QDir::Name));
    return registeredFamilies();
}
