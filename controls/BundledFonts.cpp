// Registers the bundled fonts and maps the layouts' family names onto them.
#include "BundledFonts.h"

#include <QDir>
#include <QFont>
#include <QFontDatabase>

QStringList RegisterBundledFonts()
{
    static QStringList registered;
    static bool done = false;
    if (done)
        return registered;
    done = true;

    const QDir fonts(QStringLiteral(":/fonts"));
    for (const QString &file : fonts.entryList({QStringLiteral("*.ttf")}, QDir::Files, QDir::Name)) {
        const int id = QFontDatabase::addApplicationFont(fonts.filePath(file));
        if (id < 0)
            continue;
        for (const QString &family : QFontDatabase::applicationFontFamilies(id)) {
            if (!registered.contains(family))
                registered << family;
        }
    }

    QFont::insertSubstitution(QStringLiteral("Garamond"), QStringLiteral("EB Garamond"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    return registered;
}
