// The asset painter: draws every window, panel and button picture of the game (and its @2x twins).
#include "Catalogue.h"
#include "ContactSheets.h"
#include "AppIcon.h"
#include "InstallerArt.h"
#include "Studio.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>

namespace {

bool registerFonts(const QString &folder)
{
    const QStringList files = QDir(folder).entryList({"*.ttf"}, QDir::Files, QDir::Name);
    for (const QString &file : files) {
        if (QFontDatabase::addApplicationFont(folder + "/" + file) < 0) {
            std::fprintf(stderr, "painter: cannot load font %s\n", qPrintable(file));
            return false;
        }
    }
    return !files.isEmpty();
}

bool writePng(const QImage &image, const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImageWriter writer(path, "png");
    // Fixed settings, so the same drawing always gives the same bytes; Qt's PNG writer takes
    // compression as 0-100, and 100 is zlib's strongest level.
    writer.setCompression(100);
    if (!writer.write(image)) {
        std::fprintf(stderr, "painter: cannot write %s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    // Pictures are drawn off screen; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Paints the game's pictures.");
    parser.addHelpOption();
    const QCommandLineOption icons("icons", "Folder of the icon SVGs.", "folder");
    const QCommandLineOption fonts("fonts", "Folder of the bundled fonts.", "folder");
    const QCommandLineOption pictures("pictures", "Output folder of the pictures (assets/pictures).", "folder");
    const QCommandLineOption appIcon("app-icon", "Output folder of the application icon (assets/icons).", "folder");
    const QCommandLineOption installer("installer", "Output folder of the Windows installer's pictures (assets/installer).",
                                       "folder");
    const QCommandLineOption sheets("sheets", "Output folder of the contact sheets.", "folder");
    parser.addOptions({icons, fonts, pictures, appIcon, installer, sheets});
    parser.process(app);
    if (!parser.isSet(icons) || !parser.isSet(fonts) || !parser.isSet(pictures)) {
        std::fprintf(stderr, "painter: --icons, --fonts and --pictures are required\n");
        return 2;
    }
    if (!registerFonts(parser.value(fonts))) {
        std::fprintf(stderr, "painter: no fonts in %s\n", qPrintable(parser.value(fonts)));
        return 1;
    }

    try {
        const painter::Studio studio(parser.value(icons));
        const painter::Catalogue catalogue(studio);
        const QString out = parser.value(pictures);
        for (const painter::PictureJob &job : catalogue.jobs()) {
            if (!writePng(catalogue.render(job.path, 1), out + "/" + job.path + ".png")
                || !writePng(catalogue.render(job.path, 2), out + "/" + job.path + "@2x.png"))
                return 1;
        }
        if (parser.isSet(appIcon)) {
            const QString folder = parser.value(appIcon);
            QDir().mkpath(folder);
            if (!painter::writeAppIcon(folder))
                return 1;
        }
        if (parser.isSet(installer) && !painter::writeInstallerArt(studio, parser.value(installer)))
            return 1;
        if (parser.isSet(sheets)) {
            const painter::ContactSheets contact(studio, catalogue);
            for (const auto &[name, image] : contact.sheets()) {
                if (!writePng(image, parser.value(sheets) + "/" + name + ".png"))
                    return 1;
            }
        }
    } catch (const std::exception &error) {
        std::fprintf(stderr, "painter: %s\n", error.what());
        return 1;
    }
    return 0;
}
