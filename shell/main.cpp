// Entry point of the sudoku game: the application, its six windows and the message loop.
#include "BundledFonts.h"
#include "HandlerErrors.h"
#include "ProgramWindows.h"
#include "RunningGame.h"
#include "TForm1.h"

#include <QTimer>
#include <QWindow>

#include <functional>

namespace {

// Runs `then` once, right after `window` has first been painted on the screen.
class AfterFirstPaint : public QObject
{
public:
    AfterFirstPaint(QWidget *window, std::function<void()> then)
        : QObject(window), m_then(std::move(then))
    {
        window->winId();
        window->windowHandle()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The expose is handled (and the window painted) after this returns;
        // the zero timer fires after that.
        if (event->type() == QEvent::Expose && static_cast<QWindow *>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                m_then();
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void()> m_then;
};

} // namespace

int main(int argc, char *argv[])
{
    // Before anything else: the installer must not replace a game that has started.
    const RunningGameMark runningGame;
    SudokuApplication app(argc, argv);
    RegisterStartUpFonts();
    QApplication::setApplicationDisplayName(QStringLiteral("Sudoku"));
    // The menu decides when the program ends, not the last visible window.
    QApplication::setQuitOnLastWindowClosed(false);

    CreateProgramWindows();
    QObject::connect(Form1, &TForm1::FormClosed, &app, &QApplication::quit);
    // The fonts only the other windows paint with are registered while the
    // player looks at the menu, before any of those windows can show.
    new AfterFirstPaint(Form1, [] { RegisterBundledFonts(); });
    Form1->show();
    // The player's keys go to the game from its start.
    Form1->activateWindow();
    const int result = app.exec();
    DestroyProgramWindows();
    return result;
}
