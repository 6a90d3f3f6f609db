// A whole game played on a real X server: the installed program, driven only by xdotool and read off the screen.
//
// The test installs the game into a scratch prefix, starts it with a hive of
// its own and plays it as a player would: a balloon hint, a drag, the guide
// windows, a new game, a diagram read from the screen and solved, a premature
// verification, the right one, a name in the prompt, the best results, and
// the way out. Positions come
// from the windows' layouts; every window is found on the screen by its size.
//
// With --wine PROGRAM.exe it plays the Windows game the same way under Wine:
// installed into a Wine prefix of its own (WINEPREFIX), its best results read
// back from the prefix's registry with reg.exe, and the pictures of its windows
// saved where --pictures says. With --dpi 120 or 144 as well, Wine's screen is
// set to 125 or 150 % (its LogPixels) and every place of a layout is looked
// for that much further out.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <array>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

#include "ArrowPaths.h"
#include "BundledFonts.h"
#include "Desktop.h"
#include "PuzzleCatalogue.h"
#include "ScreenReading.h"
#include "Solver.h"
#include "TimeText.h"

namespace {

// The desktop behind the windows: a colour none of the game's pictures uses.
const QColor DesktopColour(0x34, 0x49, 0x5e);
const QString PlayerName = QStringLiteral("Łucja Żółć");
const QString PromptTitle = QStringLiteral("GRATULACJE, pobiłeś rekord i ...");
constexpr int Patience = 20000;

// --- Layouts: sizes of the windows and centres of the controls, in window pixels.

const QSize MenuSize(607, 479);
const QPoint MenuHowToPlay(52, 56), MenuNewGame(53, 171), MenuExit(52, 421);
// The new-game, how-to-play and exit panels lie at 136, 208.
const QPoint PanelPreview(230, 427), PanelTips(474, 426), PanelExample(238, 393), PanelStart(455, 394);
const QPoint PanelExitYes(243, 392);
// Right of the introduction, above the panels: nothing but the window's background.
const QPoint MenuBackground(570, 150);
// Between the menu's two panes the desktop shows through.
constexpr int MenuGapLeft = 107, MenuGapRight = 116;

const QSize PreviewSize(359, 373), TipsSize(231, 292), ExampleSize(440, 500);
const QPoint PreviewOk(290, 335), TipsOk(168, 253), ExampleOk(355, 457);

const QSize GameSize(587, 365);
const QPoint GameResults(481, 134), GameNew(481, 182), GameVerify(481, 278), GameClose(481, 326);
const QRect GameVerifyButton(416, 256, 130, 44), GameResultsButton(416, 112, 130, 44);
// The message panels cover 95, 92 to 475, 274; this part holds no clock and no button.
const QRect GamePanelArea(95, 110, 300, 164);
const QPoint MessageOk(410, 230), EndNo(395, 222);
// Above the words Czas gry: nothing but the window's background.
const QPoint GameBackground(480, 30);
constexpr std::array<int, 9> CellTops = {58, 91, 123, 155, 187, 219, 251, 284, 316};
constexpr std::array<int, 9> CellHeights = {32, 31, 31, 31, 31, 31, 32, 31, 31};
QRect cellRect(int row, int column)
{
    return QRect(25 + 42 * (column - 1), CellTops[row - 1], 41, CellHeights[row - 1]);
}

// The column buttons of the menu, and the new-game panel's two buttons.
const QRect MenuNewGameButton(8, 120, 91, 103), MenuExitButton(8, 376, 89, 91);
const QRect PanelStartButton(368, 356, 175, 76);

const QSize ResultsSize(290, 338);
const QPoint ResultsOk(235, 309), ResultsClear(88, 310);
constexpr std::array<int, 10> PlaceTops = {70, 91, 112, 134, 154, 177, 199, 220, 242, 263};
constexpr int NameLeft = 46, TimeLeft = 217;

using Grid = std::array<std::array<int, 9>, 9>;

// In the middle of the 1280 x 1024 screen, give or take the pixel an odd size
// leaves (and, after a drag there and back on a scaled screen, the pixel each
// move may round off).
bool centred(const QRect& rect, int slack = 1)
{
    const QPoint off = rect.center() - QRect(0, 0, 1280, 1024).center();
    return std::abs(off.x()) <= slack && std::abs(off.y()) <= slack;
}

}  // namespace

// Set from the command line before the test starts (see main).
struct Options {
    QString wineProgram;  // sudoku.exe to play under Wine; empty: the Linux game
    QString pictures;     // where the pictures of the windows go
    bool keyboard = false; // the whole game from the keyboard alone
    QString screenReader;  // what screen_reader.py heard, when it listens (see with_screen_reader.sh)
    int dpi = 96;         // Wine's dots per inch: 120 for 125 %, 144 for 150 %
};
Options options;

// What both games share: the program started as a player gets it, its windows
// found on the screen, the diagram read off it, the hive read back.
class E2eSession : public QObject
{
    Q_OBJECT

protected:
    // Every step needs the one before it.
    bool beginStep();
    void endStep() { m_broken = false; }

    // Installs and starts the game (Linux or, with --wine, Windows); the
    // pictures go to SUDOKU_E2E_SCREENS with `suffix`.
    void startGame(const QString& suffix);
    // The screen as a failing step left it.
    void keepFailure();
    void stopGame();

    // The screen's pixels per layout pixel.
    qreal scale() const { return options.dpi / 96.0; }
    // The middle of what a layout pixel covers on the screen, and what a layout rectangle covers.
    QPoint at(const Desktop::Window& window, QPoint inWindow) const
    {
        return window.rect.topLeft() +
               QPoint(int(std::floor((inWindow.x() + 0.5) * scale())), int(std::floor((inWindow.y() + 0.5) * scale())));
    }
    QRect at(const Desktop::Window& window, QRect inWindow) const
    {
        const QPoint topLeft(qRound(inWindow.left() * scale()), qRound(inWindow.top() * scale()));
        const QPoint end(qRound((inWindow.right() + 1) * scale()), qRound((inWindow.bottom() + 1) * scale()));
        return QRect(topLeft, end - QPoint(1, 1)).translated(window.rect.topLeft());
    }
    // A window's size on the screen, as the program rounds it.
    QSize onScreen(const QSize& size) const { return size * scale(); }
    // These fail the running step; callers go on only through CHECKED.
    void waitForWindow(const QSize& size, std::optional<Desktop::Window>& found);
    void waitUntilGone(const QSize& size);
    bool painted(const Desktop::Window& window);
    void screenshot(const QString& name, const std::optional<Desktop::Window>& window = std::nullopt);
    bool desktopAt(const QImage& screen, QPoint point) const { return QColor(screen.pixel(point)) == DesktopColour; }
    // Outside the rounded corners shows whatever lies behind the window:
    // the desktop, or the window it was opened from.
    void checkCorners(const QImage& screen, const QImage& behind, const Desktop::Window& window, const char* what);
    Ink cellInk(const QImage& screen, int row, int column) const;
    Grid readBoard(const QImage& screen, double* weakest = nullptr) const;
    // The nine glyphs from the cells that got 1 to 9; then the givens read by
    // them, checked against the catalogue and solved.
    void learnGlyphs();
    void readTheDiagram();
    // The name and the stored time at place 1 of the results window, read by the window's font.
    void checkResultsShowTheName(const Desktop::Window& results);
    void checkHiveHoldsTheEntry();
    void parkPointer() { Desktop::moveTo(QPoint(4, 4)); }
    QString hiveText() const;
    bool underWine() const { return !options.wineProgram.isEmpty(); }
    void installUnderWine();
    std::optional<QString> wine(const QStringList& arguments, int timeoutMs = 60000) const;

    QTemporaryDir m_scratch;
    QString m_program;
    QString m_recordedPath;  // the program's path as its installation record holds it
    QString m_screens;
    QString m_pictures;
    QProcess m_game;
    QElapsedTimer m_clock;
    int m_shot = 0;
    bool m_broken = false;

    std::optional<Desktop::Window> m_menu;
    std::optional<Desktop::Window> m_board;
    QImage m_verifyDisabled;
    std::array<Ink, 9> m_glyphs;
    Grid m_givens{};
    Grid m_solution{};
    std::array<QPoint, 9> m_glyphCells{};
    QPoint m_aGiven;
};

// The game played with the mouse, and the keys that write into hovered cells.
class E2eGame : public E2eSession
{
    Q_OBJECT

private slots:
    void initTestCase() { startGame(QString()); }
    void menuShowsTheDesktopThroughItsGapAndCorners();
    void balloonHintAppearsOverAMenuButton();
    void menuFollowsADragOfItsBackground();
    void guideWindowsOpenAndCloseFromTheMenu();
    void newGameOpensTheWelcomeBoard();
    void newDiagramIsDealt();
    void digitsTypedIntoCellsAppear();
    void dealtDiagramIsReadFromTheScreen();
    void incompleteDiagramIsRefused();
    void solvedDiagramAsksForTheName();
    void resultsWindowShowsTheName();
    void everythingCloses();
    void hiveHoldsTheNewEntry();
    void cleanup() { keepFailure(); }
    void cleanupTestCase() { stopGame(); }

private:
    // Fails the running step unless the digit shows in the cell in time.
    void typeDigit(int row, int column, int digit);
};

// The same game from the keyboard alone: once the game has started the
// pointer never moves. Tab, Enter and Escape open and close everything, the
// arrows move the mark and the digits fill the cells.
class E2eKeyboardGame : public E2eSession
{
    Q_OBJECT

private slots:
    void initTestCase();
    void menuTakesTheKeyboard();
    void gameOpensFromTheKeyboard();
    void diagramIsDealtAndFilledWithArrowsAndDigits();
    void incompleteDiagramIsRefusedAndTheMarkStays();
    void solvedDiagramTakesTheNameFromTheKeyboard();
    void resultsAreReadAndClosedFromTheKeyboard();
    void menuIsLeftFromTheKeyboard();
    void hiveHoldsTheNewEntry();
    void cleanup() { keepFailure(); }
    void cleanupTestCase() { stopGame(); }

private:
    // Presses keys in turn (xdotool's names: Tab, shift+Tab, Return, Escape, Left, 5 …).
    void press(const QStringList& keys);
    // Arrows the mark to the cell, then types the digit and waits until it
    // shows; a screen reader hears it unless the cell held that digit already.
    void writeDigit(int row, int column, int digit, bool news = true);
    // Waits until the area of the window looks different from `before`.
    void waitForChange(const Desktop::Window& window, const QRect& area, const QImage& before);
    QImage areaOf(const Desktop::Window& window, const QRect& area) const
    {
        return Desktop::grab().copy(at(window, area));
    }
    // What a screen reader heard since the last call of listen(): waits for
    // an entry with these fields (a field's value may be a regular expression).
    void listen() { m_heardBefore = heard().size(); }
    void hear(const QVariantMap& fields);
    QList<QVariantMap> heard() const;

    std::array<bool, 81> m_open{};
    std::pair<int, int> m_mark{0, 0};  // none before the first arrow
    QPoint m_last;                     // the open cell filled last, after the first verification
    qsizetype m_heardBefore = 0;
};

bool E2eSession::beginStep()
{
    if (m_broken)
        return false;
    m_broken = true;
    return true;
}

#define CHECKED(call)                   \
    do {                                \
        call;                           \
        if (QTest::currentTestFailed()) \
            return;                     \
    } while (false)

#define BEGIN_STEP()                                  \
    if (!beginStep())                                 \
        QSKIP("an earlier step of the game failed");

void E2eSession::waitForWindow(const QSize& size, std::optional<Desktop::Window>& found)
{
    found.reset();
    QTRY_VERIFY2_WITH_TIMEOUT((found = Desktop::visibleWindowOfSize(m_game.processId(), onScreen(size))).has_value(),
                              qPrintable(QStringLiteral("no %1x%2 window").arg(size.width()).arg(size.height())),
                              Patience);
    // Mapped is not yet painted: wait for its first picture.
    QTRY_VERIFY2_WITH_TIMEOUT(painted(*found), "the window was never painted", Patience);
}

void E2eSession::waitUntilGone(const QSize& size)
{
    QTRY_VERIFY_WITH_TIMEOUT(!Desktop::visibleWindowOfSize(m_game.processId(), onScreen(size)).has_value(), Patience);
}

bool E2eSession::painted(const Desktop::Window& window)
{
    const QImage screen = Desktop::grab();
    return !desktopAt(screen, window.rect.center());
}

void E2eSession::screenshot(const QString& name, const std::optional<Desktop::Window>& window)
{
    const QString file = QStringLiteral("%1/%2-%3.png").arg(m_screens).arg(++m_shot, 2, 10, QLatin1Char('0')).arg(name);
    QVERIFY2(Desktop::saveScreenshot(file), qPrintable(file));
    // The window alone, as the README shows it.
    if (window) {
        const QImage screen = Desktop::grab();
        QVERIFY(screen.copy(window->rect.adjusted(-8, -8, 8, 8)).save(m_pictures + "/" + name + ".png"));
    }
}

void E2eSession::checkCorners(const QImage& screen, const QImage& behind, const Desktop::Window& window,
                           const char* what)
{
    const QRect r = window.rect;
    for (const QPoint corner : {r.topLeft() + QPoint(1, 1), r.topRight() + QPoint(-1, 1),
                                r.bottomLeft() + QPoint(1, -1), r.bottomRight() + QPoint(-1, -1)})
        QVERIFY2(screen.pixel(corner) == behind.pixel(corner),
                 qPrintable(QStringLiteral("%1: what lies behind does not show at %2,%3 outside the rounded corner")
                                .arg(what).arg(corner.x() - r.x()).arg(corner.y() - r.y())));
    QVERIFY2(screen.pixel(r.center()) != behind.pixel(r.center()), what);
}

Ink E2eSession::cellInk(const QImage& screen, int row, int column) const
{
    // Inside the grid lines, clear of the underline's neighbours.
    Ink ink = InkOf(screen.copy(at(*m_board, cellRect(row, column).adjusted(4, 3, -4, -3))));
    // The mark's underline is a thin stroke below the digit, apart from it
    // (or alone in an empty cell): no part of what the cell holds.
    const auto inkedRow = [&ink](int y) {
        const uchar* line = ink.mask.constScanLine(y);
        return std::any_of(line, line + ink.mask.width(), [](uchar p) { return p != 0; });
    };
    int bottom = ink.mask.height() - 1;
    while (bottom >= 0 && !inkedRow(bottom))
        --bottom;
    int top = bottom;
    while (top > 0 && inkedRow(top - 1))
        --top;
    if (bottom >= 0 && bottom - top < 3) {
        for (int y = top; y <= bottom; ++y) {
            uchar* line = ink.mask.scanLine(y);
            ink.pixels -= int(std::count(line, line + ink.mask.width(), uchar(255)));
            std::fill(line, line + ink.mask.width(), uchar(0));
        }
    }
    return ink;
}

void E2eGame::typeDigit(int row, int column, int digit)
{
    // A key goes to the cell the pointer last entered as the game saw it. A
    // game slowed down (the sanitizers, a loaded machine) merges the moves it
    // has not read yet, so the pointer waits for each digit before it moves on.
    QVERIFY(Desktop::hoverAndKey(at(*m_board, cellRect(row, column).center()), QString::number(digit)));
    const bool glyphsKnown = m_glyphs[0].pixels > 0;
    QTRY_VERIFY2_WITH_TIMEOUT(glyphsKnown ? ReadDigit(cellInk(Desktop::grab(), row, column), m_glyphs).digit == digit
                                          : cellInk(Desktop::grab(), row, column).pixels > 0,
                              qPrintable(QStringLiteral("%1 did not show at row %2, column %3").arg(digit).arg(row).arg(column)),
                              Patience);
}

Grid E2eSession::readBoard(const QImage& screen, double* weakest) const
{
    Grid grid{};
    double least = 1;
    for (int row = 1; row <= 9; ++row)
        for (int column = 1; column <= 9; ++column) {
            const Reading reading = ReadDigit(cellInk(screen, row, column), m_glyphs);
            grid[row - 1][column - 1] = reading.digit;
            if (reading.digit && reading.score - reading.runnerUp < least) {
                least = reading.score - reading.runnerUp;
                if (least < 0.1)
                    qInfo("unsure reading at row %d, column %d: %d (%.3f), runner-up %.3f, %d pixels", row, column,
                          reading.digit, reading.score, reading.runnerUp, cellInk(screen, row, column).pixels);
            }
        }
    if (weakest)
        *weakest = least;
    return grid;
}

QString E2eSession::hiveText() const
{
    // The Linux hive, or the game's key as reg.exe exports it: both as regedit
    // writes them, UTF-16 with a byte order mark and Windows line ends.
    QString path = m_scratch.filePath(QStringLiteral("config/Kalvora/Sudoku.reg"));
    if (underWine()) {
        path = m_scratch.filePath(QStringLiteral("export.reg"));
        QFile::remove(path);
        if (!wine({QStringLiteral("reg"), QStringLiteral("export"), QStringLiteral("HKCU\\Software\\Kalvora\\Sudoku"),
                   QStringLiteral("Z:") + QString(path).replace('/', '\\'), QStringLiteral("/y")}))
            return QString();
    }
    QFile hive(path);
    if (!hive.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray bytes = hive.readAll();
    if (!bytes.startsWith("\xff\xfe"))
        return QStringLiteral("(not UTF-16) ") + QString::fromLatin1(bytes);
    QString text(reinterpret_cast<const QChar*>(bytes.constData() + 2), (bytes.size() - 2) / 2);
    return text.remove(QLatin1Char('\r'));
}

std::optional<QString> E2eSession::wine(const QStringList& arguments, int timeoutMs) const
{
    return Desktop::run(QStringLiteral(SUDOKU_WINE_RUN), QStringList{qEnvironmentVariable("WINEPREFIX")} + arguments,
                        timeoutMs);
}

void E2eSession::installUnderWine()
{
    // The prefix is made once and kept; the game's data from an earlier run is not.
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    QVERIFY2(!prefix.isEmpty(), "WINEPREFIX names no Wine prefix for the game");
    QVERIFY(wine({QStringLiteral("--start")}, 300000));
    wine({QStringLiteral("reg"), QStringLiteral("delete"), QStringLiteral("HKCU\\Software\\Kalvora\\Sudoku"),
          QStringLiteral("/f")});
    // The screen's scale, as Windows' display settings set it (the prefix is
    // shared by the runs at every scale).
    QVERIFY(wine({QStringLiteral("reg"), QStringLiteral("add"), QStringLiteral("HKCU\\Control Panel\\Desktop"),
                  QStringLiteral("/v"), QStringLiteral("LogPixels"), QStringLiteral("/t"), QStringLiteral("REG_DWORD"),
                  QStringLiteral("/d"), QString::number(options.dpi), QStringLiteral("/f")}));
    // Where the installer puts it, as a player gets it.
    const QString folder = prefix + QStringLiteral("/drive_c/Program Files/Kalvora/Sudoku");
    QVERIFY(QDir().mkpath(folder));
    QFile::remove(folder + QStringLiteral("/sudoku.exe"));
    QVERIFY(QFile::copy(options.wineProgram, folder + QStringLiteral("/sudoku.exe")));
    m_program = QStringLiteral("C:\\Program Files\\Kalvora\\Sudoku\\sudoku.exe");
    m_recordedPath = QString(m_program).replace(QStringLiteral("\\"), QStringLiteral("\\\\"));

    // xdotool types a letter without a key by putting it on a spare key for a
    // moment; Wine keeps the first letter it saw there, and "Żółć" would come
    // out as "ŁŁŁŁ". The name's letters get keys of their own before it starts.
    QVERIFY(Desktop::giveKeysTo(PlayerName));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
    environment.insert(QStringLiteral("WINEDLLOVERRIDES"), QStringLiteral("winemenubuilder.exe=d"));
    m_game.setProcessEnvironment(environment);
    m_game.setProcessChannelMode(QProcess::ForwardedChannels);
    m_game.start(QStringLiteral("wine"), {m_program});
    QVERIFY2(m_game.waitForStarted(), qPrintable(m_game.errorString()));
}

// --- The steps -------------------------------------------------------------

void E2eSession::startGame(const QString& suffix)
{
    m_clock.start();
    RegisterBundledFonts();
    QVERIFY(m_scratch.isValid());
    m_screens = QStringLiteral(SUDOKU_E2E_SCREENS) + suffix + (underWine() ? QStringLiteral("-wine") : QString()) +
                (options.dpi != 96 ? QStringLiteral("-%1").arg(qRound(scale() * 100)) : QString());
    QDir(m_screens).removeRecursively();
    m_pictures = options.pictures.isEmpty() ? m_screens + "/windows" : options.pictures;
    QVERIFY(QDir().mkpath(m_screens));
    QVERIFY(QDir().mkpath(m_pictures));

    QVERIFY(Desktop::paintRoot(DesktopColour));
    QVERIFY2(desktopAt(Desktop::grab(), QPoint(640, 512)), "the X server has something in the middle already");
    if (underWine()) {
        installUnderWine();
        return;
    }

    // The installed layout, as a player gets it.
    const QString prefix = m_scratch.filePath(QStringLiteral("prefix"));
    QVERIFY(Desktop::run(QStringLiteral(SUDOKU_CMAKE),
                         {QStringLiteral("--install"), QStringLiteral(SUDOKU_BUILD_DIR), QStringLiteral("--prefix"),
                          prefix, QStringLiteral("--component"), QStringLiteral("game")},
                         120000));
    m_program = prefix + QStringLiteral("/bin/sudoku");
    m_recordedPath = m_program;
    QVERIFY(QFileInfo(m_program).isExecutable());

    QVERIFY(QDir().mkpath(m_scratch.filePath(QStringLiteral("config"))));
    QVERIFY(QDir().mkpath(m_scratch.filePath(QStringLiteral("runtime"))));
    QFile::setPermissions(m_scratch.filePath(QStringLiteral("runtime")), QFileDevice::ReadOwner |
                                                                             QFileDevice::WriteOwner |
                                                                             QFileDevice::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_scratch.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_scratch.filePath(QStringLiteral("runtime")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    m_game.setProcessEnvironment(environment);
    m_game.setProcessChannelMode(QProcess::ForwardedChannels);
    m_game.start(m_program, {});
    QVERIFY2(m_game.waitForStarted(), qPrintable(m_game.errorString()));
}

void E2eGame::menuShowsTheDesktopThroughItsGapAndCorners()
{
    BEGIN_STEP();
    CHECKED(waitForWindow(MenuSize, m_menu));
    QVERIFY2(centred(m_menu->rect), "the window is not in the middle of the screen");
    CHECKED(screenshot(QStringLiteral("menu"), m_menu));

    const QImage screen = Desktop::grab();
    QImage desktop(screen.size(), QImage::Format_RGB32);
    desktop.fill(DesktopColour);
    CHECKED(checkCorners(screen, desktop, *m_menu, "main menu"));
    for (int y : {40, 160, 240, 330, 440})
        for (int x = MenuGapLeft; x <= MenuGapRight; ++x)
            QVERIFY2(desktopAt(screen, at(*m_menu, QPoint(x, y))),
                     qPrintable(QStringLiteral("the menu's gap hides the desktop at %1,%2").arg(x).arg(y)));
    // Both panes are drawn on either side of the gap.
    QVERIFY(!desktopAt(screen, at(*m_menu, QPoint(MenuGapLeft - 50, 240))));
    QVERIFY(!desktopAt(screen, at(*m_menu, QPoint(MenuGapRight + 60, 240))));
    endStep();
}

void E2eGame::balloonHintAppearsOverAMenuButton()
{
    BEGIN_STEP();
    const int windowsBefore = Desktop::visibleWindows(m_game.processId()).size();
    QVERIFY(Desktop::moveTo(at(*m_menu, MenuHowToPlay)));
    // The hint comes after a rest, as a window of its own beside the pointer.
    QTRY_COMPARE_WITH_TIMEOUT(Desktop::visibleWindows(m_game.processId()).size(), windowsBefore + 1, Patience);
    std::optional<Desktop::Window> hint;
    for (const Desktop::Window& window : Desktop::visibleWindows(m_game.processId()))
        if (window.rect.size() != onScreen(MenuSize))
            hint = window;
    QVERIFY(hint);
    QTRY_VERIFY_WITH_TIMEOUT(painted(*hint), Patience);
    CHECKED(screenshot(QStringLiteral("menu-hint"), Desktop::Window{hint->id, hint->rect.united(m_menu->rect)}));
    QVERIFY2(hint->rect.intersects(m_menu->rect.adjusted(-200, -200, 200, 200)),
             "the hint shows far from the button");
    // Leaving the button takes it away.
    parkPointer();
    QTRY_COMPARE_WITH_TIMEOUT(Desktop::visibleWindows(m_game.processId()).size(), windowsBefore, Patience);
    endStep();
}

void E2eGame::menuFollowsADragOfItsBackground()
{
    BEGIN_STEP();
    // Whole layout pixels at 125 and 150 % too (the window moves by the pointer's travel in them).
    const QPoint travel(60, 60);
    for (const QPoint step : {travel, -travel}) {
        const QRect before = m_menu->rect;
        const QPoint from = at(*m_menu, MenuBackground);
        QVERIFY(Desktop::run(QStringLiteral("xdotool"),
                             {QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(from.x()),
                              QString::number(from.y()), QStringLiteral("mousedown"), QStringLiteral("1"),
                              QStringLiteral("mousemove"), QStringLiteral("--sync"),
                              QString::number(from.x() + step.x() / 2), QString::number(from.y() + step.y() / 2),
                              QStringLiteral("mousemove"), QStringLiteral("--sync"),
                              QString::number(from.x() + step.x()), QString::number(from.y() + step.y()),
                              QStringLiteral("mouseup"), QStringLiteral("1")}));
        parkPointer();
        // On a scaled screen the window's place is rounded to the screen's pixels both ways: one off is as good.
        const int slack = scale() == 1.0 ? 0 : 1;
        const auto movedBy = [&] {
            const QPoint off = m_menu->rect.topLeft() - before.translated(step).topLeft();
            return std::abs(off.x()) <= slack && std::abs(off.y()) <= slack;
        };
        QTRY_VERIFY_WITH_TIMEOUT((m_menu = Desktop::visibleWindowOfSize(m_game.processId(), onScreen(MenuSize))) &&
                                     movedBy(),
                                 Patience);
    }
    CHECKED(waitForWindow(MenuSize, m_menu));
    QVERIFY(centred(m_menu->rect, scale() == 1.0 ? 1 : 3));
    endStep();
}

void E2eGame::guideWindowsOpenAndCloseFromTheMenu()
{
    BEGIN_STEP();
    struct Guide {
        const char* name;
        QPoint column, panelButton, ok;
        QSize size;
    };
    const Guide guides[] = {
        {"preview", MenuHowToPlay, PanelPreview, PreviewOk, PreviewSize},
        {"tips", MenuHowToPlay, PanelTips, TipsOk, TipsSize},
        {"example", MenuNewGame, PanelExample, ExampleOk, ExampleSize},
    };
    for (const Guide& guide : guides) {
        QVERIFY(Desktop::click(at(*m_menu, guide.column)));
        parkPointer();
        const QImage behind = Desktop::grab();
        QVERIFY(Desktop::click(at(*m_menu, guide.panelButton)));
        parkPointer();
        std::optional<Desktop::Window> window;
        CHECKED(waitForWindow(guide.size, window));
        CHECKED(screenshot(QString::fromLatin1(guide.name), window));
        CHECKED(checkCorners(Desktop::grab(), behind, *window, guide.name));
        QVERIFY(Desktop::click(at(*window, guide.ok)));
        parkPointer();
        CHECKED(waitUntilGone(guide.size));
    }
    endStep();
}

void E2eGame::newGameOpensTheWelcomeBoard()
{
    BEGIN_STEP();
    QVERIFY(Desktop::click(at(*m_menu, MenuNewGame)));
    parkPointer();
    CHECKED(screenshot(QStringLiteral("new-game-panel"), m_menu));
    const QImage behind = Desktop::grab();
    QVERIFY(Desktop::click(at(*m_menu, PanelStart)));
    parkPointer();
    CHECKED(waitForWindow(GameSize, m_board));
    QVERIFY2(centred(m_board->rect), "the window is not in the middle of the screen");
    CHECKED(screenshot(QStringLiteral("game-welcome"), m_board));

    const QImage screen = Desktop::grab();
    CHECKED(checkCorners(screen, behind, *m_board, "game window"));
    // The welcome board fills rows 1 and 9; verification is not offered yet.
    for (int column = 1; column <= 9; ++column) {
        QVERIFY(cellInk(screen, 1, column).pixels > 0);
        QVERIFY(cellInk(screen, 9, column).pixels > 0);
        QCOMPARE(cellInk(screen, 2, column).pixels, 0);
    }
    m_verifyDisabled = screen.copy(at(*m_board, GameVerifyButton));
    endStep();
}

void E2eGame::newDiagramIsDealt()
{
    BEGIN_STEP();
    QVERIFY(Desktop::click(at(*m_board, GameNew)));
    parkPointer();
    // The verify button is enabled once the last given has been revealed.
    QTRY_VERIFY_WITH_TIMEOUT(Desktop::grab().copy(at(*m_board, GameVerifyButton)) != m_verifyDisabled, Patience);
    CHECKED(screenshot(QStringLiteral("game-dealt"), m_board));

    const QImage screen = Desktop::grab();
    int givens = 0;
    for (int row = 1; row <= 9; ++row)
        for (int column = 1; column <= 9; ++column)
            if (cellInk(screen, row, column).pixels > 0) {
                ++givens;
                m_aGiven = at(*m_board, cellRect(row, column).center());
            }
    // Every catalogue entry has between 20 and 38 givens; the welcome board had 29 marks.
    QVERIFY2(givens >= 20 && givens <= 38, qPrintable(QString::number(givens)));
    endStep();
}

void E2eGame::digitsTypedIntoCellsAppear()
{
    BEGIN_STEP();
    // The game's own digits serve as the glyphs to read the givens by: the
    // first nine open cells get 1 to 9 from the keyboard.
    // Keys go to the active window. A click on the game window's background
    // makes it the active one, as a player's first click would: under Wine
    // with no window manager a window opened from another one may stay
    // inactive, and X focus alone does not activate it.
    QVERIFY(Desktop::click(at(*m_board, GameBackground)));
    QVERIFY(Desktop::focus(m_board->id));
    const QImage before = Desktop::grab();
    int digit = 0;
    for (int row = 1; row <= 9 && digit < 9; ++row)
        for (int column = 1; column <= 9 && digit < 9; ++column)
            if (cellInk(before, row, column).pixels == 0) {
                m_glyphCells[digit] = QPoint(row, column);
                ++digit;
                CHECKED(typeDigit(row, column, digit));
            }
    QCOMPARE(digit, 9);
    // Hovering a given takes the underline off the last cell.
    QVERIFY(Desktop::moveTo(m_aGiven));
    const auto allTyped = [this] {
        const QImage screen = Desktop::grab();
        for (const QPoint& cell : m_glyphCells)
            if (cellInk(screen, cell.x(), cell.y()).pixels == 0)
                return false;
        return true;
    };
    QTRY_VERIFY_WITH_TIMEOUT(allTyped(), Patience);
    CHECKED(screenshot(QStringLiteral("game-digits-typed")));
    CHECKED(learnGlyphs());
    endStep();
}

void E2eSession::learnGlyphs()
{
    const QImage screen = Desktop::grab();
    for (int i = 0; i < 9; ++i)
        m_glyphs[i] = cellInk(screen, m_glyphCells[i].x(), m_glyphCells[i].y());
    // Nine different shapes, or the reading below means nothing.
    for (int i = 0; i < 9; ++i)
        for (int j = i + 1; j < 9; ++j)
            QVERIFY2(Overlap(m_glyphs[i], m_glyphs[j]) < 0.8,
                     qPrintable(QStringLiteral("%1 and %2 look alike").arg(i + 1).arg(j + 1)));
}

void E2eGame::dealtDiagramIsReadFromTheScreen()
{
    BEGIN_STEP();
    CHECKED(readTheDiagram());
    endStep();
}

void E2eSession::readTheDiagram()
{
    const QImage screen = Desktop::grab();
    double weakest = 0;
    m_givens = readBoard(screen, &weakest);
    for (const QPoint& cell : m_glyphCells)
        m_givens[cell.x() - 1][cell.y() - 1] = 0;
    QVERIFY2(weakest > 0.1, qPrintable(QStringLiteral("an unsure reading (margin %1)").arg(weakest)));

    // What was read must be one of the catalogue's puzzles, with one solution.
    QString text;
    for (const auto& row : m_givens)
        for (int value : row)
            text += QString::number(value);
    bool inCatalogue = false;
    for (int index = 0; index < PuzzleCatalogue::Count && !inCatalogue; ++index)
        inCatalogue = QString::fromLatin1(PuzzleCatalogue::Text(index).data(), 81) == text;
    QVERIFY2(inCatalogue, qPrintable("read a diagram the catalogue does not hold: " + text));

    const Solver solver(m_givens);
    QCOMPARE(solver.CountSolutions(2), 1);
    const auto solution = solver.FirstSolution();
    QVERIFY(solution);
    for (int i = 0; i < 81; ++i)
        m_solution[i / 9][i % 9] = (*solution)[i];
}

void E2eGame::incompleteDiagramIsRefused()
{
    BEGIN_STEP();
    // Every open cell but the last gets its digit: a one by a left click, a nine
    // by a right click, the rest (and the cells that hold a glyph) by a key.
    std::optional<QPoint> last;
    for (int row = 9; row >= 1 && !last; --row)
        for (int column = 9; column >= 1 && !last; --column)
            if (m_givens[row - 1][column - 1] == 0)
                last = QPoint(row, column);
    QVERIFY(last);
    for (int row = 1; row <= 9; ++row)
        for (int column = 1; column <= 9; ++column) {
            const int value = m_solution[row - 1][column - 1];
            const QPoint centre = at(*m_board, cellRect(row, column).center());
            if (m_givens[row - 1][column - 1] != 0 || QPoint(row, column) == *last)
                continue;
            const bool holdsGlyph = std::find(m_glyphCells.begin(), m_glyphCells.end(), QPoint(row, column)) !=
                                    m_glyphCells.end();
            if (!holdsGlyph && value == 1)
                QVERIFY(Desktop::click(centre, 1));
            else if (!holdsGlyph && value == 9)
                QVERIFY(Desktop::click(centre, 3));
            else
                CHECKED(typeDigit(row, column, value));
        }
    QVERIFY(Desktop::moveTo(m_aGiven));
    Grid expected = m_solution;
    expected[last->x() - 1][last->y() - 1] = 0;
    QTRY_VERIFY_WITH_TIMEOUT(readBoard(Desktop::grab()) == expected, Patience);
    CHECKED(screenshot(QStringLiteral("game-almost-full")));

    const QImage beforePanel = Desktop::grab().copy(at(*m_board, GamePanelArea));
    QVERIFY(Desktop::click(at(*m_board, GameVerify)));
    parkPointer();
    QTRY_VERIFY_WITH_TIMEOUT(Desktop::grab().copy(at(*m_board, GamePanelArea)) != beforePanel, Patience);
    CHECKED(screenshot(QStringLiteral("game-incomplete"), m_board));
    // OK takes the panel away and gives the board back as it was.
    QVERIFY(Desktop::click(at(*m_board, MessageOk)));
    QVERIFY(Desktop::moveTo(m_aGiven));
    QTRY_VERIFY_WITH_TIMEOUT(Desktop::grab().copy(at(*m_board, GamePanelArea)) == beforePanel, Patience);

    CHECKED(typeDigit(last->x(), last->y(), m_solution[last->x() - 1][last->y() - 1]));
    QVERIFY(Desktop::moveTo(m_aGiven));
    QTRY_VERIFY_WITH_TIMEOUT(readBoard(Desktop::grab()) == m_solution, Patience);
    CHECKED(screenshot(QStringLiteral("game-full"), m_board));
    endStep();
}

void E2eGame::solvedDiagramAsksForTheName()
{
    BEGIN_STEP();
    QVERIFY(Desktop::click(at(*m_board, GameVerify)));
    parkPointer();
    std::optional<Desktop::Window> prompt;
    QTRY_VERIFY_WITH_TIMEOUT((prompt = Desktop::visibleWindowNamed(m_game.processId(), PromptTitle)).has_value(),
                             Patience);
    QTRY_VERIFY_WITH_TIMEOUT(painted(*prompt), Patience);
    CHECKED(screenshot(QStringLiteral("name-prompt"), prompt));

    // "Gracz" stands selected: typing replaces it.
    QVERIFY(Desktop::focus(prompt->id));
    QVERIFY(Desktop::typeText(PlayerName));
    QVERIFY(Desktop::key(QStringLiteral("Return")));
    QTRY_VERIFY_WITH_TIMEOUT(!Desktop::visibleWindowNamed(m_game.processId(), PromptTitle).has_value(), Patience);
    QTRY_VERIFY2_WITH_TIMEOUT(hiveText().contains("\"" + PlayerName + "\""), qPrintable(hiveText()), Patience);
    CHECKED(screenshot(QStringLiteral("game-solved"), m_board));
    endStep();
}

void E2eGame::resultsWindowShowsTheName()
{
    BEGIN_STEP();
    // No: the end panel goes and the results button comes back to life.
    const QImage resultsDisabled = Desktop::grab().copy(at(*m_board, GameResultsButton));
    QVERIFY(Desktop::click(at(*m_board, EndNo)));
    parkPointer();
    QTRY_VERIFY_WITH_TIMEOUT(Desktop::grab().copy(at(*m_board, GameResultsButton)) != resultsDisabled, Patience);
    CHECKED(screenshot(QStringLiteral("game-finished")));

    const QImage behind = Desktop::grab();
    QVERIFY(Desktop::click(at(*m_board, GameResults)));
    parkPointer();
    std::optional<Desktop::Window> results;
    CHECKED(waitForWindow(ResultsSize, results));
    QVERIFY2(centred(results->rect), "the window is not in the middle of the screen");
    CHECKED(screenshot(QStringLiteral("results"), results));
    const QImage screen = Desktop::grab();
    CHECKED(checkCorners(screen, behind, *results, "results window"));
    CHECKED(checkResultsShowTheName(*results));

    // Clearing the list asks first, in a message box of the system's own look;
    // Escape answers Nie and keeps the list.
    QVERIFY(Desktop::click(at(*results, ResultsClear)));
    parkPointer();
    std::optional<Desktop::Window> question;
    QTRY_VERIFY_WITH_TIMEOUT(
        (question = Desktop::visibleWindowNamed(m_game.processId(), QStringLiteral("UWAGA"))).has_value(), Patience);
    QTRY_VERIFY_WITH_TIMEOUT(painted(*question), Patience);
    CHECKED(screenshot(QStringLiteral("clear-question"), question));
    QVERIFY(Desktop::focus(question->id));
    QVERIFY(Desktop::key(QStringLiteral("Escape")));
    QTRY_VERIFY_WITH_TIMEOUT(!Desktop::visibleWindowNamed(m_game.processId(), QStringLiteral("UWAGA")).has_value(),
                             Patience);
    endStep();
}

void E2eSession::checkResultsShowTheName(const Desktop::Window& results)
{
    const QImage screen = Desktop::grab();
    // The stored time, to look for beside the name.
    const QRegularExpressionMatch stored =
        QRegularExpression(QStringLiteral("\"_t1\"=dword:([0-9a-fA-F]{8})")).match(hiveText());
    QVERIFY2(stored.hasMatch(), qPrintable(hiveText()));
    const QString time = QString::fromStdString(TimeText(stored.captured(1).toInt(nullptr, 16)));

    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(qRound(17 * scale()));
    font.setBold(true);
    const auto place = [&](int n, int left) {
        return at(results, QRect(left - 4, PlaceTops[n - 1] - 4, 12, 14));
    };
    const double name = TextMatch(screen, place(1, NameLeft), RenderText(PlayerName, font));
    const double nameTime = TextMatch(screen, place(1, TimeLeft), RenderText(time, font));
    const double empty = TextMatch(screen, place(2, NameLeft), RenderText(QStringLiteral("(brak)"), font));
    const double nameOnEmpty = TextMatch(screen, place(2, NameLeft), RenderText(PlayerName, font));
    const double timeOnEmpty = TextMatch(screen, place(2, TimeLeft), RenderText(time, font));
    qInfo("text matches: name %.3f, time %s %.3f, (brak) %.3f, name at an empty place %.3f, time there %.3f", name,
          qPrintable(time), nameTime, empty, nameOnEmpty, timeOnEmpty);
    // Windows draws the same font with other hinting and advances than the
    // reference drawn here: under Wine the texts are only told apart.
    const double sure = underWine() ? 0.8 : 0.9;
    QVERIFY2(name > sure, "the name is not at place 1");
    QVERIFY2(empty > sure, "place 2 is not empty");
    QVERIFY2(nameOnEmpty < name - 0.2, "the reading cannot tell the name from an empty place");
    if (underWine())
        QVERIFY2(nameTime > timeOnEmpty + 0.1, "the time is not at place 1");
    else
        QVERIFY2(nameTime > 0.9, "the time is not at place 1");
}

void E2eGame::everythingCloses()
{
    BEGIN_STEP();
    const std::optional<Desktop::Window> results = Desktop::visibleWindowOfSize(m_game.processId(), onScreen(ResultsSize));
    QVERIFY(results);
    QVERIFY(Desktop::click(at(*results, ResultsOk)));
    parkPointer();
    CHECKED(waitUntilGone(ResultsSize));
    // The game window takes clicks again once the results window is gone.
    QVERIFY(Desktop::click(at(*m_board, GameClose)));
    parkPointer();
    CHECKED(waitUntilGone(GameSize));
    CHECKED(screenshot(QStringLiteral("menu-again")));

    QVERIFY(Desktop::click(at(*m_menu, MenuExit)));
    parkPointer();
    CHECKED(screenshot(QStringLiteral("exit-panel"), m_menu));
    QVERIFY(Desktop::click(at(*m_menu, PanelExitYes)));
    QVERIFY2(m_game.waitForFinished(Patience), "the program did not end");
    QCOMPARE(m_game.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_game.exitCode(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(desktopAt(Desktop::grab(), QPoint(640, 512)), Patience);
    endStep();
}

void E2eGame::hiveHoldsTheNewEntry()
{
    BEGIN_STEP();
    CHECKED(checkHiveHoldsTheEntry());
    endStep();
}

void E2eSession::checkHiveHoldsTheEntry()
{
    const QString hive = hiveText();
    const auto value = [&](const QString& section, const QString& name) {
        const int start = hive.indexOf("[HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku" + section + "]\n");
        if (start < 0)
            return QString();
        const int end = hive.indexOf(QStringLiteral("\n["), start + 1);
        const QRegularExpression line("^\"" + QRegularExpression::escape(name) + "\"=(.*)$",
                                      QRegularExpression::MultilineOption);
        const QRegularExpressionMatch match = line.match(hive.mid(start, end < 0 ? -1 : end - start));
        return match.hasMatch() ? match.captured(1).trimmed() : QString();
    };
    QCOMPARE(value(QString(), QStringLiteral("Version")), QStringLiteral("\"2.0.0.432\""));
    QCOMPARE(value(QString(), QStringLiteral("Name")), QStringLiteral("\"Sudoku\""));
    QCOMPARE(value(QString(), QStringLiteral("Path")), "\"" + m_recordedPath + "\"");
    QCOMPARE(value(QStringLiteral("\\Lista"), QStringLiteral("_g1")), "\"" + PlayerName + "\"");
    QCOMPARE(value(QStringLiteral("\\Lista"), QStringLiteral("IlePoz")), QStringLiteral("dword:00000001"));
    QVERIFY(value(QStringLiteral("\\Lista"), QStringLiteral("_t1")).startsWith(QStringLiteral("dword:")));
}

void E2eSession::keepFailure()
{
    if (QTest::currentTestFailed())
        Desktop::saveScreenshot(QStringLiteral("%1/%2-failed-%3.png")
                                    .arg(m_screens)
                                    .arg(++m_shot, 2, 10, QLatin1Char('0'))
                                    .arg(QString::fromLatin1(QTest::currentTestFunction())));
}

void E2eSession::stopGame()
{
    if (m_game.state() != QProcess::NotRunning) {
        m_game.kill();
        m_game.waitForFinished();
    }
    if (underWine())
        wine({QStringLiteral("--stop")});
    qInfo("the game took %.1f s from installation to exit; screenshots in %s", m_clock.elapsed() / 1000.0,
          qPrintable(m_screens));
}

// --- The keyboard game ---------------------------------------------------------

void E2eKeyboardGame::initTestCase()
{
    // Out of the way before the game starts, and never moved again.
    parkPointer();
    startGame(QStringLiteral("-keyboard"));
}

QList<QVariantMap> E2eKeyboardGame::heard() const
{
    QList<QVariantMap> entries;
    QFile log(options.screenReader);
    if (!log.open(QIODevice::ReadOnly))
        return entries;
    for (const QByteArray& line : log.readAll().split('\n'))
        if (!line.trimmed().isEmpty())
            entries << QJsonDocument::fromJson(line).object().toVariantMap();
    return entries;
}

void E2eKeyboardGame::hear(const QVariantMap& fields)
{
    if (options.screenReader.isEmpty())
        return;
    const auto matches = [&fields](const QVariantMap& entry) {
        for (auto field = fields.begin(); field != fields.end(); ++field) {
            const QVariant heardValue = entry.value(field.key());
            const QString value = heardValue.typeId() == QMetaType::QVariantList ? heardValue.toStringList().join('\n')
                                                                                  : heardValue.toString();
            if (!QRegularExpression(field.value().toString()).match(value).hasMatch())
                return false;
        }
        return true;
    };
    const auto heardIt = [&] {
        const QList<QVariantMap> entries = heard();
        return std::any_of(entries.begin() + std::min(m_heardBefore, entries.size()), entries.end(), matches);
    };
    QFile log(options.screenReader);
    const QString failure = QStringLiteral("a screen reader never heard %1; it heard lately:\n%2")
                                .arg(QString::fromUtf8(QJsonDocument(QJsonObject::fromVariantMap(fields)).toJson(QJsonDocument::Compact)));
    QTRY_VERIFY2_WITH_TIMEOUT(heardIt(), qPrintable(failure.arg(log.open(QIODevice::ReadOnly)
                                                                    ? QString::fromUtf8(log.readAll().right(3000))
                                                                    : QString())),
                              Patience);
}

void E2eKeyboardGame::press(const QStringList& keys)
{
    for (const QString& key : keys)
        QVERIFY2(Desktop::key(key), qPrintable(key));
}

void E2eKeyboardGame::waitForChange(const Desktop::Window& window, const QRect& area, const QImage& before)
{
    QTRY_VERIFY_WITH_TIMEOUT(areaOf(window, area) != before, Patience);
}

void E2eKeyboardGame::writeDigit(int row, int column, int digit, bool news)
{
    // The first arrow after a deal marks the first open cell; a screen
    // reader hears its place and that it is empty.
    if (m_mark.first == 0) {
        listen();
        CHECKED(press({QStringLiteral("Right")}));
        for (int i = 0; i < 81 && m_mark.first == 0; ++i)
            if (m_open[i])
                m_mark = {i / 9 + 1, i % 9 + 1};
        CHECKED(hear({{"event", "^focus$"},
                      {"name", QStringLiteral("^Wiersz %1, kolumna %2$").arg(m_mark.first).arg(m_mark.second)},
                      {"description", "^puste, do wypełnienia$"}}));
    }
    listen();
    const auto path = ArrowPath(m_open, m_mark, {row, column});
    QVERIFY2(path, "the cell cannot be reached with the arrows");
    QStringList keys;
    for (Arrow arrow : *path)
        keys << (arrow == Arrow::Left    ? QStringLiteral("Left")
                 : arrow == Arrow::Right ? QStringLiteral("Right")
                 : arrow == Arrow::Up    ? QStringLiteral("Up")
                                         : QStringLiteral("Down"));
    keys << QString::number(digit);
    CHECKED(press(keys));
    m_mark = {row, column};
    const bool glyphsKnown = m_glyphs[0].pixels > 0;
    QTRY_VERIFY2_WITH_TIMEOUT(glyphsKnown ? ReadDigit(cellInk(Desktop::grab(), row, column), m_glyphs).digit == digit
                                          : cellInk(Desktop::grab(), row, column).pixels > 0,
                              qPrintable(QStringLiteral("%1 did not show at row %2, column %3").arg(digit).arg(row).arg(column)),
                              Patience);
    // Heard on the marked cell itself.
    if (news)
        CHECKED(hear({{"event", "^description$"}, {"name", QStringLiteral("^Wiersz %1, kolumna %2$").arg(row).arg(column)},
                  {"description", QStringLiteral("^%1, wpisana$").arg(digit)}}));
}

void E2eKeyboardGame::menuTakesTheKeyboard()
{
    BEGIN_STEP();
    CHECKED(waitForWindow(MenuSize, m_menu));
    // Wine with no window manager leaves the X focus where it was: the
    // program's first window gets it, as a desktop gives it to a new program.
    if (underWine())
        QVERIFY(Desktop::focus(m_menu->id));
    // The menu opens with the focus on its first button and shows no focus
    // mark until a key is used; Tab lights the next button and its hint shows.
    const QImage before = areaOf(*m_menu, MenuNewGameButton);
    const int windowsBefore = Desktop::visibleWindows(m_game.processId()).size();
    CHECKED(press({QStringLiteral("Tab")}));
    CHECKED(waitForChange(*m_menu, MenuNewGameButton, before));
    QTRY_COMPARE_WITH_TIMEOUT(Desktop::visibleWindows(m_game.processId()).size(), windowsBefore + 1, Patience);
    QTest::qWait(200);
    CHECKED(screenshot(QStringLiteral("focus-menu-button"),
                       Desktop::Window{m_menu->id, m_menu->rect.adjusted(0, 0, 160, 0)}));
    endStep();
}

void E2eKeyboardGame::gameOpensFromTheKeyboard()
{
    BEGIN_STEP();
    // Enter opens the new-game panel with the focus on Przykład; Tab goes on to Rozpocznij.
    const QImage startBefore = areaOf(*m_menu, PanelStartButton);
    CHECKED(press({QStringLiteral("Return")}));
    CHECKED(waitForChange(*m_menu, PanelStartButton, startBefore));
    const QImage startShown = areaOf(*m_menu, PanelStartButton);
    CHECKED(press({QStringLiteral("Tab")}));
    CHECKED(waitForChange(*m_menu, PanelStartButton, startShown));
    CHECKED(screenshot(QStringLiteral("focus-menu-panel"), m_menu));
    listen();
    CHECKED(press({QStringLiteral("Return")}));
    CHECKED(waitForWindow(GameSize, m_board));
    QVERIFY2(centred(m_board->rect), "the window is not in the middle of the screen");
    // A screen reader hears the focus land on Nowa gra.
    CHECKED(hear({{"event", "^focus$"}, {"role", "push button"}, {"name", "^Kliknij, aby wylosować nowy digram$"}}));
    m_verifyDisabled = areaOf(*m_board, GameVerifyButton);
    CHECKED(screenshot(QStringLiteral("focus-game-welcome"), m_board));
    endStep();
}

void E2eKeyboardGame::diagramIsDealtAndFilledWithArrowsAndDigits()
{
    BEGIN_STEP();
    // The game window opened with the focus on Nowa gra: Enter deals.
    CHECKED(press({QStringLiteral("Return")}));
    QTRY_VERIFY_WITH_TIMEOUT(areaOf(*m_board, GameVerifyButton) != m_verifyDisabled, Patience);
    const QImage dealt = Desktop::grab();
    for (int row = 1; row <= 9; ++row)
        for (int column = 1; column <= 9; ++column)
            m_open[(row - 1) * 9 + column - 1] = cellInk(dealt, row, column).pixels == 0;

    // The first nine open cells get 1 to 9: the glyphs the givens are read by.
    int digit = 0;
    for (int i = 0; i < 81 && digit < 9; ++i)
        if (m_open[i]) {
            m_glyphCells[digit] = QPoint(i / 9 + 1, i % 9 + 1);
            ++digit;
            CHECKED(writeDigit(i / 9 + 1, i % 9 + 1, digit));
        }
    CHECKED(screenshot(QStringLiteral("focus-game-mark"), m_board));
    // The mark moves on, so that no glyph is underlined while it is learnt.
    CHECKED(press({QStringLiteral("Down")}));
    m_mark = ArrowTarget(m_open, m_mark.first, m_mark.second, Arrow::Down);
    QTest::qWait(300);
    CHECKED(learnGlyphs());
    CHECKED(readTheDiagram());

    // Every other open cell but the last one, from the solution.
    for (int i = 80; i >= 0 && m_last.isNull(); --i)
        if (m_open[i])
            m_last = QPoint(i / 9 + 1, i % 9 + 1);
    for (int i = 0; i < 81; ++i) {
        const QPoint cell(i / 9 + 1, i % 9 + 1);
        if (!m_open[i] || cell == m_last ||
            std::find(m_glyphCells.begin(), m_glyphCells.end(), cell) != m_glyphCells.end())
            continue;
        CHECKED(writeDigit(cell.x(), cell.y(), m_solution[cell.x() - 1][cell.y() - 1]));
    }
    // The glyph cells get the solution's digits too.
    for (int i = 0; i < 9; ++i) {
        const QPoint cell = m_glyphCells[i];
        const int digit = m_solution[cell.x() - 1][cell.y() - 1];
        CHECKED(writeDigit(cell.x(), cell.y(), digit, digit != i + 1));
    }
    Grid expected = m_solution;
    expected[m_last.x() - 1][m_last.y() - 1] = 0;
    QTRY_VERIFY_WITH_TIMEOUT(readBoard(Desktop::grab()) == expected, Patience);
    endStep();
}

void E2eKeyboardGame::incompleteDiagramIsRefusedAndTheMarkStays()
{
    BEGIN_STEP();
    // From the board Tab goes down the buttons: Najlepsze wyniki, Nowa gra, Restart, Sprawdź.
    const QImage panelBefore = areaOf(*m_board, GamePanelArea);
    listen();
    CHECKED(press({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"),
                   QStringLiteral("Return")}));
    CHECKED(waitForChange(*m_board, GamePanelArea, panelBefore));
    // The message is an alert a screen reader reads out.
    CHECKED(hear({{"event", "^alert$"}, {"texts", "Diagram jest niekompletny !!!\nNie wszystkie pola zostały wypełnione"}}));
    QTest::qWait(300);
    CHECKED(screenshot(QStringLiteral("focus-game-message"), m_board));
    // Escape is the panel's OK; the focus goes back to Sprawdź, and the board
    // shows again. The mark is where it was: the arrows from there reach the
    // last cell.
    CHECKED(press({QStringLiteral("Escape")}));
    Grid expected = m_solution;
    expected[m_last.x() - 1][m_last.y() - 1] = 0;
    QTRY_VERIFY_WITH_TIMEOUT(readBoard(Desktop::grab()) == expected, Patience);
    CHECKED(writeDigit(m_last.x(), m_last.y(), m_solution[m_last.x() - 1][m_last.y() - 1]));
    QTRY_VERIFY_WITH_TIMEOUT(readBoard(Desktop::grab()) == m_solution, Patience);
    endStep();
}

void E2eKeyboardGame::solvedDiagramTakesTheNameFromTheKeyboard()
{
    BEGIN_STEP();
    if (underWine())
        QVERIFY(Desktop::giveKeysTo(PlayerName));
    CHECKED(press({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"),
                   QStringLiteral("Return")}));
    std::optional<Desktop::Window> prompt;
    QTRY_VERIFY_WITH_TIMEOUT((prompt = Desktop::visibleWindowNamed(m_game.processId(), PromptTitle)).has_value(),
                             Patience);
    QTRY_VERIFY_WITH_TIMEOUT(painted(*prompt), Patience);
    // "Gracz" stands selected: typing replaces it; Enter is OK.
    QVERIFY(Desktop::typeText(PlayerName));
    CHECKED(press({QStringLiteral("Return")}));
    QTRY_VERIFY_WITH_TIMEOUT(!Desktop::visibleWindowNamed(m_game.processId(), PromptTitle).has_value(), Patience);
    QTRY_VERIFY2_WITH_TIMEOUT(hiveText().contains("\"" + PlayerName + "\""), qPrintable(hiveText()), Patience);
    CHECKED(screenshot(QStringLiteral("focus-game-solved"), m_board));
    endStep();
}

void E2eKeyboardGame::resultsAreReadAndClosedFromTheKeyboard()
{
    BEGIN_STEP();
    // Escape is Nie: the focus goes to Najlepsze wyniki, which Enter opens.
    const QImage resultsDisabled = areaOf(*m_board, GameResultsButton);
    CHECKED(press({QStringLiteral("Escape")}));
    CHECKED(waitForChange(*m_board, GameResultsButton, resultsDisabled));
    CHECKED(press({QStringLiteral("Return")}));
    std::optional<Desktop::Window> results;
    CHECKED(waitForWindow(ResultsSize, results));
    QTest::qWait(300);
    CHECKED(screenshot(QStringLiteral("focus-results"), results));
    CHECKED(checkResultsShowTheName(*results));
    // Escape is OK; the game window has the focus back.
    CHECKED(press({QStringLiteral("Escape")}));
    CHECKED(waitUntilGone(ResultsSize));
    // Asked, a screen reader reads the game's time off the clock.
    if (!options.screenReader.isEmpty()) {
        listen();
        QFile ask(options.screenReader + QStringLiteral(".ask"));
        QVERIFY(ask.open(QIODevice::WriteOnly) && ask.write("clock") == 5);
        ask.close();
        CHECKED(hear({{"event", "^asked$"}, {"name", "^Czas gry$"}, {"description", "^00:0[0-9]:[0-5][0-9]$"}}));
    }
    endStep();
}

void E2eKeyboardGame::menuIsLeftFromTheKeyboard()
{
    BEGIN_STEP();
    // Escape is Zakończ; the menu has the focus back on Rozpocznij, and Tab
    // goes round the column to Wyjście.
    CHECKED(press({QStringLiteral("Escape")}));
    CHECKED(waitUntilGone(GameSize));
    const QImage exitBefore = areaOf(*m_menu, MenuExitButton);
    CHECKED(press({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab")}));
    CHECKED(waitForChange(*m_menu, MenuExitButton, exitBefore));
    CHECKED(press({QStringLiteral("Return")}));
    QTest::qWait(300);
    CHECKED(screenshot(QStringLiteral("focus-exit-panel"), m_menu));
    // The exit question opens on Tak.
    CHECKED(press({QStringLiteral("Return")}));
    QVERIFY2(m_game.waitForFinished(Patience), "the program did not end");
    QCOMPARE(m_game.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_game.exitCode(), 0);
    endStep();
}

void E2eKeyboardGame::hiveHoldsTheNewEntry()
{
    BEGIN_STEP();
    CHECKED(checkHiveHoldsTheEntry());
    endStep();
}

int main(int argc, char** argv)
{
    // Our own options first; the rest is Qt Test's.
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        const QByteArray argument = argv[i];
        if ((argument == "--wine" || argument == "--pictures") && i + 1 < argc)
            (argument == "--wine" ? options.wineProgram : options.pictures) = QString::fromLocal8Bit(argv[++i]);
        else if (argument == "--keyboard")
            options.keyboard = true;
        else if (argument == "--screen-reader" && i + 1 < argc)
            options.screenReader = QString::fromLocal8Bit(argv[++i]);
        else if (argument == "--dpi" && i + 1 < argc)
            options.dpi = std::atoi(argv[++i]);
        else
            rest.push_back(argv[i]);
    }
    int restCount = static_cast<int>(rest.size());
    rest.push_back(nullptr);
    QApplication app(restCount, rest.data());
    if (options.keyboard) {
        E2eKeyboardGame test;
        return QTest::qExec(&test, restCount, rest.data());
    }
    E2eGame test;
    return QTest::qExec(&test, restCount, rest.data());
}
#include "e2e_game_test.moc"
