// Registers the bundled fonts and makes the layouts' family names mean them.
#include "BundledFonts.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFontDatabase>
#include <QResource>
#include <QWidget>

#include <array>
#include <utility>

namespace {

const QString FontFolder = QStringLiteral(":/fonts");

// The layouts' families and the bundled fonts that stand in for them.
const std::array<std::pair<QString, QString>, 4> &layoutFamilies()
{
    static const std::array<std::pair<QString, QString>, 4> families = {{
        {QStringLiteral("Garamond"), QStringLiteral("EB Garamond")},
        {QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")},
        {QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")},
    }};
    return families;
}

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

// Gives a widget whose own font names a layout's family the bundled family
// instead (when that is registered); a child that takes its parent's font
// follows the parent. Returns whether the widget's font changed.
bool giveBundledFamily(QWidget *widget)
{
    if (!widget->testAttribute(Qt::WA_SetFont))
        return false;
    const QFont bundled = WithBundledFamily(widget->font());
    if (bundled.family() == widget->font().family())
        return false;
    widget->setFont(bundled);
    return true;
}

// Switches every font a widget is given, as it is set: the widget (and every
// child taking its font) then asks the font database for the bundled font by
// its own name.
class BundledFamilyFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::FontChange || !watched->isWidgetType())
            return false;
        // Setting the bundled font announces the change to the widget itself;
        // this first word of it is spent.
        return giveBundledFamily(static_cast<QWidget *>(watched));
    }
};

void mapLayoutFamilies()
{
    static bool done = false;
    if (done || !QCoreApplication::instance())
        return;
    done = true;
    for (const auto &[layout, bundled] : layoutFamilies())
        QFont::insertSubstitution(layout, bundled);
    QCoreApplication::instance()->installEventFilter(new BundledFamilyFilter(QCoreApplication::instance()));
}

} // namespace

QString BundledFamily(const QString &family)
{
    for (const auto &[layout, bundled] : layoutFamilies())
        if (family.compare(layout, Qt::CaseInsensitive) == 0)
            return bundled;
    return family;
}

QFont WithBundledFamily(QFont font)
{
    // A family registered only once the menu shows (Liberation Mono) is taken
    // from then on; until then the layout's name and its substitute stand.
    const QString family = BundledFamily(font.family());
    if (family != font.family() && registeredFamilies().contains(family))
        font.setFamily(family);
    return font;
}

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
    const qsizetype before = registeredFamilies().size();
    registerFonts(QDir(FontFolder).entryList({QStringLiteral("*.ttf")}, QDir::Files, QDir::Name));
    // The widgets made meanwhile with a layout family of the fonts just
    // registered (the game clock's Courier New) now take the bundled one.
    if (registeredFamilies().size() != before && qobject_cast<QApplication *>(QCoreApplication::instance())) {
        for (QWidget *widget : QApplication::allWidgets())
            giveBundledFamily(widget);
    }
    return registeredFamilies();
}
