// The guide pictures agree with the worked example's text: the sample solution is right, and each step picture shows the digits entered so far in red.
#include "Board.h"
#include "SampleDiagram.h"

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

} // namespace

class GuidesTest : public QObject
{
    Q_OBJECT

private slots:
    void sampleSolutionSolvesTheGivens();
    void stepsEnterWhatTheTextSays();
    void stepPictureShowsEnteredDigitsInRed_data();
    void stepPictureShowsEnteredDigitsInRed();
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

QTEST_MAIN(GuidesTest)
#include "guides_test.moc"
