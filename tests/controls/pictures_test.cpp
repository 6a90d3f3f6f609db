// Tests of the pictures at every screen density: the plain picture at 100 %, its "@2x" twin at 200 %,
// and the twin smoothly resized between and beyond, loaded and as the controls draw them.
#include "Pictures.h"
#include "TImage.h"
#include "TImageButton.h"
#include "TShapedForm.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

namespace {

// What a picture must look like at a device pixel ratio, worked out here from
// the files: the plain picture at 1, the twin at 2, otherwise the twin
// averaged down (or up) to the pixels the picture covers at that ratio.
QImage expectedPixels(const QString &path, qreal ratio)
{
    if (ratio == 1.0)
        return QImage(path).convertToFormat(QImage::Format_ARGB32);
    const QImage twin = QImage(QString(path).replace(QStringLiteral(".png"), QStringLiteral("@2x.png")));
    if (ratio == 2.0)
        return twin.convertToFormat(QImage::Format_ARGB32);
    const QSize pixels = (QSizeF(twin.size()) / 2.0 * ratio).toSize();
    return twin.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_ARGB32);
}

// The largest difference in any colour channel between `expected` and the part
// of `shown` at `at`, over the pixels the picture covers fully; -1 when the
// part does not fit.
int largestDifference(const QImage &shown, QPoint at, const QImage &expected)
{
    if (!shown.rect().contains(QRect(at, expected.size())))
        return -1;
    int largest = 0;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb want = expected.pixel(x, y);
            if (qAlpha(want) != 255)
                continue;
            const QRgb got = shown.pixel(at.x() + x, at.y() + y);
            largest = std::max({largest, std::abs(qRed(got) - qRed(want)), std::abs(qGreen(got) - qGreen(want)),
                                std::abs(qBlue(got) - qBlue(want))});
        }
    return largest;
}

}  // namespace

class PicturesTest : public QObject
{
    Q_OBJECT

private slots:
    void loadsThePictureForTheScreensDensity_data();
    void loadsThePictureForTheScreensDensity();
    void fallsBackToThePlainPictureWithoutTwin();
    void missingPictureIsNull();
    void controlsDrawTheirPicturesForTheScreensDensity();
};

void PicturesTest::loadsThePictureForTheScreensDensity_data()
{
    QTest::addColumn<qreal>("screenRatio");
    QTest::addColumn<QSize>("pixels");

    QTest::newRow("ordinary screen") << qreal(1.0) << QSize(130, 44);
    QTest::newRow("screen at 125 %") << qreal(1.25) << QSize(163, 55);
    QTest::newRow("screen at 150 %") << qreal(1.5) << QSize(195, 66);
    QTest::newRow("double-density screen") << qreal(2.0) << QSize(260, 88);
    QTest::newRow("screen at 300 %") << qreal(3.0) << QSize(390, 132);
}

void PicturesTest::loadsThePictureForTheScreensDensity()
{
    QFETCH(qreal, screenRatio);
    QFETCH(QSize, pixels);

    const QString path = QStringLiteral(":/pictures/game/ImageButton1.png");
    const QPixmap picture = LoadPicture(path, screenRatio);
    QCOMPARE(picture.devicePixelRatio(), screenRatio);
    QCOMPARE(picture.deviceIndependentSize().toSize(), QSize(130, 44));
    QCOMPARE(picture.size(), pixels);
    QCOMPARE(largestDifference(picture.toImage().convertToFormat(QImage::Format_ARGB32), QPoint(0, 0),
                               expectedPixels(path, screenRatio)),
             0);
}

void PicturesTest::fallsBackToThePlainPictureWithoutTwin()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("plain.png"));
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(path));

    for (qreal ratio : {1.5, 2.0}) {
        const QPixmap picture = LoadPicture(path, ratio);
        QCOMPARE(picture.size(), QSize(20, 10));
        QCOMPARE(picture.devicePixelRatio(), 1.0);
    }
}

void PicturesTest::missingPictureIsNull()
{
    QVERIFY(LoadPicture(QStringLiteral(":/pictures/no-such-picture.png"), 2.0).isNull());
    QVERIFY(LoadPicture(QStringLiteral(":/pictures/no-such-picture.png"), 1.5).isNull());
    QVERIFY(LoadPicture(QStringLiteral(":/pictures/no-such-picture.png"), 1.0).isNull());
}

// Run at 100 %, 125 %, 150 % and 200 % (QT_SCALE_FACTOR): a window's
// background, a still picture and a button show their pictures pixel for pixel
// as worked out above, with their lettering averaged, never pixel-dropped.
void PicturesTest::controlsDrawTheirPicturesForTheScreensDensity()
{
    QWidget window;
    auto *background = new TShapedForm(&window);
    background->setPictureResource(QStringLiteral(":/pictures/menu/background.png"));
    background->Loaded();
    // Places whole in screen pixels at every scale the test runs at.
    const QPoint headingAt(40, 80), buttonAt(40, 200);
    auto *heading = new TImage(&window);
    heading->setPictureResource(QStringLiteral(":/pictures/menu/Image1.png"));
    heading->setGeometry(QRect(headingAt, QSize(317, 65)));
    auto *button = new TImageButton(&window);
    button->setBitmapResource(QStringLiteral(":/pictures/results/ImageButton1.png"));
    button->move(buttonAt);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const qreal ratio = window.devicePixelRatio();
    const QImage shown = window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(shown.size(), (QSizeF(607, 479) * ratio).toSize());
    const auto screenPixel = [ratio](QPoint layout) { return QPoint(qRound(layout.x() * ratio), qRound(layout.y() * ratio)); };
    const struct {
        const char *what;
        QString path;
        QPoint at;
    } pictures[] = {
        {"background", QStringLiteral(":/pictures/menu/background.png"), QPoint(0, 0)},
        {"heading", QStringLiteral(":/pictures/menu/Image1.png"), headingAt},
        {"button", QStringLiteral(":/pictures/results/ImageButton1.png"), buttonAt},
    };
    for (const auto &picture : pictures) {
        QImage expected = expectedPixels(picture.path, ratio);
        // Of the background, the band above the heading: the rest lies under the other controls.
        if (picture.at.isNull())
            expected = expected.copy(0, 0, expected.width(), screenPixel(headingAt).y());
        const int difference = largestDifference(shown, screenPixel(picture.at), expected);
        QVERIFY2(difference >= 0 && difference <= 1,
                 qPrintable(QStringLiteral("%1 at %2: differs by %3").arg(QLatin1String(picture.what)).arg(ratio).arg(difference)));
    }
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    PicturesTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "pictures_test.moc"
