// The guide windows: the preview, the tips and the self-scrolling worked example.
#include "ShellTestSupport.h"

#include "ColorValue.h"
#include "TArrowHint.h"
#include "ProgramWindows.h"
#include "TFPodglad.h"
#include "TFPrzyklad.h"
#include "TFRady.h"
#include "TForm1.h"
#include "WindowLook.h"
#include "WindowPlacement.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTimer>

namespace {

void Click(const QWidget *window, const char *name)
{
    QTest::mouseClick(Child<QWidget>(window, name), Qt::LeftButton);
}

QScrollBar *ScrollBar()
{
    return Child<QScrollBar>(FPrzyklad, "ScrollBar1");
}

QWidget *StopPanel()
{
    return Child<QWidget>(FPrzyklad, "StopPanel");
}

int ContentTop()
{
    return Child<QWidget>(FPrzyklad, "Panel2")->y();
}

// Drives a run tick by tick (the 50 ms pace is the timer's business);
// returns the ticks it took, or -1 when it does not end.
int TicksToTheEnd()
{
    int ticks = 0;
    while (FPrzyklad->Timer1->isActive() && ticks < 1000) {
        FPrzyklad->Timer1Timer();
        ++ticks;
        if (ScrollBar()->value() > TFPrzyklad::ScrollEnd)
            return -1;
    }
    return FPrzyklad->Timer1->isActive() ? -1 : ticks;
}

QColor Balloon(TArrowHint::ColourSlot slot)
{
    return TArrowHint::application()->color(slot);
}

}  // namespace

class GuidesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        CreateProgramWindows();
        Form1->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form1));
    }

    void cleanupTestCase() { DestroyProgramWindows(); }

    // Every case starts with the example open from the menu, at the top, not scrolling.
    void init()
    {
        Click(Form1, "ImageButton4");
        Click(Form1, "ImageButton9");
        QVERIFY(QTest::qWaitForWindowExposed(FPrzyklad));
        FPrzyklad->ImageButton4Click();
        ScrollBar()->setValue(0);
    }

    void cleanup()
    {
        FPrzyklad->Timer1->stop();
        if (FRady->isVisible())
            FRady->close();
        if (FPrzyklad->isVisible())
            FPrzyklad->close();
        QCursor::setPos(1000, 1000);
    }

    void exampleOpensInTheTopRightCornerEveryTime()
    {
        const QPoint corner = TopRightPosition(QSize(440, 500), PlacementScreen(), 10);
        QCOMPARE(FPrzyklad->size(), QSize(440, 500));
        QCOMPARE(FPrzyklad->pos(), corner);
        QCOMPARE(Balloon(TArrowHint::ColourSlot::Background), ColorFromValue(WindowColour::Example));
        QCOMPARE(Balloon(TArrowHint::ColourSlot::ArrowBackground), ColorFromValue(WindowColour::Example));
        FPrzyklad->move(30, 40);
        Click(FPrzyklad, "ImageButton1");
        Click(Form1, "ImageButton9");
        QCOMPARE(FPrzyklad->pos(), corner);

        // A screen reader reads each step's heading, its diagram, then its text.
        const auto steps = Readable(Child<QWidget>(FPrzyklad, "Panel2"));
        QCOMPARE(steps.size(), 14);
        QCOMPARE(steps[0], qMakePair(QString("Krok 1."), QAccessible::Heading));
        QCOMPARE(steps[1].second, QAccessible::Graphic);
        QCOMPARE(steps[2].first, Child<QLabel>(FPrzyklad, "Label1")->text());
        QCOMPARE(steps[4], qMakePair(QString("Krok 2."), QAccessible::Heading));
        QCOMPARE(steps[7], qMakePair(QString("Krok 3."), QAccessible::Heading));
        QCOMPARE(steps[13].second, QAccessible::Graphic);
    }

    void previewAndTipsAreCentredEveryTime_data()
    {
        QTest::addColumn<QString>("opener");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QStringList>("read");   // the words on the picture, as a screen reader reads them
        QTest::newRow("preview") << "ImageButton7" << QSize(359, 373)
                                 << QStringList{"Podgląd", "kolumna", "kwadrat (3x3 kratki)", "rząd"};
        QTest::newRow("tips") << "ImageButton8" << QSize(231, 292)
                              << QStringList{"Trzy dobre rady",
                                             "1. Zaczynaj od uzupełniania rzędów, w których pozostało niewiele "
                                             "pustych kratek",
                                             "2. Przeszukuj małe kwadraty, w których jest niewiele pustych kratek",
                                             "3. Na końcu sprawdź w całym diagramie, czy wszystkie kratki są "
                                             "zapełnione"};
    }

    void previewAndTipsAreCentredEveryTime()
    {
        QFETCH(QString, opener);
        QFETCH(QSize, size);
        QFETCH(QStringList, read);
        Click(FPrzyklad, "ImageButton1");
        Click(Form1, "ImageButton1");
        QWidget *window = opener == "ImageButton7" ? static_cast<QWidget *>(FPodglad) : FRady;
        for (int showing = 0; showing < 2; ++showing) {
            Click(Form1, opener.toLatin1().constData());
            QCOMPARE(window->size(), size);
            QCOMPARE(window->pos(), CentredPosition(size, PlacementScreen()));
            const auto readable = Readable(window);
            for (int i = 0; i < read.size(); ++i)
                QCOMPARE(readable[i], qMakePair(read[i], QAccessible::StaticText));
            QCOMPARE(readable.last(), qMakePair(QString("Zamknij"), QAccessible::Button));
            window->move(5, 5);
            Click(window, "ImageButton1");
        }
        // Reopen the example for cleanup's sake.
        Click(Form1, "ImageButton4");
        Click(Form1, "ImageButton9");
    }

    void scrollBarMovesTheContentPane()
    {
        QCOMPARE(ScrollBar()->minimum(), 0);
        QCOMPARE(ScrollBar()->maximum(), TFPrzyklad::ScrollEnd);
        QCOMPARE(ScrollBar()->singleStep(), 3);
        ScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(ContentTop(), -3);
        ScrollBar()->setValue(TFPrzyklad::ScrollEnd);
        QCOMPARE(ContentTop(), -576);
        // The bottom of the content then meets the bottom of the viewport.
        const QWidget *pane = Child<QWidget>(FPrzyklad, "Panel2");
        QCOMPARE(pane->y() + pane->height(), Child<QWidget>(FPrzyklad, "Panel1")->height());
    }

    void scrollBarOffersNoEnglishMenu()
    {
        QScrollBar *bar = ScrollBar();
        bool popupShown = false;
        QTimer::singleShot(0, [&popupShown] {
            if (QWidget *popup = QApplication::activePopupWidget()) {
                popupShown = true;
                popup->close();
            }
        });
        const QPoint inside(8, 100);
        QContextMenuEvent request(QContextMenuEvent::Mouse, inside, bar->mapToGlobal(inside));
        QApplication::sendEvent(bar, &request);
        QApplication::processEvents();
        QVERIFY(!popupShown);
    }

    void runsEndExactlyAtTheBottom_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("firstPosition");
        QTest::addColumn<int>("ticks");
        QTest::newRow("from the bottom: starts again at the top") << 576 << 0 << 288;
        QTest::newRow("from the top") << 0 << 0 << 288;
        QTest::newRow("from 100 it continues") << 100 << 100 << 238;
        QTest::newRow("from an odd arrow position") << 99 << 99 << 239;
    }

    void runsEndExactlyAtTheBottom()
    {
        QFETCH(int, start);
        QFETCH(int, firstPosition);
        QFETCH(int, ticks);
        if (start == 99) {
            for (int step = 0; step < 33; ++step)
                ScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        } else {
            ScrollBar()->setValue(start);
        }
        QCOMPARE(ScrollBar()->value(), start);

        Click(FPrzyklad, "ImageButton3");
        QCOMPARE(ScrollBar()->value(), firstPosition);
        QVERIFY(StopPanel()->isVisible());
        QVERIFY(FPrzyklad->Timer1->isActive());
        QCOMPARE(FPrzyklad->Timer1->interval(), 50);

        QCOMPARE(TicksToTheEnd(), ticks);
        QCOMPARE(ScrollBar()->value(), 576);
        QCOMPARE(ContentTop(), -576);
        QVERIFY(!StopPanel()->isVisible());
    }

    void stopLeavesTheContentWhereItIs()
    {
        Click(FPrzyklad, "ImageButton3");
        for (int tick = 0; tick < 10; ++tick)
            FPrzyklad->Timer1Timer();
        Click(FPrzyklad, "ImageButton4");
        QVERIFY(!FPrzyklad->Timer1->isActive());
        QVERIFY(!StopPanel()->isVisible());
        QCOMPARE(ScrollBar()->value(), 20);
        QCOMPARE(ContentTop(), -20);
        // The start button is uncovered again and continues from there.
        const QWidget *start = Child<QWidget>(FPrzyklad, "ImageButton3");
        QCOMPARE(FPrzyklad->childAt(start->geometry().center()), start);
        Click(FPrzyklad, "ImageButton3");
        QCOMPARE(ScrollBar()->value(), 20);
        QCOMPARE(TicksToTheEnd(), 278);
    }

    void runGoesOnWhileTheWindowIsHidden()
    {
        ScrollBar()->setValue(530);
        Click(FPrzyklad, "ImageButton3");
        Click(FPrzyklad, "ImageButton1");
        QVERIFY(!FPrzyklad->isVisible());
        QVERIFY(Form1->isEnabled());
        // The real timer: 23 ticks of 50 ms.
        QTRY_COMPARE_WITH_TIMEOUT(ScrollBar()->value(), 576, 10000);
        QTRY_VERIFY(!FPrzyklad->Timer1->isActive());
        Click(Form1, "ImageButton9");
        QCOMPARE(ContentTop(), -576);
        QVERIFY(!StopPanel()->isVisible());
    }

    void tipsFromARunningExampleStopItAndHandControlBack()
    {
        Click(FPrzyklad, "ImageButton3");
        FPrzyklad->Timer1Timer();
        Click(FPrzyklad, "ImageButton2");

        QVERIFY(FRady->isVisible());
        QVERIFY(!FPrzyklad->Timer1->isActive());
        QVERIFY(!StopPanel()->isVisible());
        QVERIFY(!FPrzyklad->isEnabled());
        for (const char *name : {"ImageButton1", "ImageButton2", "ImageButton3"})
            QVERIFY2(!Child<QWidget>(FPrzyklad, name)->isEnabled(), name);
        QCOMPARE(Balloon(TArrowHint::ColourSlot::Background), ColorFromValue(WindowColour::Tips));
        QCOMPARE(Balloon(TArrowHint::ColourSlot::ArrowBackground), ColorFromValue(WindowColour::Tips));

        // Locked windows refuse a close request from the desktop.
        QVERIFY(!FPrzyklad->close());
        QVERIFY(!Form1->close());
        QVERIFY(FPrzyklad->isVisible());
        QVERIFY(Form1->isVisible());

        Click(FRady, "ImageButton1");
        QVERIFY(!FRady->isVisible());
        QVERIFY(FPrzyklad->isEnabled());
        for (const char *name : {"ImageButton1", "ImageButton2", "ImageButton3"})
            QVERIFY2(Child<QWidget>(FPrzyklad, name)->isEnabled(), name);
        // The run does not resume; the menu stays locked by the example.
        QVERIFY(!FPrzyklad->Timer1->isActive());
        QVERIFY(!StopPanel()->isVisible());
        QCOMPARE(ScrollBar()->value(), 2);
        QCOMPARE(Balloon(TArrowHint::ColourSlot::Background), ColorFromValue(WindowColour::Example));
        QCOMPARE(Balloon(TArrowHint::ColourSlot::ArrowBackground), ColorFromValue(WindowColour::Example));
        QVERIFY(!Form1->isEnabled());

        Click(FPrzyklad, "ImageButton1");
        QVERIFY(Form1->isEnabled());
        QCOMPARE(Balloon(TArrowHint::ColourSlot::Background), ColorFromValue(WindowColour::Menu));
    }

    void exampleIsReadAndLeftFromTheKeyboard()
    {
        const auto focused = [] { return FPrzyklad->focusWidget() ? FPrzyklad->focusWidget()->objectName() : QString(); };
        const auto press = [](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };
        FPrzyklad->activateWindow();
        QCOMPARE(focused(), "ImageButton3");
        // The content scrolls by a step, a viewport, and to either end.
        press(Qt::Key_Down);
        QCOMPARE(ContentTop(), -3);
        press(Qt::Key_PageDown);
        QCOMPARE(ScrollBar()->value(), 3 + 361);
        press(Qt::Key_End);
        QCOMPARE(ScrollBar()->value(), TFPrzyklad::ScrollEnd);
        press(Qt::Key_Up);
        QCOMPARE(ScrollBar()->value(), TFPrzyklad::ScrollEnd - 3);
        press(Qt::Key_Home);
        QCOMPARE(ContentTop(), 0);

        // Przewiń starts a run and hands the focus to Stop, which covers it;
        // Tab passes the covered button over.
        press(Qt::Key_Return);
        QVERIFY(FPrzyklad->Timer1->isActive());
        QCOMPARE(focused(), "ImageButton4");
        press(Qt::Key_Tab);
        QCOMPARE(focused(), "ImageButton2");
        press(Qt::Key_Tab);
        QCOMPARE(focused(), "ImageButton1");
        press(Qt::Key_Tab);
        QCOMPARE(focused(), "ImageButton4");
        press(Qt::Key_Space);
        QVERIFY(!FPrzyklad->Timer1->isActive());
        QCOMPARE(focused(), "ImageButton3");

        // The tips opened from here give the focus back to Porady.
        press(Qt::Key_Tab);
        press(Qt::Key_Return);
        QVERIFY(FRady->isVisible());
        QCOMPARE(FRady->focusWidget()->objectName(), "ImageButton1");
        QTest::keyClick(FRady->focusWidget(), Qt::Key_Escape);
        QVERIFY(!FRady->isVisible());
        QVERIFY(FPrzyklad->isEnabled());
        QCOMPARE(focused(), "ImageButton2");
        // Escape is OK: the example closes and the menu has the focus on Przykład.
        press(Qt::Key_Escape);
        QVERIFY(!FPrzyklad->isVisible());
        QVERIFY(Form1->isEnabled());
        QCOMPARE(Form1->focusWidget()->objectName(), "ImageButton9");
    }

    void tipsFromTheMenuUnlockTheMenu()
    {
        Click(FPrzyklad, "ImageButton1");
        Click(Form1, "ImageButton1");
        Click(Form1, "ImageButton8");
        QVERIFY(!Form1->isEnabled());
        Click(FRady, "ImageButton1");
        QVERIFY(Form1->isEnabled());
        QCOMPARE(Balloon(TArrowHint::ColourSlot::Background), ColorFromValue(WindowColour::Menu));
        QCOMPARE(Balloon(TArrowHint::ColourSlot::ArrowBackground), ColorFromValue(WindowColour::Menu));
        Click(Form1, "ImageButton4");
        Click(Form1, "ImageButton9");
    }
};

SHELL_TEST_MAIN(GuidesTest)
#include "guides_test.moc"
