// Tests that the bundled fonts carry every Polish letter and the digits, and stand in for the layouts' families
// even where the system has fonts of those names.
#include "BundledFonts.h"
#include "TArrowHint.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QScopeGuard>
#include <QtEndian>
#include <QPainterPath>
#include <QRawFont>
#include <QtTest>

namespace {
const QString PolishLetters = QStringLiteral("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ");
const QString Digits = QStringLiteral("123456789");

// A font of another name, as the system or another program may have one:
// Liberation Mono with its family, full and PostScript names rewritten in its
// name table (in place, so each name may be at most its 15 letters).
QByteArray fontNamed(const QString &family)
{
    QFile file(QStringLiteral(":/fonts/LiberationMono-Regular.ttf"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray font = file.readAll();
    auto *bytes = reinterpret_cast<uchar *>(font.data());
    const auto word = [bytes](qsizetype at) { return qFromBigEndian<quint16>(bytes + at); };
    const int tables = word(4);
    for (int t = 0; t < tables; ++t) {
        const qsizetype record = 12 + 16 * t;
        if (font.mid(record, 4) != "name")
            continue;
        const qsizetype table = qFromBigEndian<quint32>(bytes + record + 8);
        const qsizetype strings = table + word(table + 4);
        for (int n = 0; n < word(table + 2); ++n) {
            const qsizetype name = table + 6 + 12 * n;
            const int platform = word(name), id = word(name + 6);
            if (id != 1 && id != 4 && id != 6 && id != 16)
                continue;
            const QString text = id == 6 ? QString(family).remove(QLatin1Char(' ')) : family;
            QByteArray encoded;
            for (const QChar c : text)
                encoded += platform == 1 ? QByteArray(1, char(c.unicode()))
                                         : QByteArray{char(c.unicode() >> 8), char(c.unicode() & 0xff)};
            if (encoded.size() > word(name + 8))
                return {};
            qToBigEndian<quint16>(quint16(encoded.size()), bytes + name + 8);
            font.replace(strings + word(name + 10), encoded.size(), encoded);
        }
    }
    return font;
}
}  // namespace

class FontsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyLetterAndDigitRendersFromTheBundledFont_data();
    void everyLetterAndDigitRendersFromTheBundledFont();
    void garamondDigitsAreLining();
    void layoutFamiliesMapOntoBundledFonts_data();
    void layoutFamiliesMapOntoBundledFonts();
};

void FontsTest::initTestCase()
{
    // As the program starts: a label of a family whose bundled font comes
    // only after the menu shows asks for it once it is registered.
    QVERIFY(!RegisterStartUpFonts().contains(QStringLiteral("Liberation Mono")));
    QLabel clock(QStringLiteral("00:00:00"));
    clock.setFont(QFont(QStringLiteral("Courier New"), 14, QFont::Bold));
    const QStringList families = RegisterBundledFonts();
    QCOMPARE(clock.font().family(), QStringLiteral("Liberation Mono"));
    QVERIFY(clock.font().bold());
    for (const char *family : {"EB Garamond", "Liberation Sans", "Liberation Serif", "Liberation Mono"})
        QVERIFY2(families.contains(QString::fromLatin1(family)), family);
    QCOMPARE(RegisterBundledFonts(), families);   // a second call adds nothing
}

void FontsTest::everyLetterAndDigitRendersFromTheBundledFont_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("bold");
    QTest::newRow("Garamond bold") << "EB Garamond" << true;
    for (const char *family : {"Liberation Sans", "Liberation Serif", "Liberation Mono"}) {
        QTest::newRow(qPrintable(QStringLiteral("%1 regular").arg(QLatin1String(family)))) << QString::fromLatin1(family) << false;
        QTest::newRow(qPrintable(QStringLiteral("%1 bold").arg(QLatin1String(family)))) << QString::fromLatin1(family) << true;
    }
}

void FontsTest::everyLetterAndDigitRendersFromTheBundledFont()
{
    QFETCH(QString, family);
    QFETCH(bool, bold);
    QFont font(family);
    font.setPixelSize(21);
    font.setBold(bold);
    font.setStyleStrategy(QFont::NoFontMerging);
    const QRawFont raw = QRawFont::fromFont(font);
    QVERIFY(raw.isValid());
    QCOMPARE(raw.familyName(), family);
    QCOMPARE(raw.weight() >= QFont::DemiBold, bold);

    for (const QChar c : PolishLetters + Digits) {
        QVERIFY2(raw.supportsCharacter(c), qPrintable(QString(c)));
        const QList<quint32> glyphs = raw.glyphIndexesForString(QString(c));
        QCOMPARE(glyphs.size(), 1);
        QVERIFY2(glyphs.front() != 0, qPrintable(QString(c)));   // not the missing-glyph box
        QVERIFY2(!raw.pathForGlyph(glyphs.front()).isEmpty(), qPrintable(QString(c)));
    }

    // And drawing them with merging off puts ink on the page for each one.
    for (const QChar c : PolishLetters + Digits) {
        QImage image(40, 40, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRect(0, 0, 40, 40), Qt::AlignCenter, QString(c));
        painter.end();
        bool ink = false;
        for (int y = 0; y < image.height() && !ink; ++y)
            for (int x = 0; x < image.width() && !ink; ++x)
                ink = qGray(image.pixel(x, y)) < 128;
        QVERIFY2(ink, qPrintable(QString(c)));
    }
}

void FontsTest::garamondDigitsAreLining()
{
    // Lining digits reach the capitals' height; old-style 0, 1 and 2 would stop at the x-height.
    QFont font(QStringLiteral("EB Garamond"));
    font.setPixelSize(42);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoFontMerging);
    const QFontMetrics metrics(font);
    const int capital = metrics.tightBoundingRect(QStringLiteral("H")).top();
    const int xHeight = metrics.tightBoundingRect(QStringLiteral("x")).top();
    QVERIFY(capital < xHeight - 5);
    for (const QChar digit : Digits) {
        const QRect box = metrics.tightBoundingRect(QString(digit));
        QVERIFY2(qAbs(box.top() - capital) <= 2, qPrintable(QString(digit)));
        QVERIFY2(box.bottom() <= 3, qPrintable(QString(digit)));
    }
}

// The system has fonts of the layouts' names (the decoys registered here):
// windows and the balloon hint still draw with the bundled ones.
void FontsTest::layoutFamiliesMapOntoBundledFonts_data()
{
    QTest::addColumn<QString>("layoutFamily");
    QTest::addColumn<QString>("bundled");
    QTest::newRow("Garamond") << "Garamond" << "EB Garamond";
    QTest::newRow("MS Sans Serif") << "MS Sans Serif" << "Liberation Sans";
    QTest::newRow("Times New Roman") << "Times New Roman" << "Liberation Serif";
    QTest::newRow("Courier New") << "Courier New" << "Liberation Mono";
}

void FontsTest::layoutFamiliesMapOntoBundledFonts()
{
    QFETCH(QString, layoutFamily);
    QFETCH(QString, bundled);
    const int decoy = QFontDatabase::addApplicationFontFromData(fontNamed(layoutFamily));
    QVERIFY(decoy >= 0);
    QCOMPARE(QFontDatabase::applicationFontFamilies(decoy), QStringList{layoutFamily});
    const auto removeDecoy = qScopeGuard([decoy] { QFontDatabase::removeApplicationFont(decoy); });

    QFont font(layoutFamily);
    font.setPixelSize(13);
    font.setBold(layoutFamily == QStringLiteral("Garamond"));
    // A window with the layout's font, a label of its own font and one that
    // takes the window's, as layouts and code make them.
    QWidget window;
    window.setFont(font);
    auto *inherits = new QLabel(QStringLiteral("ąę 123"), &window);
    auto *own = new QLabel(QStringLiteral("ąę 123"), &window);
    QFont ownFont = font;
    ownFont.setPixelSize(21);
    own->setFont(ownFont);
    for (const QWidget *widget : std::initializer_list<const QWidget *>{&window, inherits, own}) {
        QCOMPARE(QFontInfo(widget->font()).family(), bundled);
        QCOMPARE(widget->font().bold(), font.bold());
    }
    QCOMPARE(own->font().pixelSize(), 21);
    TArrowHint hint;
    hint.setFont(font);
    QCOMPARE(QFontInfo(hint.Font()).family(), bundled);
}

QTEST_MAIN(FontsTest)
#include "fonts_test.moc"
