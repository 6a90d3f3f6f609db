// Every picture the windows load is in the resources at its size, with a sharp @2x twin, and the buttons' looks differ as they must.
#include "Inventory.h"

#include <QDirIterator>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QSet>
#include <QtTest>

namespace {

QImage loadPicture(const QString &path)
{
    return QImage(":/pictures/" + path + ".png").convertToFormat(QImage::Format_RGB32);
}

int chroma(QRgb pixel)
{
    const int r = qRed(pixel), g = qGreen(pixel), b = qBlue(pixel);
    return std::max({r, g, b}) - std::min({r, g, b});
}

int colourDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// Share of pixels that differ visibly between two pictures of one size.
double differingShare(const QImage &a, const QImage &b)
{
    qint64 differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (colourDistance(a.pixel(x, y), b.pixel(x, y)) > 24)
                ++differing;
    return double(differing) / (a.width() * a.height());
}

} // namespace

class InventoryTest : public QObject
{
    Q_OBJECT

private slots:
    void pictureHasItsSizeAndTwin_data();
    void pictureHasItsSizeAndTwin();
    void resourcesHoldNothingElse();
    void buttonLooksDiffer_data();
    void buttonLooksDiffer();
    void buttonBlendsWithWhatLiesBehind_data();
    void buttonBlendsWithWhatLiesBehind();
    void disabledPictureIsGrey_data();
    void disabledPictureIsGrey();
};

void InventoryTest::pictureHasItsSizeAndTwin_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    for (const StillPicture &still : stillPictures())
        QTest::newRow(qPrintable(still.path)) << still.path << still.size;
    for (const ButtonPictures &button : buttonPictures())
        for (const QString &path : buttonPicturePaths(button))
            QTest::newRow(qPrintable(path)) << path << button.size;
}

void InventoryTest::pictureHasItsSizeAndTwin()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    const QImage picture = loadPicture(path);
    QVERIFY2(!picture.isNull(), qPrintable(path + " is missing"));
    QCOMPARE(picture.size(), size);

    // The twin loads at device pixel ratio 2, so it takes the same room in a layout.
    const QPixmap twin(":/pictures/" + path + "@2x.png");
    QVERIFY2(!twin.isNull(), qPrintable(path + "@2x is missing"));
    QCOMPARE(twin.size(), size * 2);
    QCOMPARE(twin.devicePixelRatio(), 2.0);
    QCOMPARE(twin.deviceIndependentSize().toSize(), size);

    // The twin is the same drawing: scaled down it matches the picture closely.
    const QImage reduced = twin.toImage().convertToFormat(QImage::Format_RGB32)
                               .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    qint64 total = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            total += colourDistance(reduced.pixel(x, y), picture.pixel(x, y));
    const double mean = double(total) / (size.width() * size.height());
    QVERIFY2(mean < 8, qPrintable(QString("%1@2x differs from it by %2 on average").arg(path).arg(mean)));
}

void InventoryTest::resourcesHoldNothingElse()
{
    QSet<QString> expected;
    for (const StillPicture &still : stillPictures())
        expected << still.path + ".png" << still.path + "@2x.png";
    for (const ButtonPictures &button : buttonPictures())
        for (const QString &path : buttonPicturePaths(button))
            expected << path + ".png" << path + "@2x.png";
    QSet<QString> found;
    QDirIterator it(":/pictures", QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next().mid(QString(":/pictures/").size());
    // A misnamed picture is as bad as a missing one: nothing would ever load it.
    const QSet<QString> stray = found - expected;
    const QSet<QString> missing = expected - found;
    QCOMPARE(QStringList(stray.begin(), stray.end()), QStringList());
    QCOMPARE(QStringList(missing.begin(), missing.end()), QStringList());
}

void InventoryTest::buttonLooksDiffer_data()
{
    QTest::addColumn<QString>("base");
    for (const ButtonPictures &button : buttonPictures())
        QTest::newRow(qPrintable(button.window + "/" + button.name)) << button.window + "/" + button.name;
}

void InventoryTest::buttonLooksDiffer()
{
    QFETCH(QString, base);
    const QImage normal = loadPicture(base);
    const QImage lit = loadPicture(base + "_over");
    const QImage pressed = loadPicture(base + "_down");
    QVERIFY2(differingShare(normal, lit) > 0.03, "the lit picture looks like the normal one");
    QVERIFY2(differingShare(lit, pressed) > 0.01, "the pressed picture looks like the lit one");
    QVERIFY2(differingShare(normal, pressed) > 0.03, "the pressed picture looks like the normal one");
    // The normal picture's icon and word are black or dark; the lit one's are coloured: strongly
    // saturated, though deepened inks (a dark green on a pale green tile) need not be bright.
    int darkNormal = 0;
    int colouredLit = 0;
    for (int y = 0; y < normal.height(); ++y) {
        for (int x = 0; x < normal.width(); ++x) {
            if (qGray(normal.pixel(x, y)) < 60 && chroma(normal.pixel(x, y)) < 40)
                ++darkNormal;
            if (chroma(lit.pixel(x, y)) > 60 && QColor(lit.pixel(x, y)).hsvSaturation() > 150)
                ++colouredLit;
        }
    }
    QVERIFY2(darkNormal > 40, "the normal picture has no dark icon or lettering");
    QVERIFY2(colouredLit > 40, "the lit picture has no coloured icon or lettering");
}

void InventoryTest::buttonBlendsWithWhatLiesBehind_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("behind");
    QTest::addColumn<QPoint>("place");
    QTest::addColumn<QColor>("panelColour");
    for (const ButtonPictures &button : buttonPictures())
        for (const QString &path : buttonPicturePaths(button))
            QTest::newRow(qPrintable(path)) << path << button.behind << button.place << button.panelColour;
}

void InventoryTest::buttonBlendsWithWhatLiesBehind()
{
    QFETCH(QString, path);
    QFETCH(QString, behind);
    QFETCH(QPoint, place);
    QFETCH(QColor, panelColour);
    // Pictures are drawn opaque: the button's edge must show what the window shows there.
    const QImage button = loadPicture(path);
    const QImage backdrop = behind.isEmpty() ? QImage() : loadPicture(behind);
    const QPoint corners[] = {{0, 0}, {button.width() - 1, 0}, {0, button.height() - 1},
                              {button.width() - 1, button.height() - 1}, {button.width() / 2, 0}};
    for (const QPoint &corner : corners) {
        const QRgb expected = behind.isEmpty() ? panelColour.rgb() : backdrop.pixel(place + corner);
        QVERIFY2(colourDistance(button.pixel(corner), expected) <= 3,
                 qPrintable(QString("at %1,%2 the button shows %3, the window %4")
                                .arg(corner.x()).arg(corner.y())
                                .arg(QColor(button.pixel(corner)).name(), QColor(expected).name())));
    }
}

void InventoryTest::disabledPictureIsGrey_data()
{
    QTest::addColumn<QString>("base");
    for (const ButtonPictures &button : buttonPictures())
        if (button.ownDisabled)
            QTest::newRow(qPrintable(button.window + "/" + button.name)) << button.window + "/" + button.name;
}

void InventoryTest::disabledPictureIsGrey()
{
    QFETCH(QString, base);
    const QImage normal = loadPicture(base);
    const QImage disabled = loadPicture(base + "_disabled");
    QVERIFY2(differingShare(normal, disabled) > 0.02, "the disabled picture looks like the normal one");
    // Greying never adds colour: no pixel is more colourful than the normal picture's.
    for (int y = 0; y < normal.height(); ++y) {
        for (int x = 0; x < normal.width(); ++x) {
            QVERIFY2(chroma(disabled.pixel(x, y)) <= chroma(normal.pixel(x, y)) + 8,
                     qPrintable(QString("coloured pixel at %1,%2").arg(x).arg(y)));
        }
    }
    // And the icon and word are no longer black.
    int black = 0;
    for (int y = 0; y < disabled.height(); ++y)
        for (int x = 0; x < disabled.width(); ++x)
            if (qGray(disabled.pixel(x, y)) < 60)
                ++black;
    QCOMPARE(black, 0);
}

QTEST_MAIN(InventoryTest)
#include "inventory_test.moc"
