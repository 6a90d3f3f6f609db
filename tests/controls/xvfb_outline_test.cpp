// On a real X server: the main menu's outline lets the desktop show through its gap and past its corners.
#include "TShapedForm.h"
#include "TestPictures.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QtTest>

namespace {
const QColor Desktop(0, 255, 0);
const QColor Picture(200, 30, 160);
const QPoint WindowAt(60, 40);
}  // namespace

class XvfbOutlineTest : public QObject
{
    Q_OBJECT

private slots:
    void desktopShowsThroughTheMenusOutline();
};

void XvfbOutlineTest::desktopShowsThroughTheMenusOutline()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QCOMPARE(QProcess::execute(QStringLiteral("xsetroot"), {QStringLiteral("-solid"), QStringLiteral("#00ff00")}), 0);

    QWidget window;
    auto *form = new TShapedForm(&window);
    form->setPicture(solidPicture(QSize(607, 479), Picture));
    form->setMaskResource(QStringLiteral(":/outlines/TForm1.Mask.Data"));
    form->Loaded();
    window.move(WindowAt);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // A screenshot of the whole screen, as the X server composes it.
    auto screenAt = [](QPoint windowPixel) {
        const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        return shot.pixelColor(WindowAt + windowPixel);
    };
    QTRY_COMPARE(screenAt(QPoint(50, 200)), Picture);
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    shot.save(QStringLiteral("xvfb_outline_screen.png"));
    auto at = [&shot](int x, int y) { return shot.pixelColor(WindowAt + QPoint(x, y)); };

    for (int x = 107; x <= 116; ++x)
        QCOMPARE(at(x, 200), Desktop);
    QCOMPARE(at(106, 200), Picture);
    QCOMPARE(at(117, 200), Picture);
    // The rounded corners and the rightmost picture column.
    QCOMPARE(at(0, 0), Desktop);
    QCOMPARE(at(6, 0), Desktop);
    QCOMPARE(at(7, 0), Picture);
    QCOMPARE(at(605, 0), Desktop);
    QCOMPARE(at(0, 478), Desktop);
    QCOMPARE(at(605, 478), Desktop);
    QCOMPARE(at(606, 200), Desktop);
    QCOMPARE(at(605, 200), Picture);
}

QTEST_MAIN(XvfbOutlineTest)
#include "xvfb_outline_test.moc"
