// The window pictures fit the stored outlines, and windows and buttons keep their sizes on a high-density screen.
#include "Inventory.h"

#include "TImageButton.h"
#include "TShapedForm.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QtTest>

namespace {

struct WindowPicture {
    const char *window;
    const char *outline;
    QSize size;
};

const WindowPicture windows[] = {
    {"menu", "TForm1", {607, 479}},  {"preview", "TFPodglad", {359, 373}}, {"tips", "TFRady", {231, 292}},
    {"example", "TFPrzyklad", {440, 500}}, {"game", "TFSudoku", {587, 365}}, {"results", "TF_Wyniki", {290, 338}},
};

QRegion storedOutline(const QString &name)
{
    QFile file(":/outlines/" + name + ".Mask.Data");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return TShapedRegion::parse(file.readAll()).value_or(QRegion());
}

} // namespace

class WindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pictureRimFollowsOutline_data();
    void pictureRimFollowsOutline();
    void windowKeepsItsSizeOnDenseScreen_data();
    void windowKeepsItsSizeOnDenseScreen();
    void buttonKeepsItsSizeOnDenseScreen_data();
    void buttonKeepsItsSizeOnDenseScreen();
};

void WindowsTest::initTestCase()
{
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
}

void WindowsTest::pictureRimFollowsOutline_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("outline");
    for (const WindowPicture &w : windows)
        QTest::newRow(w.window) << QString(w.window) << QString(w.outline);
}

void WindowsTest::pictureRimFollowsOutline()
{
    QFETCH(QString, window);
    QFETCH(QString, outline);
    const QRegion region = storedOutline(outline);
    QVERIFY2(!region.isEmpty(), "the stored outline is missing");
    const QImage picture = QImage(":/pictures/" + window + "/background.png").convertToFormat(QImage::Format_RGB32);
    QVERIFY(!picture.isNull());

    // Every pixel on the outline's edge shows the dark rim. Pinholes inside the pane (a single
    // cut-out pixel between two kept ones) are not edges of the pane.
    auto outside = [&](int x, int y) { return !region.contains(QPoint(x, y)); };
    auto pinhole = [&](int x, int y) { return outside(x, y) && !outside(x - 1, y) && !outside(x + 1, y); };
    int edgePixels = 0;
    for (const QRect &rect : region) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const QPoint neighbours[] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
                bool edge = false;
                for (const QPoint &n : neighbours)
                    edge = edge || (outside(n.x(), n.y()) && !pinhole(n.x(), n.y()));
                if (!edge)
                    continue;
                ++edgePixels;
                QVERIFY2(qGray(picture.pixel(x, y)) < 160,
                         qPrintable(QString("edge pixel %1,%2 is %3, not the rim").arg(x).arg(y)
                                        .arg(QColor(picture.pixel(x, y)).name())));
            }
        }
    }
    QVERIFY(edgePixels > 1000);

    // The rim is a rim, not a frame: a few pixels in from each side the pane is light again.
    const int middle = picture.height() / 2;
    for (const QRect &rect : region) {
        if (!rect.contains(QPoint(rect.left(), middle)) || rect.width() < 20)
            continue;
        QVERIFY2(qGray(picture.pixel(rect.left() + 7, middle)) > 170, "the left rim is too thick");
        QVERIFY2(qGray(picture.pixel(rect.right() - 7, middle)) > 170, "the right rim is too thick");
    }
}

void WindowsTest::windowKeepsItsSizeOnDenseScreen_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("outline");
    QTest::addColumn<QSize>("size");
    for (const WindowPicture &w : windows)
        QTest::newRow(w.window) << QString(w.window) << QString(w.outline) << w.size;
}

void WindowsTest::windowKeepsItsSizeOnDenseScreen()
{
    QFETCH(QString, window);
    QFETCH(QString, outline);
    QFETCH(QSize, size);

    QWidget holder;
    TShapedForm *form = new TShapedForm(&holder);
    form->setPicture(QPixmap(":/pictures/" + window + "/background@2x.png"));
    form->setMaskResource(":/outlines/" + outline + ".Mask.Data");
    form->Loaded();
    QCOMPARE(holder.size(), size);
    QCOMPARE(form->size(), size);

    // Drawn on the dense screen, the window shows the twin pixel for pixel: nothing is scaled.
    holder.show();
    QVERIFY(QTest::qWaitForWindowExposed(&holder));
    const QImage shown = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage twin = QImage(":/pictures/" + window + "/background@2x.png").convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), twin.size());
    const QPoint probes[] = {{size.width(), size.height()}, {40, 40}, {size.width() * 2 - 30, size.height()}};
    for (const QPoint &probe : probes)
        QCOMPARE(QColor(shown.pixel(probe)).name(), QColor(twin.pixel(probe)).name());
}

void WindowsTest::buttonKeepsItsSizeOnDenseScreen_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QSize>("size");
    for (const ButtonPictures &button : buttonPictures())
        QTest::newRow(qPrintable(button.window + "/" + button.name)) << button.window + "/" + button.name << button.size;
}

void WindowsTest::buttonKeepsItsSizeOnDenseScreen()
{
    QFETCH(QString, base);
    QFETCH(QSize, size);
    QWidget window;
    TImageButton *button = new TImageButton(&window);
    button->setBitmapOver(QPixmap(":/pictures/" + base + "_over@2x.png"));
    button->setBitmapDown(QPixmap(":/pictures/" + base + "_down@2x.png"));
    button->setBitmap(QPixmap(":/pictures/" + base + "@2x.png"));
    QCOMPARE(button->size(), size);
    const QImage shown = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), size * 2);
}

int main(int argc, char *argv[])
{
    // A screen of twice the density, as Qt sees a high-resolution display.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    WindowsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "windows_test.moc"
