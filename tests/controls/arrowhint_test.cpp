// Tests of the balloon hint: placement per screen quadrant, the arrow, painting and when it shows.
#define QTEST_QPA_MOUSE_HANDLING
#include "TArrowHint.h"
#include "TImageButton.h"
#include "TestPictures.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>
#include <QtTest>

namespace {
using Corner = TArrowHintWindow::Corner;
using Slot = TArrowHint::ColourSlot;
const QSize Screen(1024, 768);
const QSize Balloon(100, 40);
}  // namespace

class ArrowHintTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void cornerFollowsThePointersQuadrant_data();
    void cornerFollowsThePointersQuadrant();
    void balloonOpensTowardsTheCentre_data();
    void balloonOpensTowardsTheCentre();
    void arrowSitsInTheCornerNearestThePointer_data();
    void arrowSitsInTheCornerNearestThePointer();
    void textIsMeasuredWithinTheWidthLimit();
    void coloursAreSetBySlot();
    void paintsColumnTextAreaFrameAndArrow();
    void showsAfterRestingAndHidesLater();
    void movingOnWhileShownTakesTheShortPause();
    void otherTooltipsAreNeverShown();

private:
    TArrowHint *m_hint = nullptr;
};

void ArrowHintTest::init()
{
    m_hint = new TArrowHint;
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    m_hint->setFont(font);
}

void ArrowHintTest::cleanup()
{
    delete m_hint;
    QCursor::setPos(1000, 1000);
}

void ArrowHintTest::cornerFollowsThePointersQuadrant_data()
{
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<Corner>("corner");
    QTest::newRow("top-left quadrant") << QPoint(100, 100) << Corner::TopLeft;
    QTest::newRow("screen origin") << QPoint(0, 0) << Corner::TopLeft;
    QTest::newRow("just left of the middle") << QPoint(511, 383) << Corner::TopLeft;
    QTest::newRow("top-right quadrant") << QPoint(900, 100) << Corner::TopRight;
    QTest::newRow("middle column belongs to the right") << QPoint(512, 0) << Corner::TopRight;
    QTest::newRow("bottom-left quadrant") << QPoint(100, 700) << Corner::BottomLeft;
    QTest::newRow("middle row belongs to the bottom") << QPoint(0, 384) << Corner::BottomLeft;
    QTest::newRow("bottom-right quadrant") << QPoint(900, 700) << Corner::BottomRight;
    QTest::newRow("screen centre") << QPoint(512, 384) << Corner::BottomRight;
    QTest::newRow("left of the screen") << QPoint(-5, 100) << Corner::BottomRight;
    QTest::newRow("below the screen") << QPoint(100, 768) << Corner::BottomRight;
}

void ArrowHintTest::cornerFollowsThePointersQuadrant()
{
    QFETCH(QPoint, pointer);
    QFETCH(Corner, corner);
    QCOMPARE(TArrowHintWindow::arrowCornerFor(pointer, Screen), corner);
}

void ArrowHintTest::balloonOpensTowardsTheCentre_data()
{
    QTest::addColumn<Corner>("corner");
    QTest::addColumn<QRect>("balloon");
    const QPoint p(300, 200);
    QTest::newRow("top-left quadrant: right and below, 12 off") << Corner::TopLeft << QRect(p + QPoint(12, 12), Balloon);
    QTest::newRow("top-right quadrant: left and below, 5 off") << Corner::TopRight << QRect(p + QPoint(-105, 5), Balloon);
    QTest::newRow("bottom-left quadrant: right and above, 5 off") << Corner::BottomLeft << QRect(p + QPoint(5, -45), Balloon);
    QTest::newRow("bottom-right quadrant: left and above, 5 off") << Corner::BottomRight << QRect(p + QPoint(-105, -45), Balloon);
}

void ArrowHintTest::balloonOpensTowardsTheCentre()
{
    QFETCH(Corner, corner);
    QFETCH(QRect, balloon);
    QCOMPARE(TArrowHintWindow::balloonRect(QPoint(300, 200), Balloon, corner), balloon);
}

void ArrowHintTest::arrowSitsInTheCornerNearestThePointer_data()
{
    QTest::addColumn<Corner>("corner");
    QTest::addColumn<QPoint>("tip");
    QTest::addColumn<QRect>("column");
    QTest::addColumn<QPoint>("lastPoint");
    QTest::newRow("top left") << Corner::TopLeft << QPoint(3, 3) << QRect(1, 1, 14, 38) << QPoint(10, 9);
    QTest::newRow("top right") << Corner::TopRight << QPoint(96, 3) << QRect(85, 1, 14, 38) << QPoint(89, 9);
    QTest::newRow("bottom left") << Corner::BottomLeft << QPoint(3, 36) << QRect(1, 1, 14, 38) << QPoint(10, 30);
    QTest::newRow("bottom right") << Corner::BottomRight << QPoint(96, 36) << QRect(85, 1, 14, 38) << QPoint(89, 30);
}

void ArrowHintTest::arrowSitsInTheCornerNearestThePointer()
{
    QFETCH(Corner, corner);
    QFETCH(QPoint, tip);
    QFETCH(QRect, column);
    QFETCH(QPoint, lastPoint);
    QCOMPARE(TArrowHintWindow::arrowTip(corner, Balloon), tip);
    QCOMPARE(TArrowHintWindow::arrowColumn(corner, Balloon), column);
    const QRect text = TArrowHintWindow::textArea(corner, Balloon);
    QCOMPARE(text.width() + column.width(), Balloon.width() - 2);
    QVERIFY(!text.intersects(column));
    const auto points = TArrowHintWindow::arrowPoints(corner, tip);
    QCOMPARE(points.front(), tip);
    QCOMPARE(points.back(), lastPoint);
    for (const QPoint &point : points)
        QVERIFY2(column.contains(point), qPrintable(QStringLiteral("%1,%2").arg(point.x()).arg(point.y())));
}

void ArrowHintTest::textIsMeasuredWithinTheWidthLimit()
{
    const QFont font = m_hint->Font();
    const QFontMetrics metrics(font);
    const QSize word = TArrowHintWindow::measureText(font, QStringLiteral("Zamknij"), 200);
    // One line as wide as the word (fractional advances round up).
    QVERIFY(qAbs(word.width() - metrics.horizontalAdvance(QStringLiteral("Zamknij"))) <= 1);
    QVERIFY(qAbs(word.height() - metrics.height()) <= 1);
    QCOMPARE(TArrowHintWindow::balloonSize(word), word + QSize(22, 6));

    const QString longText = QStringLiteral("Sprawdza, czy diagram został rozwiązany zgodnie z regułami gry w sudoku");
    const QSize wrapped = TArrowHintWindow::measureText(font, longText, 200);
    QVERIFY(wrapped.width() <= 178);
    QVERIFY(wrapped.height() >= 2 * metrics.height());
    QVERIFY(TArrowHintWindow::balloonSize(wrapped).width() <= 200);

    const QString oneLongWord(60, QLatin1Char('W'));
    QVERIFY(TArrowHintWindow::measureText(font, oneLongWord, 200).width() > 178);
    // A carriage return starts a new line.
    QVERIFY(TArrowHintWindow::measureText(font, QStringLiteral("Tak\rNie"), 200).height() >= 2 * metrics.height());
}

void ArrowHintTest::coloursAreSetBySlot()
{
    QCOMPARE(m_hint->ColorBackground(), QColor(255, 255, 255));
    QCOMPARE(m_hint->ColorArrowBackground(), QColor(255, 210, 83));
    const QColor green(187, 228, 170);
    m_hint->setColor(Slot::Background, green);
    m_hint->setColor(Slot::ArrowBackground, green);
    // A value that names none of the four slots changes nothing.
    m_hint->setColor(static_cast<Slot>(4), Qt::red);
    m_hint->setColor(static_cast<Slot>(-1), Qt::red);
    QCOMPARE(m_hint->ColorBackground(), green);
    QCOMPARE(m_hint->ColorArrowBackground(), green);
    QCOMPARE(m_hint->ColorBorder(), QColor(Qt::black));
    QCOMPARE(m_hint->ColorArrow(), QColor(Qt::black));
    QCOMPARE(TArrowHint::application(), m_hint);
}

void ArrowHintTest::paintsColumnTextAreaFrameAndArrow()
{
    const QColor background(187, 228, 170), column(255, 210, 83), frame(200, 0, 0), arrow(0, 0, 200);
    m_hint->setColor(Slot::Background, background);
    m_hint->setColor(Slot::Border, frame);
    m_hint->setColor(Slot::Arrow, arrow);
    TArrowHintWindow *window = m_hint->window();
    window->ActivateHint(QPoint(100, 100), QStringLiteral("Zamknij"), QRect(QPoint(0, 0), Screen));
    QCOMPARE(window->ArrowCorner(), Corner::TopLeft);
    QCOMPARE(window->pos(), QPoint(112, 112));
    QVERIFY(window->isVisible());
    QVERIFY(window->testAttribute(Qt::WA_ShowWithoutActivating));
    QVERIFY(window->windowFlags() & Qt::WindowStaysOnTopHint);

    const QImage image = window->grab().toImage();
    const int w = image.width(), h = image.height();
    QCOMPARE(image.pixelColor(0, 0), frame);
    QCOMPARE(image.pixelColor(w - 1, h - 1), frame);
    QCOMPARE(image.pixelColor(3, 3), arrow);           // the tip
    QCOMPARE(image.pixelColor(3, 9), arrow);           // the head's vertical arm
    QCOMPARE(image.pixelColor(13, h - 3), column);     // arrow column below the arrow
    QCOMPARE(image.pixelColor(w - 3, 2), background);  // text area
    QCOMPARE(window->ArrowTip(), QPoint(3, 3));

    // The arrow column in the text area's colour: one colour throughout.
    m_hint->setColor(Slot::ArrowBackground, background);
    QCOMPARE(paintedAt(window, QPoint(13, h - 3)), background);
    window->hide();
}

void ArrowHintTest::showsAfterRestingAndHidesLater()
{
    QCOMPARE(m_hint->HintPause(), 500);
    QCOMPARE(m_hint->HintShortPause(), 25);
    QCOMPARE(m_hint->HintHidePause(), 5000);
    QWidget window;
    window.resize(300, 200);
    auto *button = new TImageButton(&window);
    button->setBitmap(solidPicture(QSize(60, 30), Qt::gray));
    button->move(50, 50);
    button->setToolTip(QStringLiteral("Zamknij"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseMove(&window, QPoint(10, 10));
    QElapsedTimer clock;
    clock.start();
    QTest::mouseMove(button, QPoint(20, 10));
    QVERIFY(!m_hint->window()->isVisible());
    QTRY_VERIFY(m_hint->window()->isVisible());
    QVERIFY(clock.elapsed() >= 450);
    QCOMPARE(m_hint->window()->text(), QStringLiteral("Zamknij"));
    // Beside the pointer, not over it.
    QVERIFY(!m_hint->window()->geometry().contains(button->mapToGlobal(QPoint(20, 10))));

    clock.restart();
    QTRY_VERIFY_WITH_TIMEOUT(!m_hint->window()->isVisible(), 8000);
    QVERIFY(clock.elapsed() >= 4500);
}

void ArrowHintTest::movingOnWhileShownTakesTheShortPause()
{
    QWidget window;
    window.resize(300, 200);
    auto *first = new TImageButton(&window);
    first->setBitmap(solidPicture(QSize(60, 30), Qt::gray));
    first->move(20, 50);
    first->setToolTip(QStringLiteral("Pierwszy"));
    auto *second = new TImageButton(&window);
    second->setBitmap(solidPicture(QSize(60, 30), Qt::gray));
    second->move(80, 50);
    second->setToolTip(QStringLiteral("Drugi"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseMove(&window, QPoint(5, 5));
    QTest::mouseMove(first, QPoint(10, 10));
    QTRY_COMPARE(m_hint->window()->text(), QStringLiteral("Pierwszy"));
    QTRY_VERIFY(m_hint->window()->isVisible());
    // Only the short pause can show the next hint within the wait.
    m_hint->setHintPause(60000);
    QTest::mouseMove(second, QPoint(10, 10));
    QTRY_COMPARE(m_hint->window()->text(), QStringLiteral("Drugi"));
    QTRY_VERIFY(m_hint->window()->isVisible());

    // A press hides it.
    QTest::mousePress(second, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!m_hint->window()->isVisible());
    QTest::mouseRelease(second, Qt::LeftButton, {}, QPoint(10, 10));
}

void ArrowHintTest::otherTooltipsAreNeverShown()
{
    QWidget window;
    window.resize(200, 100);
    auto *cell = new QLabel(QStringLiteral("5"), &window);
    cell->setToolTip(QStringLiteral("Kliknij, aby zmienić cyfrę"));
    auto *quiet = new TImageButton(&window);
    quiet->move(100, 0);
    quiet->setToolTip(QStringLiteral("Zamknij"));
    quiet->setShowHint(false);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QVERIFY(!TArrowHint::wantsHint(cell));
    QVERIFY(!TArrowHint::wantsHint(quiet));
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), cell->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(cell, &help);
    QVERIFY(!QToolTip::isVisible());
    QVERIFY(!m_hint->window()->isVisible());
}

QTEST_MAIN(ArrowHintTest)
#include "arrowhint_test.moc"
