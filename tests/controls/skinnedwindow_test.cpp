// The window base: an opened window locks its opener until it closes, and every window is placed and coloured when shown.
#include "ColorValue.h"
#include "SkinnedWindow.h"
#include "TArrowHint.h"
#include "WindowPlacement.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

// A window that records how it is locked and unlocked, and can be placed and coloured.
class Window : public SkinnedWindow
{
public:
    explicit Window(Placement placement = Placement::Centred)
    {
        setPlacement(placement);
        resize(200, 100);
    }
    using SkinnedWindow::setBalloonColour;

    QStringList steps;

protected:
    void LockWhileOpen() override
    {
        steps << QStringLiteral("lock");
        SkinnedWindow::LockWhileOpen();
    }
    void UnlockAfterClose() override
    {
        steps << QStringLiteral("unlock");
        SkinnedWindow::UnlockAfterClose();
    }
};

}  // namespace

class SkinnedWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void openedWindowLocksItsOpenerUntilItCloses()
    {
        Window opener, opened;
        opener.show();
        QSignalSpy openerClosed(&opener, &SkinnedWindow::FormClosed);
        QSignalSpy openedClosed(&opened, &SkinnedWindow::FormClosed);

        opener.Open(&opened);
        QVERIFY(opened.isVisible());
        QCOMPARE(opened.Opener(), &opener);
        QVERIFY(!opener.isEnabled());
        QCOMPARE(opener.steps, QStringList{"lock"});

        // A locked window refuses to close, from the desktop too.
        QVERIFY(!opener.close());
        QVERIFY(opener.isVisible());
        QCOMPARE(openerClosed.count(), 0);

        QVERIFY(opened.close());
        QVERIFY(!opened.isVisible());
        QVERIFY(opener.isEnabled());
        QCOMPARE(opener.steps, (QStringList{"lock", "unlock"}));
        QCOMPARE(openedClosed.count(), 1);
        QCOMPARE(opened.Opener(), nullptr);

        // Shown by the program itself, the window unlocks nobody when it closes.
        opened.show();
        QVERIFY(opened.close());
        QCOMPARE(opener.steps, (QStringList{"lock", "unlock"}));
        QCOMPARE(openedClosed.count(), 2);

        // A window that is not there opens nothing and locks nothing.
        opener.Open(nullptr);
        QVERIFY(opener.isEnabled());
        QVERIFY(opener.close());
        QCOMPARE(openerClosed.count(), 1);
    }

    void windowIsPlacedAtEveryShowing_data()
    {
        QTest::addColumn<SkinnedWindow::Placement>("placement");
        QTest::newRow("centred") << SkinnedWindow::Placement::Centred;
        QTest::newRow("top right") << SkinnedWindow::Placement::TopRight;
    }

    void windowIsPlacedAtEveryShowing()
    {
        QFETCH(SkinnedWindow::Placement, placement);
        const QPoint expected = placement == SkinnedWindow::Placement::Centred
                                    ? CentredPosition(QSize(200, 100), PlacementScreen())
                                    : TopRightPosition(QSize(200, 100), PlacementScreen(), 10);
        Window window(placement);
        for (int showing = 0; showing < 2; ++showing) {
            window.show();
            QCOMPARE(window.pos(), expected);
            // Dragged away: the next showing puts it back.
            window.move(3, 4);
            window.hide();
        }
    }

    void balloonTakesTheShownWindowsColour()
    {
        TArrowHint balloon;
        const QColor before = balloon.ColorBackground();
        Window plain;
        plain.show();
        QCOMPARE(balloon.ColorBackground(), before);

        Window coloured;
        coloured.setBalloonColour(11199675);
        coloured.show();
        QCOMPARE(balloon.ColorBackground(), ColorFromValue(11199675));
        QCOMPARE(balloon.ColorArrowBackground(), ColorFromValue(11199675));
        QCOMPARE(balloon.ColorBorder(), QColor(Qt::black));
    }
};

QTEST_MAIN(SkinnedWindowTest)
#include "skinnedwindow_test.moc"
