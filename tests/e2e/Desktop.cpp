// The X server as the player sees it: its windows, its pixels, and the mouse and keys of xdotool.
#include "Desktop.h"

#include <QColor>
#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QtDebug>

std::optional<QString> Desktop::run(const QString& program, const QStringList& arguments, int timeoutMs)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        qWarning().noquote() << program << arguments.join(' ') << "did not finish:" << process.errorString();
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning().noquote() << program << arguments.join(' ') << "failed with" << process.exitCode() << ":"
                             << QString::fromLocal8Bit(process.readAllStandardError());
        return std::nullopt;
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

bool Desktop::paintRoot(const QColor& colour)
{
    return run(QStringLiteral("xsetroot"), {QStringLiteral("-solid"), colour.name()}).has_value();
}

QList<Desktop::Window> Desktop::visibleWindows(qint64 pid)
{
    QList<Window> windows;
    // xdotool search exits with 1 when nothing matches: that is an empty list.
    QProcess search;
    search.start(QStringLiteral("xdotool"),
                 {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                  QString::number(pid)});
    search.waitForFinished(10000);
    const QStringList ids = QString::fromLocal8Bit(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    for (const QString& id : ids) {
        const auto shell = run(QStringLiteral("xdotool"),
                               {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id});
        if (!shell)
            continue;
        int x = 0, y = 0, width = 0, height = 0;
        for (const QString& line : shell->split('\n', Qt::SkipEmptyParts)) {
            const QString name = line.section('=', 0, 0);
            const int value = line.section('=', 1).toInt();
            if (name == QLatin1String("X"))
                x = value;
            else if (name == QLatin1String("Y"))
                y = value;
            else if (name == QLatin1String("WIDTH"))
                width = value;
            else if (name == QLatin1String("HEIGHT"))
                height = value;
        }
        windows.append({id.trimmed(), QRect(x, y, width, height)});
    }
    return windows;
}

std::optional<Desktop::Window> Desktop::visibleWindowOfSize(qint64 pid, const QSize& size)
{
    for (const Window& window : visibleWindows(pid))
        if (window.rect.size() == size)
            return window;
    return std::nullopt;
}

std::optional<Desktop::Window> Desktop::visibleWindowNamed(qint64 pid, const QString& title)
{
    for (const Window& window : visibleWindows(pid)) {
        const auto name = run(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), window.id});
        // The X title may carry the application's name after the window's own.
        if (name && name->trimmed().startsWith(title))
            return window;
    }
    return std::nullopt;
}

QImage Desktop::grab()
{
    // Window 0 is the root: the screen with every client's window on it.
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32) : QImage();
}

bool Desktop::saveScreenshot(const QString& path)
{
    return run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path}).has_value();
}

bool Desktop::moveTo(QPoint at)
{
    return run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("--sync"),
                                           QString::number(at.x()), QString::number(at.y())})
        .has_value();
}

bool Desktop::click(QPoint at, int button)
{
    return run(QStringLiteral("xdotool"),
               {QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(at.x()),
                QString::number(at.y()), QStringLiteral("click"), QString::number(button)})
        .has_value();
}

bool Desktop::hoverAndKey(QPoint at, const QString& key)
{
    return run(QStringLiteral("xdotool"),
               {QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(at.x()),
                QString::number(at.y()), QStringLiteral("key"), key})
        .has_value();
}

bool Desktop::typeText(const QString& text)
{
    // xdotool types a letter that has no key of its own (Ł, ó …) by remapping a
    // spare key for a moment; a program slowed down (a loaded machine, the
    // sanitizers) may read the key after the next remapping, so go slowly.
    return run(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("150"), text})
        .has_value();
}

bool Desktop::giveKeysTo(const QString& text)
{
    const auto keymap = run(QStringLiteral("xmodmap"), {QStringLiteral("-pke")});
    if (!keymap)
        return false;
    // Keys with nothing on them: "keycode  93 =".
    QList<int> spare;
    for (const QString& line : keymap->split('\n', Qt::SkipEmptyParts))
        if (line.section('=', 1).trimmed().isEmpty())
            spare.append(line.section('=', 0, 0).section(' ', 1, -1, QString::SectionSkipEmpty).toInt());
    QString given;
    for (const QChar letter : text) {
        const QChar small = letter.toLower();
        if (small.unicode() < 0x80 || given.contains(small))
            continue;
        if (spare.isEmpty())
            return false;
        const QString keysyms = QStringLiteral("U%1 U%2")
                                    .arg(small.unicode(), 4, 16, QLatin1Char('0'))
                                    .arg(small.toUpper().unicode(), 4, 16, QLatin1Char('0'))
                                    .toUpper();
        if (!run(QStringLiteral("xmodmap"),
                 {QStringLiteral("-e"), QStringLiteral("keycode %1 = %2").arg(spare.takeFirst()).arg(keysyms)}))
            return false;
        given += small;
    }
    return true;
}

bool Desktop::key(const QString& key)
{
    return run(QStringLiteral("xdotool"), {QStringLiteral("key"), key}).has_value();
}

bool Desktop::focus(const QString& windowId)
{
    return run(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), windowId})
        .has_value();
}
