// The X server as the player sees it: its windows, its pixels, and the mouse and keys of xdotool.
#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

// Every call reaches the X server in $DISPLAY from outside the game: xdotool
// for input and for finding windows, a grab of the root window for pixels.
class Desktop
{
public:
    // Runs a program to its end; its standard output, or nothing when it failed
    // (the reason goes to the test log).
    static std::optional<QString> run(const QString& program, const QStringList& arguments, int timeoutMs = 30000);

    // Paints the root window in one colour, so the desktop is recognisable
    // wherever it shows through a window.
    static bool paintRoot(const QColor& colour);

    // The visible top-level windows of a process, by their place on the screen.
    struct Window {
        QString id;
        QRect rect;
    };
    static QList<Window> visibleWindows(qint64 pid);
    static std::optional<Window> visibleWindowOfSize(qint64 pid, const QSize& size);
    // A window whose title begins with the given text.
    static std::optional<Window> visibleWindowNamed(qint64 pid, const QString& title);

    static QImage grab();
    // A screenshot of the whole screen taken by ImageMagick, as a player would.
    static bool saveScreenshot(const QString& path);

    // Input at a screen position: the pointer moves there first, as a hand would.
    static bool moveTo(QPoint at);
    static bool click(QPoint at, int button = 1);
    static bool hoverAndKey(QPoint at, const QString& key);
    static bool typeText(const QString& text);
    // Gives every letter of the text that the keyboard lacks a key of its own,
    // with its capital on Shift, so that typing needs no remapping.
    static bool giveKeysTo(const QString& text);
    static bool key(const QString& key);
    static bool focus(const QString& windowId);
};
