// What each window's first show costs over its later shows, on a real X server.
//
// Starts like the game (fonts, title, the six windows), shows the menu, then
// shows and hides every window three times. A show lasts from show() until the
// window has handled its first expose, which paints the whole window and puts
// it on the screen. Prints one line per window: the first show and the median
// of the later ones, in milliseconds of wall time and of this thread's
// processor time. Last, it deals three diagrams in the game window and prints
// the time each reveal takes beyond its 40 ms pauses, per given.
#include "BundledFonts.h"
#include "TFSudoku.h"
#include "TF_Wyniki.h"
#include "HandlerErrors.h"
#include "ProgramWindows.h"
#include "TFPodglad.h"
#include "TFPrzyklad.h"
#include "TFRady.h"
#include "TForm1.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QWindow>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double threadCpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Handles the window's expose itself, so that the time taken includes the
// paint and the flush to the screen that the expose runs.
class ExposeWatch : public QObject
{
public:
    bool exposed = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Expose || exposed)
            return false;
        auto *window = static_cast<QWindow *>(watched);
        window->removeEventFilter(this);
        static_cast<QObject *>(window)->event(event);
        exposed = window->isExposed();
        return true;
    }
};

struct Show {
    double wall = 0;
    double cpu = 0;
};

Show showOnce(QWidget *window)
{
    window->winId();   // the layouts create the platform window already; this only makes sure
    ExposeWatch watch;
    window->windowHandle()->installEventFilter(&watch);
    const double cpuBefore = threadCpuMilliseconds();
    QElapsedTimer clock;
    clock.start();
    window->show();
    while (!watch.exposed && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const Show shown{clock.nsecsElapsed() / 1e6, threadCpuMilliseconds() - cpuBefore};
    window->windowHandle()->removeEventFilter(&watch);
    return shown;
}

void hide(QWidget *window)
{
    window->hide();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 50)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    SudokuApplication app(argc, argv);
    RegisterBundledFonts();
    QApplication::setApplicationDisplayName(QStringLiteral("Sudoku"));
    QApplication::setQuitOnLastWindowClosed(false);
    CreateProgramWindows();

    struct Measured {
        const char *name;
        QWidget *window;
        std::vector<Show> shows;
    };
    std::vector<Measured> windows{{"Form1", Form1, {}},       {"FPodglad", FPodglad, {}},   {"FRady", FRady, {}},
                                  {"FPrzyklad", FPrzyklad, {}}, {"FSudoku", FSudoku, {}}, {"F_Wyniki", F_Wyniki, {}}};
    // The menu first, as at start-up; it stays up behind the others, as in the game.
    windows[0].shows.push_back(showOnce(Form1));
    for (std::size_t i = 1; i < windows.size(); ++i) {
        windows[i].shows.push_back(showOnce(windows[i].window));
        hide(windows[i].window);
    }
    for (int round = 0; round < 3; ++round)
        for (Measured &measured : windows) {
            hide(measured.window);
            measured.shows.push_back(showOnce(measured.window));
        }
    for (Measured &measured : windows) {
        std::vector<double> laterWall, laterCpu;
        for (std::size_t i = 1; i < measured.shows.size(); ++i) {
            laterWall.push_back(measured.shows[i].wall);
            laterCpu.push_back(measured.shows[i].cpu);
        }
        std::printf("%s %.2f %.2f %.2f %.2f\n", measured.name, measured.shows[0].wall, median(laterWall),
                    measured.shows[0].cpu, median(laterCpu));
    }

    // The reveal: 40 ms per given, plus the repaints.
    FSudoku->show();
    std::vector<double> overheads;
    for (int deal = 0; deal < 3; ++deal) {
        QElapsedTimer clock;
        clock.start();
        FSudoku->ImageButton1Click();
        const double milliseconds = clock.nsecsElapsed() / 1e6;
        int givens = 0;
        for (int row = 1; row <= 9; ++row)
            for (int column = 1; column <= 9; ++column)
                if (!FSudoku->findChild<QLabel *>(QStringLiteral("L%1%2").arg(row).arg(column))->text().trimmed().isEmpty())
                    ++givens;
        overheads.push_back((milliseconds - 40.0 * givens) / std::max(givens, 1));
        QCoreApplication::processEvents();
    }
    std::printf("reveal %.2f\n", median(overheads));
    DestroyProgramWindows();
    return 0;
}
