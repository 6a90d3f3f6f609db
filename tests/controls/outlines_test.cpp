// Tests of the stored outlines: the six windows' files, reading and writing the stored form, bad data.
#include "TShapedForm.h"

#include <QFile>
#include <QtEndian>
#include <QtTest>

namespace {

QByteArray resourceBytes(const QString &window)
{
    QFile file(QStringLiteral(":/outlines/%1.Mask.Data").arg(window));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray int32s(std::initializer_list<qint32> values)
{
    QByteArray out;
    for (qint32 v : values) {
        char buffer[4];
        qToLittleEndian(v, buffer);
        out.append(buffer, 4);
    }
    return out;
}

// A stored form with a correct header around `rectangles` (left, top, right, bottom each).
QByteArray storedForm(const QList<QRect> &rectangles)
{
    QByteArray data = int32s({32, 1, qint32(rectangles.size()), qint32(16 * rectangles.size()), 0, 0, 0, 0});
    for (const QRect &r : rectangles)
        data += int32s({r.left(), r.top(), r.right() + 1, r.bottom() + 1});
    return int32s({qint32(data.size())}) + data;
}

}  // namespace

class OutlinesTest : public QObject
{
    Q_OBJECT

private slots:
    void storedOutlineHasItsShape_data();
    void storedOutlineHasItsShape();
    void storedOutlineRoundTripsByteForByte_data();
    void storedOutlineRoundTripsByteForByte();
    void pixelsInsideAndOutside_data();
    void pixelsInsideAndOutside();
    void badDataGivesNoOutline_data();
    void badDataGivesNoOutline();
    void everyTruncationIsRejectedWithoutReadingPast();
    void writingAMaskGivesCountThenData();
};

void OutlinesTest::storedOutlineHasItsShape_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("rectangles");
    QTest::addColumn<QRect>("bounds");
    QTest::newRow("main menu") << "TForm1" << 516 << 30 << QRect(0, 0, 606, 479);
    QTest::newRow("preview") << "TFPodglad" << 212 << 11 << QRect(0, 0, 358, 373);
    QTest::newRow("worked example") << "TFPrzyklad" << 244 << 13 << QRect(0, 0, 439, 500);
    QTest::newRow("tips") << "TFRady" << 308 << 17 << QRect(0, 0, 230, 292);
    QTest::newRow("game") << "TFSudoku" << 212 << 11 << QRect(0, 0, 586, 365);
    QTest::newRow("results") << "TF_Wyniki" << 212 << 11 << QRect(0, 0, 289, 338);
}

void OutlinesTest::storedOutlineHasItsShape()
{
    QFETCH(QString, window);
    QFETCH(int, bytes);
    QFETCH(int, rectangles);
    QFETCH(QRect, bounds);
    const QByteArray stored = resourceBytes(window);
    QCOMPARE(stored.size(), bytes);
    QCOMPARE(qFromLittleEndian<qint32>(stored.constData()), bytes - 4);
    QCOMPARE(qFromLittleEndian<qint32>(stored.constData() + 12), rectangles);
    // The stored bounding box matches the rectangles.
    QCOMPARE(qFromLittleEndian<qint32>(stored.constData() + 28), bounds.right() + 1);
    QCOMPARE(qFromLittleEndian<qint32>(stored.constData() + 32), bounds.bottom() + 1);

    const auto region = TShapedRegion::parse(stored);
    QVERIFY(region.has_value());
    QCOMPARE(region->rectCount(), rectangles);
    QCOMPARE(region->boundingRect(), bounds);
}

void OutlinesTest::storedOutlineRoundTripsByteForByte_data()
{
    QTest::addColumn<QString>("window");
    for (const char *window : {"TForm1", "TFPodglad", "TFPrzyklad", "TFRady", "TFSudoku", "TF_Wyniki"})
        QTest::newRow(window) << QString::fromLatin1(window);
}

void OutlinesTest::storedOutlineRoundTripsByteForByte()
{
    QFETCH(QString, window);
    const QByteArray stored = resourceBytes(window);
    TShapedRegion mask;
    mask.readData(stored);
    QVERIFY(mask.hasRegion());
    QCOMPARE(mask.writeData(), stored);
}

void OutlinesTest::pixelsInsideAndOutside_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<bool>("inside");
    QTest::newRow("menu strip") << "TForm1" << QPoint(50, 200) << true;
    QTest::newRow("menu gap left edge") << "TForm1" << QPoint(107, 200) << false;
    QTest::newRow("menu gap right edge") << "TForm1" << QPoint(116, 200) << false;
    QTest::newRow("menu pane left edge") << "TForm1" << QPoint(117, 200) << true;
    QTest::newRow("menu top-left corner") << "TForm1" << QPoint(6, 0) << false;
    QTest::newRow("menu first top pixel") << "TForm1" << QPoint(7, 0) << true;
    QTest::newRow("menu rightmost column") << "TForm1" << QPoint(606, 200) << false;
    QTest::newRow("menu bottom gap") << "TForm1" << QPoint(110, 478) << false;
    QTest::newRow("game corner cut") << "TFSudoku" << QPoint(5, 0) << false;
    QTest::newRow("game top row") << "TFSudoku" << QPoint(580, 0) << true;
    QTest::newRow("game top row end") << "TFSudoku" << QPoint(581, 0) << false;
    QTest::newRow("game rightmost column") << "TFSudoku" << QPoint(586, 100) << false;
    QTest::newRow("game last column inside") << "TFSudoku" << QPoint(585, 100) << true;
    QTest::newRow("tips hole row 65") << "TFRady" << QPoint(31, 65) << false;
    QTest::newRow("tips beside hole") << "TFRady" << QPoint(32, 65) << true;
    QTest::newRow("tips hole row 137") << "TFRady" << QPoint(28, 137) << false;
    QTest::newRow("tips rightmost column") << "TFRady" << QPoint(230, 100) << false;
    QTest::newRow("results hole") << "TF_Wyniki" << QPoint(7, 2) << false;
    QTest::newRow("results beside hole") << "TF_Wyniki" << QPoint(8, 2) << true;
    QTest::newRow("results rightmost column") << "TF_Wyniki" << QPoint(289, 100) << false;
    QTest::newRow("preview rightmost column") << "TFPodglad" << QPoint(358, 100) << false;
    QTest::newRow("example bottom corner") << "TFPrzyklad" << QPoint(7, 499) << false;
    QTest::newRow("example rightmost column") << "TFPrzyklad" << QPoint(439, 100) << false;
}

void OutlinesTest::pixelsInsideAndOutside()
{
    QFETCH(QString, window);
    QFETCH(QPoint, pixel);
    QFETCH(bool, inside);
    const auto region = TShapedRegion::parse(resourceBytes(window));
    QVERIFY(region.has_value());
    QCOMPARE(region->contains(pixel), inside);
}

void OutlinesTest::badDataGivesNoOutline_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = storedForm({QRect(0, 0, 10, 10)});
    QByteArray wrongHeader = good;
    qToLittleEndian<qint32>(28, wrongHeader.data() + 4);
    QByteArray wrongType = good;
    qToLittleEndian<qint32>(2, wrongType.data() + 8);
    QByteArray hugeCount = good;
    qToLittleEndian<qint32>(0x7fffffff, hugeCount.data() + 12);
    QByteArray negativeCount = good;
    qToLittleEndian<qint32>(-1, negativeCount.data() + 12);
    QByteArray countBeyondData = good;
    qToLittleEndian<qint32>(1000, countBeyondData.data());

    QTest::newRow("nothing") << QByteArray();
    QTest::newRow("short count") << QByteArray("\x10\x00", 2);
    QTest::newRow("zero count") << int32s({0});
    QTest::newRow("negative count") << int32s({-5});
    QTest::newRow("count beyond the data") << countBeyondData;
    QTest::newRow("header size not 32") << wrongHeader;
    QTest::newRow("type not rectangles") << wrongType;
    QTest::newRow("rectangle count beyond the data") << hugeCount;
    QTest::newRow("negative rectangle count") << negativeCount;
    QTest::newRow("no rectangles") << storedForm({});
    QTest::newRow("only empty rectangles") << storedForm({QRect(5, 5, 0, 3)});
    QTest::newRow("coordinates far off") << storedForm({QRect(0, 0, 10, 10), QRect(1 << 30, 0, 10, 10)});
}

void OutlinesTest::badDataGivesNoOutline()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!TShapedRegion::parse(bytes).has_value());
    TShapedRegion mask;
    mask.readData(storedForm({QRect(0, 0, 3, 3)}));
    mask.readData(bytes);
    QVERIFY(!mask.hasRegion());
    QCOMPARE(mask.writeData(), int32s({0}));
}

void OutlinesTest::everyTruncationIsRejectedWithoutReadingPast()
{
    // Each shorter prefix lives in a buffer of exactly its size, so a read past it is caught by sanitizers.
    const QByteArray stored = resourceBytes(QStringLiteral("TFRady"));
    for (qsizetype length = 0; length < stored.size(); ++length) {
        const QByteArray prefix(stored.constData(), length);
        QVERIFY2(!TShapedRegion::parse(prefix).has_value(), qPrintable(QString::number(length)));
    }
    // Trailing bytes after the stated count are not part of the outline.
    const auto longer = TShapedRegion::parse(stored + QByteArray(7, '\xff'));
    QVERIFY(longer.has_value());
    QCOMPARE(longer->rectCount(), 17);
}

void OutlinesTest::writingAMaskGivesCountThenData()
{
    const QRegion region = QRegion(0, 0, 10, 5) + QRegion(20, 0, 5, 5) + QRegion(0, 5, 25, 5);
    const QByteArray stored = TShapedRegion::serialize(region);
    const int n = region.rectCount();
    QCOMPARE(n, 3);
    QCOMPARE(stored.size(), 36 + 16 * n);
    QCOMPARE(stored.left(20), int32s({32 + 16 * n, 32, 1, n, 16 * n}));
    // Banded order: the top band left to right, then the band below.
    QCOMPARE(stored.mid(36), int32s({0, 0, 10, 5, 20, 0, 25, 5, 0, 5, 25, 10}));
    QCOMPARE(TShapedRegion::serialize(QRegion()), int32s({0}));
}

QTEST_MAIN(OutlinesTest)
#include "outlines_test.moc"
