// Renders the game and results windows in their typical states to PNG files, for the docs.
// Pointer moves go through the window system as logical positions, so hover works on scaled screens too.
#define QTEST_QPA_MOUSE_HANDLING
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTest>

#include <cstdio>

#include "BestResults.h"
#include "BundledFonts.h"
#include "GameTestSupport.h"
#include "OwnHive.h"
#include "Solver.h"
#include "TArrowHint.h"
#include "TFSudoku.h"
#include "TF_Wyniki.h"
#include "TImageButton.h"

namespace {

// The window as the player sees it: the picture cut to the window's outline.
bool save(QWidget* window, const QString& path)
{
    const QPixmap shot = window->grab();
    QImage image(shot.size(), QImage::Format_ARGB32_Premultiplied);
    // The outline is in the window's pixels; on a screen at 125 or 150 % the picture has more.
    image.setDevicePixelRatio(shot.devicePixelRatio());
    image.fill(Qt::transparent);
    QPainter painter(&image);
    if (!window->mask().isEmpty())
        painter.setClipRegion(window->mask());
    painter.drawPixmap(0, 0, shot);
    painter.end();
    const bool saved = image.save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

QLabel* cell(QWidget* game, int row, int column)
{
    return game->findChild<QLabel*>(QStringLiteral("L%1%2").arg(row).arg(column));
}

bool isOpen(QLabel* label)
{
    return label->palette().color(QPalette::WindowText) == QColor(0, 0, 0);
}

void click(QWidget* window, const char* name)
{
    QTest::mouseClick(window->findChild<TImageButton*>(QLatin1String(name)), Qt::LeftButton);
}

Solver::Cells solution(QWidget* game)
{
    Board::Snapshot givens{};
    for (int row = 1; row <= 9; ++row)
        for (int column = 1; column <= 9; ++column)
            if (!isOpen(cell(game, row, column)))
                givens[row - 1][column - 1] = Board::TextValue(cell(game, row, column)->text().toStdString());
    return Solver(givens).FirstSolution().value_or(Solver::Cells{});
}

// Types the solution's digit into open cells, the first `count` of them in reading order.
void fill(QWidget* game, const Solver::Cells& values, int count, int skipDigit = 0)
{
    for (int row = 1; row <= 9 && count > 0; ++row)
        for (int column = 1; column <= 9 && count > 0; ++column) {
            QLabel* target = cell(game, row, column);
            if (!isOpen(target))
                continue;
            const int digit = values[(row - 1) * 9 + column - 1];
            QTest::mouseMove(target);
            QTest::keyClick(game, char('0' + (digit == skipDigit ? digit % 9 + 1 : digit)));
            --count;
        }
}

} // namespace

int main(int argc, char** argv)
{
    // The list shown comes from a hive of its own, never the player's.
    const OwnHive hive;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegisterBundledFonts();
    new TArrowHint(&app);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(SCREENSHOT_DIR));
    out.mkpath(QStringLiteral("."));

    BestResults results;
    results.Initialise();
    const std::pair<const char*, int> players[] = {
        {"Małgorzata", 312}, {"Paweł", 365}, {"Zażółć Gęślą", 401}, {"Tomek", 455}, {"Ania", 498},
        {"Krzysztof", 563}, {"Gracz", 640}, {"Łukasz", 754}, {"Ewa", 1210}, {"Dziadek Józef", 3725},
    };
    for (const auto& [name, seconds] : players)
        results.Add(name, seconds);

    TF_Wyniki resultsWindow;
    F_Wyniki = &resultsWindow;
    TFSudoku game;
    FSudoku = &game;
    TFSudoku::setRevealPause([] {});
    game.show();
    bool ok = QTest::qWaitForWindowExposed(&game);
    ok &= save(&game, out.filePath(QStringLiteral("game-welcome.png")));

    const std::uint32_t seed = seedDealing(3);
    TFSudoku::setDealTimeSource([seed] { return seed; });
    click(&game, "ImageButton1");
    QCursor::setPos(1000, 1000);
    QApplication::processEvents();
    ok &= save(&game, out.filePath(QStringLiteral("game-dealt.png")));

    // A game in play: some digits typed, the pointer resting on an empty cell.
    const Solver::Cells values = solution(&game);
    fill(&game, values, 14);
    QLabel* marked = nullptr;
    for (int row = 4; row <= 9 && !marked; ++row)
        for (int column = 1; column <= 9 && !marked; ++column)
            if (isOpen(cell(&game, row, column)))
                marked = cell(&game, row, column);
    QTest::mouseMove(marked);
    auto* timer = game.findChild<QTimer*>(QStringLiteral("Timer"));
    timer->stop();
    for (int tick = 0; tick < 83; ++tick)
        game.TimerTimer();
    ok &= save(&game, out.filePath(QStringLiteral("game-in-play.png")));

    click(&game, "ImageButton8");
    ok &= save(&game, out.filePath(QStringLiteral("game-message-incomplete.png")));
    click(&game, "ImageButton4");

    // Full, with one digit wrong.
    fill(&game, values, 81, values[80]);
    click(&game, "ImageButton8");
    ok &= save(&game, out.filePath(QStringLiteral("game-message-incorrect.png")));
    click(&game, "ImageButton4");

    fill(&game, values, 81);
    // The solved time would enter the list: answer the name prompt.
    answerNextDialog([](QWidget* dialog) {
        QList<QAbstractButton*> buttons = dialog->findChildren<QAbstractButton*>();
        for (QAbstractButton* button : buttons)
            if (button->text() == QStringLiteral("Anuluj"))
                button->click();
    });
    click(&game, "ImageButton8");
    QCursor::setPos(1000, 1000);
    QApplication::processEvents();
    ok &= save(&game, out.filePath(QStringLiteral("game-message-solved.png")));

    resultsWindow.show();
    ok &= QTest::qWaitForWindowExposed(&resultsWindow);
    ok &= save(&resultsWindow, out.filePath(QStringLiteral("results-full-list.png")));
    return ok ? 0 : 1;
}
