// Focus cues that show only once the player uses the keyboard in a window, as on Windows.
#include "KeyboardCues.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

constexpr const char *CuesProperty = "keyboardCuesShown";

bool isNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_Escape:
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

// Watches the whole application: keys and pointer use switch each window's cues.
class CueWatcher : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        switch (event->type()) {
        case QEvent::KeyPress:
            // The key reaches the focused widget first; its window is the one the player works in.
            if (isNavigationKey(static_cast<QKeyEvent *>(event)->key()))
                ShowKeyboardCues(widget, true);
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            // A locked window takes no pointer, and keeps its cues.
            if (widget->isEnabled())
                ShowKeyboardCues(widget, false);
            break;
        default:
            break;
        }
        return false;
    }
};

}  // namespace

void InstallKeyboardCues()
{
    static CueWatcher *watcher = nullptr;
    if (!watcher && qApp) {
        watcher = new CueWatcher;
        watcher->setParent(qApp);
        qApp->installEventFilter(watcher);
    }
}

bool KeyboardCuesShown(const QWidget *widget)
{
    return widget && widget->window()->property(CuesProperty).toBool();
}

void ShowKeyboardCues(QWidget *widget, bool shown)
{
    QWidget *window = widget->window();
    if (window->property(CuesProperty).toBool() == shown)
        return;
    window->setProperty(CuesProperty, shown);
    QEvent change(KeyboardCuesChange);
    QCoreApplication::sendEvent(window, &change);
    for (QWidget *child : window->findChildren<QWidget *>())
        QCoreApplication::sendEvent(child, &change);
}
