// Tests of picture loading: the "@2x" twin on dense screens, the plain picture elsewhere.
#include "Pictures.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

class PicturesTest : public QObject
{
    Q_OBJECT

private slots:
    void picksTheTwinOnlyOnDenseScreens_data();
    void picksTheTwinOnlyOnDenseScreens();
    void fallsBackToThePlainPictureWithoutTwin();
    void missingPictureIsNull();
};

void PicturesTest::picksTheTwinOnlyOnDenseScreens_data()
{
    QTest::addColumn<qreal>("screenRatio");
    QTest::addColumn<qreal>("pictureRatio");

    QTest::newRow("ordinary screen") << qreal(1.0) << qreal(1.0);
    QTest::newRow("screen at 1.5") << qreal(1.5) << qreal(2.0);
    QTest::newRow("double-density screen") << qreal(2.0) << qreal(2.0);
}

void PicturesTest::picksTheTwinOnlyOnDenseScreens()
{
    QFETCH(qreal, screenRatio);
    QFETCH(qreal, pictureRatio);

    const QPixmap picture = LoadPicture(QStringLiteral(":/pictures/game/ImageButton1.png"), screenRatio);
    QCOMPARE(picture.devicePixelRatio(), pictureRatio);
    QCOMPARE(picture.deviceIndependentSize().toSize(), QSize(130, 44));
    QCOMPARE(picture.size(), QSize(130, 44) * pictureRatio);
}

void PicturesTest::fallsBackToThePlainPictureWithoutTwin()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("plain.png"));
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(path));

    const QPixmap picture = LoadPicture(path, 2.0);
    QCOMPARE(picture.size(), QSize(20, 10));
    QCOMPARE(picture.devicePixelRatio(), 1.0);
}

void PicturesTest::missingPictureIsNull()
{
    QVERIFY(LoadPicture(QStringLiteral(":/pictures/no-such-picture.png"), 2.0).isNull());
    QVERIFY(LoadPicture(QStringLiteral(":/pictures/no-such-picture.png"), 1.0).isNull());
}

QTEST_MAIN(PicturesTest)
#include "pictures_test.moc"
