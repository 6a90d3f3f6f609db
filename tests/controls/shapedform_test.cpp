// Tests of the shaped window: fitting, the outline, placement, and the drag rule under mouse events.
#define QTEST_QPA_MOUSE_HANDLING
#include "TShapedForm.h"
#include "TestPictures.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QtTest>
#include <stdexcept>

namespace {

const QPoint Start(100, 100);

// A move with the given buttons and keys held, delivered as the platform would.
void moveTo(TShapedForm *form, QPoint global, Qt::MouseButtons buttons, Qt::KeyboardModifiers keys = {})
{
    const QPointF local = form->mapFromGlobal(global);
    QMouseEvent event(QEvent::MouseMove, local, local, QPointF(global), Qt::NoButton, buttons, keys);
    QApplication::sendEvent(form, &event);
}

void pressAt(TShapedForm *form, QPoint global, Qt::MouseButton button, Qt::MouseButtons held)
{
    const QPointF local = form->mapFromGlobal(global);
    QMouseEvent event(QEvent::MouseButtonPress, local, local, QPointF(global), button, held, {});
    QApplication::sendEvent(form, &event);
}

void releaseAt(TShapedForm *form, QPoint global, Qt::MouseButton button, Qt::MouseButtons held)
{
    const QPointF local = form->mapFromGlobal(global);
    QMouseEvent event(QEvent::MouseButtonRelease, local, local, QPointF(global), button, held, {});
    QApplication::sendEvent(form, &event);
}

class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

}  // namespace

class ShapedFormTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loadingFitsWindowAndAppliesOutline();
    void placingOnAChildReportsTheError();
    void zeroMaskLeavesWindowRectangular();
    void leftDragMovesByThePointersTravel();
    void keysHeldStopTheDragUntilReleased();
    void rightPressMovesTheGrabPoint();
    void mouseMoveIsRaisedBeforeTheWindowMoves();
    void windowRepaintsDuringTheDrag();
    void notMoveableStaysPut();

private:
    QWidget *m_window = nullptr;
    TShapedForm *m_form = nullptr;
};

void ShapedFormTest::init()
{
    m_window = new QWidget;
    m_form = new TShapedForm(m_window);
    m_form->setPicture(solidPicture(QSize(587, 365), QColor(10, 120, 200)));
    m_form->setMaskResource(QStringLiteral(":/outlines/TFSudoku.Mask.Data"));
    m_form->Loaded();
    m_window->move(Start);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void ShapedFormTest::cleanup()
{
    delete m_window;
    QCursor::setPos(1000, 1000);
}

void ShapedFormTest::loadingFitsWindowAndAppliesOutline()
{
    QCOMPARE(m_window->size(), QSize(587, 365));
    QCOMPARE(m_form->geometry(), QRect(0, 0, 587, 365));
    QVERIFY(m_window->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(m_form->placementError().isEmpty());
    const QRegion outline = m_window->mask();
    QCOMPARE(outline.rectCount(), 11);
    QVERIFY(!outline.contains(QPoint(586, 180)));
    QVERIFY(!outline.contains(QPoint(5, 0)));
    QVERIFY(outline.contains(QPoint(6, 0)));
    QVERIFY(!outline.contains(QPoint(581, 0)));
    QVERIFY(!outline.contains(QPoint(0, 364)));
    // The picture covers the window.
    QCOMPARE(paintedAt(m_window, QPoint(300, 200)), QColor(10, 120, 200));
    // A picture twice as dense keeps the window at the layout size.
    m_form->setPicture(solidPicture(QSize(290, 338), Qt::white, 2.0));
    QCOMPARE(m_window->size(), QSize(290, 338));
}

void ShapedFormTest::placingOnAChildReportsTheError()
{
    QWidget panel(m_window);
    TShapedForm misplaced(&panel);
    QCOMPARE(misplaced.parentWidget(), &panel);
    QCOMPARE(misplaced.placementError(), QStringLiteral("Please Drop on a Form"));
    QVERIFY(!(panel.windowFlags() & Qt::FramelessWindowHint));
    try {
        misplaced.Loaded();
        QFAIL("Loaded() accepted a control that is not on a window");
    } catch (const std::runtime_error &error) {
        QCOMPARE(QString::fromLatin1(error.what()), QStringLiteral("Please Drop on a Form"));
    }
    // Taken off, and placed on a window: no error any more.
    misplaced.setParent(nullptr);
    QVERIFY(misplaced.placementError().isEmpty());
    QWidget other;
    misplaced.setParent(&other);
    QVERIFY(misplaced.placementError().isEmpty());
    QVERIFY(other.windowFlags() & Qt::FramelessWindowHint);
    misplaced.setParent(nullptr);
}

void ShapedFormTest::zeroMaskLeavesWindowRectangular()
{
    QTemporaryFile zero;
    QVERIFY(zero.open());
    zero.write(QByteArray(4, '\0'));
    zero.close();
    m_form->setMaskResource(zero.fileName());
    m_form->Loaded();
    QVERIFY(m_window->mask().isEmpty());
    QVERIFY(!m_form->Mask().hasRegion());
    QCOMPARE(m_form->Mask().writeData(), QByteArray(4, '\0'));
}

void ShapedFormTest::leftDragMovesByThePointersTravel()
{
    QTest::mousePress(m_form, Qt::LeftButton, {}, QPoint(50, 50));
    QCOMPARE(m_form->GrabPoint(), QPoint(50, 50));
    QTest::mouseMove(m_form, QPoint(60, 55));   // local to where the window is now
    QCOMPARE(m_window->pos(), Start + QPoint(10, 5));
    QTest::mouseMove(m_form, QPoint(47, 80));
    QCOMPARE(m_window->pos(), Start + QPoint(7, 35));
    QCOMPARE(m_form->GrabPoint(), QPoint(50, 50));
    QTest::mouseRelease(m_form, Qt::LeftButton, {}, QPoint(50, 50));
    QCOMPARE(m_window->pos(), Start + QPoint(7, 35));
}

void ShapedFormTest::keysHeldStopTheDragUntilReleased()
{
    pressAt(m_form, Start + QPoint(50, 50), Qt::LeftButton, Qt::LeftButton);
    moveTo(m_form, Start + QPoint(60, 50), Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(m_window->pos(), Start);
    moveTo(m_form, Start + QPoint(70, 60), Qt::LeftButton, Qt::ControlModifier);
    QCOMPARE(m_window->pos(), Start);
    // Keys released: the whole travel since the press at once.
    moveTo(m_form, Start + QPoint(80, 70), Qt::LeftButton);
    QCOMPARE(m_window->pos(), Start + QPoint(30, 20));
}

void ShapedFormTest::rightPressMovesTheGrabPoint()
{
    // A right press alone moves nothing but sets the grab point.
    pressAt(m_form, Start + QPoint(200, 100), Qt::RightButton, Qt::RightButton);
    QCOMPARE(m_form->GrabPoint(), QPoint(200, 100));
    moveTo(m_form, Start + QPoint(230, 100), Qt::RightButton);
    QCOMPARE(m_window->pos(), Start);
    releaseAt(m_form, Start + QPoint(230, 100), Qt::RightButton, {});

    // During a left drag: the window stays, then follows from the right press.
    pressAt(m_form, Start + QPoint(50, 50), Qt::LeftButton, Qt::LeftButton);
    moveTo(m_form, Start + QPoint(60, 50), Qt::LeftButton);
    const QPoint moved = Start + QPoint(10, 0);
    QCOMPARE(m_window->pos(), moved);
    pressAt(m_form, moved + QPoint(20, 20), Qt::RightButton, Qt::LeftButton | Qt::RightButton);
    QCOMPARE(m_form->GrabPoint(), QPoint(20, 20));
    moveTo(m_form, moved + QPoint(40, 20), Qt::LeftButton | Qt::RightButton);
    QCOMPARE(m_window->pos(), moved);
    releaseAt(m_form, moved + QPoint(40, 20), Qt::RightButton, Qt::LeftButton);
    moveTo(m_form, moved + QPoint(45, 25), Qt::LeftButton);
    QCOMPARE(m_window->pos(), moved + QPoint(25, 5));
}

void ShapedFormTest::mouseMoveIsRaisedBeforeTheWindowMoves()
{
    QList<QPoint> windowAtSignal;
    connect(m_form, &TShapedForm::OnMouseMove, this, [&] { windowAtSignal << m_window->pos(); });
    QList<QPoint> grabAtDown;
    connect(m_form, &TShapedForm::OnMouseDown, this, [&] { grabAtDown << m_form->GrabPoint(); });

    QTest::mouseMove(m_form, QPoint(30, 30));
    QVERIFY(!windowAtSignal.isEmpty());   // also without a button held
    QTest::mousePress(m_form, Qt::LeftButton, {}, QPoint(40, 40));
    QCOMPARE(grabAtDown, QList<QPoint>{QPoint()});   // raised before the grab point is set
    windowAtSignal.clear();
    QTest::mouseMove(m_form, QPoint(50, 40));
    QTest::mouseMove(m_form, QPoint(50, 50));
    QCOMPARE(windowAtSignal, (QList<QPoint>{Start, Start + QPoint(10, 0)}));
    QTest::mouseRelease(m_form, Qt::LeftButton, {}, QPoint(40, 40));
}

void ShapedFormTest::windowRepaintsDuringTheDrag()
{
    PaintCounter counter;
    m_form->installEventFilter(&counter);
    pressAt(m_form, Start + QPoint(50, 50), Qt::LeftButton, Qt::LeftButton);
    moveTo(m_form, Start + QPoint(70, 50), Qt::LeftButton);
    // Painted before the move returned, without waiting for the event loop.
    QVERIFY(counter.paints > 0);
}

void ShapedFormTest::notMoveableStaysPut()
{
    m_form->setMoveable(false);
    QTest::mousePress(m_form, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseMove(m_form, QPoint(90, 90));
    QCOMPARE(m_window->pos(), Start);
    QTest::mouseRelease(m_form, Qt::LeftButton, {}, QPoint(90, 90));
}

QTEST_MAIN(ShapedFormTest)
#include "shapedform_test.moc"
