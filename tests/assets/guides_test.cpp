// The guide pictures agree with the worked example's text: the sample solution is right, each step picture shows the digits entered so far in red, and every heading reads on its background.
#include "Board.h"
#include "SampleDiagram.h"
#include "Studio.h"

#include <QGuiApplication>
#include <QImage>
#include <QtTest>

using painter::Grid;

namespace {

bool isRed(QRgb p)
{
    return qRed(p) > 170 && qGreen(p) < 110 && qBlue(p) < 110;
}

bool isDark(QRgb p)
{
    return qRed(p) < 90 && qGreen(p) < 90 && qBlue(p) < 90;
}

// The diagram fills its picture inside a small margin; this is the middle of one cell.
QRect cellMiddle(const QImage &picture, int row, int col)
{
    const qreal width = (picture.width() - 10) / 9.0;
    const qreal height = (picture.height() - 10) / 9.0;
    const QRectF cell(5 + (col - 1) * width, 5 + (row - 1) * height, width, height);
    return cell.adjusted(width * 0.2, height * 0.15, -width * 0.2, -height * 0.15).toRect();
}

int countIn(const QImage &picture, const QRect &area, bool (*test)(QRgb))
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += test(picture.pixel(x, y)) ? 1 : 0;
    return n;
}

// Cells the text fills at each step, found from the givens: step 1 the sixth row's gaps,
// step 2 the fifth column's remaining gaps.
QList<QPoint> stepCells(int step)
{
    const Grid &givens = painter::sampleGivens();
    QList<QPoint> cells;
    for (int c = 1; c <= 9; ++c)
        if (givens[5][c - 1] == 0)
            cells << QPoint(c, 6);
    if (step >= 2) {
        for (int r = 1; r <= 9; ++r)
            if (givens[r - 1][4] == 0 && r != 6)
                cells << QPoint(5, r);
    }
    return cells;
}

// A pixel that is the backdrop evenly darkened: the letters' shadow, not the letters.
bool isShadowOf(QRgb pixel, const QColor &backdrop)
{
    const qreal b[] = {backdrop.redF(), backdrop.greenF(), backdrop.blueF()};
    const qreal c[] = {qRed(pixel) / 255.0, qGreen(pixel) / 255.0, qBlue(pixel) / 255.0};
    const qreal k = (b[0] * c[0] + b[1] * c[1] + b[2] * c[2]) / (b[0] * b[0] + b[1] * b[1] + b[2] * b[2]);
    return k < 1 && std::abs(c[0] - k * b[0]) < 0.025 && std::abs(c[1] - k * b[1]) < 0.025
           && std::abs(c[2] - k * b[2]) < 0.025;
}

// The contrast between the body of the letters and the backdrop (the area's commonest colour)
// that all but the lowest hundredth of the body reaches. Ink is a pixel that stands out from the
// backdrop and is no shadow; the body is the ink whose neighbours up to two pixels away are ink
// too: the smoothed edges, shadows and light halos around the letters do not count, and the
// hundredth left out is the backdrop glimpsed through the narrowest counters.
// Returns the ratio and the number of body pixels.
std::pair<qreal, int> letterContrast(const QImage &area)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            ++counts[area.pixel(x, y)];
    QRgb commonest = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(commonest))
            commonest = it.key();
    const QColor backdrop(commonest);
    auto ink = [&](int x, int y) {
        const QRgb pixel = area.pixel(x, y);
        return painter::contrastRatio(QColor(pixel), backdrop) >= 1.5 && !isShadowOf(pixel, backdrop);
    };
    QList<qreal> body;
    for (int y = 2; y + 2 < area.height(); ++y) {
        for (int x = 2; x + 2 < area.width(); ++x) {
            bool inside = true;
            for (int dy = -2; dy <= 2 && inside; ++dy)
                for (int dx = -2; dx <= 2 && inside; ++dx)
                    inside = ink(x + dx, y + dy);
            if (!inside)
                continue;
            body << painter::contrastRatio(QColor(area.pixel(x, y)), backdrop);
        }
    }
    if (body.isEmpty())
        return {1, 0};
    std::sort(body.begin(), body.end());
    return {body[body.size() / 100], int(body.size())};
}

} // namespace

class GuidesTest : public QObject
{
    Q_OBJECT

private slots:
    void sampleSolutionSolvesTheGivens();
    void stepsEnterWhatTheTextSays();
    void stepPictureShowsEnteredDigitsInRed_data();
    void stepPictureShowsEnteredDigitsInRed();
    void headingReadsOnItsBackground_data();
    void headingReadsOnItsBackground();
};

void GuidesTest::sampleSolutionSolvesTheGivens()
{
    QCOMPARE(painter::sampleDiagramFault(), std::string());
    Board::Snapshot values{};
    const Grid &solution = painter::sampleSolution();
    const Grid &givens = painter::sampleGivens();
    for (int r = 0; r < 9; ++r) {
        for (int c = 0; c < 9; ++c) {
            values[r][c] = solution[r][c];
            if (givens[r][c] != 0)
                QCOMPARE(solution[r][c], givens[r][c]);
        }
    }
    QCOMPARE(Board::Verify(values), VerifyResult::Solved);
}

void GuidesTest::stepsEnterWhatTheTextSays()
{
    const Grid &solution = painter::sampleSolution();
    // Step 1: the sixth row lacks exactly 1 and 2; 1 goes into its first gap from the left.
    const QList<QPoint> one = stepCells(1);
    QCOMPARE(one.size(), 2);
    QCOMPARE(solution[5][one[0].x() - 1], 1);
    QCOMPARE(solution[5][one[1].x() - 1], 2);
    // Step 2: the fifth column then lacks 3 and 4; 3 at the bottom, 4 at the top.
    const QList<QPoint> two = stepCells(2).mid(2);
    QCOMPARE(two.size(), 2);
    QCOMPARE(solution[two[0].y() - 1][4], 4);
    QCOMPARE(solution[two[1].y() - 1][4], 3);
    // The worked steps are the painter's as well.
    QCOMPARE(int(painter::stepOneEntries().size() + painter::stepTwoEntries().size()), 4);
    for (const auto *entries : {&painter::stepOneEntries(), &painter::stepTwoEntries()})
        for (const painter::StepEntry &e : *entries)
            QVERIFY(stepCells(2).contains(QPoint(e.col, e.row)));
}

void GuidesTest::stepPictureShowsEnteredDigitsInRed_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<int>("step");
    QTest::newRow("step 1 picture: givens only") << "example/Image1" << 0;
    QTest::newRow("step 2 picture: after step 1") << "example/Image4" << 1;
    QTest::newRow("step 3 picture: after steps 1 and 2") << "example/Image6" << 2;
    QTest::newRow("solution: every filled digit") << "example/Image9" << 9;
}

void GuidesTest::stepPictureShowsEnteredDigitsInRed()
{
    QFETCH(QString, picture);
    QFETCH(int, step);
    const QImage image = QImage(":/pictures/" + picture + ".png").convertToFormat(QImage::Format_RGB32);
    QVERIFY(!image.isNull());
    const Grid &givens = painter::sampleGivens();
    const QList<QPoint> entered = (step == 1 || step == 2) ? stepCells(step) : QList<QPoint>();
    for (int r = 1; r <= 9; ++r) {
        for (int c = 1; c <= 9; ++c) {
            const QRect middle = cellMiddle(image, r, c);
            const bool given = givens[r - 1][c - 1] != 0;
            const bool red = step == 9 ? !given : entered.contains(QPoint(c, r));
            const QString where = QString("cell %1,%2").arg(r).arg(c);
            if (red)
                QVERIFY2(countIn(image, middle, isRed) > 8, qPrintable(where + " lacks its red digit"));
            else
                QVERIFY2(countIn(image, middle, isRed) == 0, qPrintable(where + " shows red"));
            if (given)
                QVERIFY2(countIn(image, middle, isDark) > 8, qPrintable(where + " lacks its given"));
        }
    }
}

void GuidesTest::headingReadsOnItsBackground_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QRect>("area");   // empty: the whole picture
    QTest::newRow("preview: Podgląd") << "preview/background" << QRect(12, 6, 190, 50);
    QTest::newRow("tips: Trzy dobre rady") << "tips/background" << QRect(14, 8, 203, 38);
    QTest::newRow("example: Przykład") << "example/background" << QRect(100, 6, 240, 54);
    QTest::newRow("example: Krok 1.") << "example/Image2" << QRect();
    QTest::newRow("example: Krok 2.") << "example/Image3" << QRect();
    QTest::newRow("example: Krok 3.") << "example/Image5" << QRect();
    QTest::newRow("example: Wypełnij w ten sposób") << "example/Image7" << QRect();
    QTest::newRow("example: Rozwiązanie:") << "example/Image8" << QRect();
    QTest::newRow("menu: SUDOKU") << "menu/Image1" << QRect();
    QTest::newRow("menu: Jak grać ???") << "menu/Image5" << QRect();
    QTest::newRow("menu: Nowa gra") << "menu/Image4" << QRect();
    QTest::newRow("menu: Wyjść z gry") << "menu/Image2" << QRect();
    QTest::newRow("menu: O grze ...") << "menu/Image3" << QRect();
    QTest::newRow("game: Diagram SUDOKU") << "game/background" << QRect(24, 7, 380, 47);
    QTest::newRow("game: UWAGA") << "game/panel" << QRect(110, 5, 160, 32);
    QTest::newRow("results: Najlepsze wyniki") << "results/background" << QRect(40, 4, 210, 40);
}

void GuidesTest::headingReadsOnItsBackground()
{
    QFETCH(QString, picture);
    QFETCH(QRect, area);
    QCOMPARE(painter::contrastRatio(Qt::black, Qt::white), 21.0);
    // The dense twin: its strokes are wide enough to have a body however small the letters.
    const QImage image = QImage(":/pictures/" + picture + "@2x.png").convertToFormat(QImage::Format_RGB32);
    QVERIFY(!image.isNull());
    const QRect twice(area.topLeft() * 2, area.size() * 2);
    const auto [ratio, body] = letterContrast(area.isEmpty() ? image : image.copy(twice));
    qInfo("%s: %.2f:1", QTest::currentDataTag(), ratio);
    QVERIFY2(body > 40, "no letters found");
    QVERIFY2(ratio >= 4.5, qPrintable(QString("the letters read at %1:1").arg(ratio, 0, 'f', 2)));
}

QTEST_MAIN(GuidesTest)
#include "guides_test.moc"
