// On a real X server: the main menu's outline lets the desktop show through its gap and past its corners,
// also after the window moves to a screen of another scale.
#include "TShapedForm.h"
#include "TestPictures.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <cstdlib>

namespace {
const QColor Desktop(0, 255, 0);
const QColor Picture(200, 30, 160);
const QSize MenuSize(607, 479);
// Two screens side by side on the one X screen (2000 x 1000): "left" at 100 %
// and "right" at 150 %, from x = 800 on.
constexpr int RightScreenLeft = 800;
constexpr qreal RightScale = 1.5;

// The whole X screen as the server composes it, in its own pixels.
QImage rootScreen()
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("root.png"));
    if (QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file}) != 0)
        return {};
    return QImage(file).convertToFormat(QImage::Format_RGB32);
}

// Where the X server put the window's top-left corner, in its own pixels.
QPoint nativePosition(const QWidget &window)
{
    QProcess info;
    info.start(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window.winId())});
    info.waitForFinished();
    const QString text = QString::fromLocal8Bit(info.readAllStandardOutput());
    const auto number = [&text](const char *label) {
        return QRegularExpression(QStringLiteral("%1:\\s+(-?\\d+)").arg(QLatin1String(label))).match(text).captured(1).toInt();
    };
    return {number("Absolute upper-left X"), number("Absolute upper-left Y")};
}

// A window of the menu's size and outline, in one plain colour.
struct MenuWindow
{
    QWidget window;
    MenuWindow()
    {
        auto *form = new TShapedForm(&window);
        form->setPicture(solidPicture(MenuSize, Picture));
        form->setMaskResource(QStringLiteral(":/outlines/TForm1.Mask.Data"));
        form->Loaded();
    }
};

}  // namespace

class XvfbOutlineTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void desktopShowsThroughTheMenusOutline_data();
    void desktopShowsThroughTheMenusOutline();
};

void XvfbOutlineTest::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QCOMPARE(QGuiApplication::screens().size(), 2);
    QCOMPARE(QProcess::execute(QStringLiteral("xsetroot"), {QStringLiteral("-solid"), QStringLiteral("#00ff00")}), 0);
}

void XvfbOutlineTest::desktopShowsThroughTheMenusOutline_data()
{
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<bool>("moved");
    QTest::newRow("at 100 %") << qreal(1) << false;
    // Shown at 100 %, then dragged over to the other screen: the outline must
    // grow with the window, or a third of it stays cut off.
    QTest::newRow("moved to a screen at 150 %") << RightScale << true;
}

void XvfbOutlineTest::desktopShowsThroughTheMenusOutline()
{
    QFETCH(qreal, scale);
    QFETCH(bool, moved);
    MenuWindow menu;
    QWidget &window = menu.window;
    window.move(60, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (moved) {
        window.move(RightScreenLeft + 6, 10);
        QTRY_COMPARE(window.screen()->devicePixelRatio(), scale);
    }
    // The window's pixel (x, y) of its layout, on the screen: the middle of
    // what it covers there.
    QPoint origin;
    const auto at = [&](int x, int y) {
        return origin + QPoint(int(std::floor((x + 0.5) * scale)), int(std::floor((y + 0.5) * scale)));
    };
    QImage shot;
    const auto shows = [&](int x, int y) { return QColor(shot.pixel(at(x, y))); };
    QTRY_VERIFY((origin = nativePosition(window), shot = rootScreen(),
                 !shot.isNull() && shows(50, 200) == Picture && shows(590, 460) == Picture));
    shot.save(QStringLiteral("xvfb_outline_screen_%1.png").arg(qRound(scale * 100)));

    for (int x = 107; x <= 116; ++x)
        QCOMPARE(shows(x, 200), Desktop);
    QCOMPARE(shows(106, 200), Picture);
    QCOMPARE(shows(117, 200), Picture);
    // The rounded corners and the rightmost picture column.
    QCOMPARE(shows(0, 0), Desktop);
    QCOMPARE(shows(6, 0), Desktop);
    QCOMPARE(shows(7, 0), Picture);
    QCOMPARE(shows(605, 0), Desktop);
    QCOMPARE(shows(0, 478), Desktop);
    QCOMPARE(shows(605, 478), Desktop);
    QCOMPARE(shows(606, 200), Desktop);
    QCOMPARE(shows(605, 200), Picture);
    // The whole window: its bottom-right part too.
    QCOMPARE(shows(600, 470), Picture);
}

int main(int argc, char **argv)
{
    // The two screens, made before Qt looks at them (the server runs with
    // -noreset, so they outlive this call).
    const int made = std::system("xrandr --setmonitor left 800/211x1000/264+0+0 screen >/dev/null"
                                 " && xrandr --setmonitor right 1200/317x1000/264+800+0 none >/dev/null");
    if (made != 0)
        return 1;
    qputenv("QT_SCREEN_SCALE_FACTORS", "left=1;right=1.5");
    QApplication app(argc, argv);
    XvfbOutlineTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "xvfb_outline_test.moc"
