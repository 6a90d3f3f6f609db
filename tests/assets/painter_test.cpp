// The asset painter draws the same bytes on every run, and draws exactly the pictures the windows load
// and the program's icons.
#include "Inventory.h"

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

#include <utility>

namespace {

// Runs the painter into `folder`; returns its error output when it fails.
QString paintInto(const QString &folder)
{
    QProcess painter;
    painter.setProcessChannelMode(QProcess::SeparateChannels);
    painter.start(SUDOKU_PAINTER, {"--icons", SUDOKU_SOURCE_DIR "/tools/painter/icons",
                                   "--fonts", SUDOKU_SOURCE_DIR "/assets/fonts",
                                   "--pictures", folder + "/pictures",
                                   "--app-icon", folder + "/icons",
                                   "--installer", folder + "/installer",
                                   "--sheets", folder + "/sheets"});
    if (!painter.waitForFinished(300000))
        return "the painter did not finish";
    if (painter.exitStatus() != QProcess::NormalExit || painter.exitCode() != 0)
        return "the painter failed: " + QString::fromUtf8(painter.readAllStandardError());
    return {};
}

quint32 littleEndian(const QByteArray &bytes, qsizetype at, int size)
{
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | quint8(bytes.at(at + i));
    return value;
}

QStringList filesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next().mid(folder.size() + 1);
    files.sort();
    return files;
}

} // namespace

class PainterTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void twoRunsGiveTheSameBytes();
    void paintsExactlyTheWindowsPictures();
    void paintsTheDesktopIconAndTheContactSheets();

private:
    QTemporaryDir m_first;
    QTemporaryDir m_second;
};

void PainterTest::initTestCase()
{
    QVERIFY(m_first.isValid() && m_second.isValid());
    const QString first = paintInto(m_first.path());
    QVERIFY2(first.isEmpty(), qPrintable(first));
    const QString second = paintInto(m_second.path());
    QVERIFY2(second.isEmpty(), qPrintable(second));
}

void PainterTest::twoRunsGiveTheSameBytes()
{
    const QStringList files = filesUnder(m_first.path());
    QCOMPARE(filesUnder(m_second.path()), files);
    QVERIFY(files.size() > 200);
    for (const QString &file : files) {
        QFile a(m_first.filePath(file));
        QFile b(m_second.filePath(file));
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QVERIFY2(a.readAll() == b.readAll(), qPrintable(file + " differs between two runs"));
    }
}

void PainterTest::paintsExactlyTheWindowsPictures()
{
    QSet<QString> expected;
    for (const StillPicture &still : stillPictures())
        expected << still.path + ".png" << still.path + "@2x.png";
    for (const ButtonPictures &button : buttonPictures())
        for (const QString &path : buttonPicturePaths(button))
            expected << path + ".png" << path + "@2x.png";
    const QStringList painted = filesUnder(m_first.filePath("pictures"));
    QCOMPARE(QSet<QString>(painted.begin(), painted.end()), expected);
    // Pictures are opaque: the buttons carry the window behind them, nothing shows through.
    for (const QString &file : painted)
        QVERIFY2(!QImage(m_first.filePath("pictures/" + file)).hasAlphaChannel(), qPrintable(file));
}

void PainterTest::paintsTheDesktopIconAndTheContactSheets()
{
    QSvgRenderer svg(m_first.filePath("icons/sudoku.svg"));
    QVERIFY(svg.isValid());
    QCOMPARE(svg.defaultSize(), QSize(256, 256));
    for (const int size : {16, 24, 32, 48, 256}) {
        const QImage icon(m_first.filePath(QString("icons/sudoku-%1.png").arg(size)));
        QCOMPARE(icon.size(), QSize(size, size));
        // The corners are cut round; the middle is drawn.
        QVERIFY(qAlpha(icon.pixel(0, 0)) < 16);
        QCOMPARE(qAlpha(icon.pixel(size / 2, size / 2)), 255);
    }

    // The Windows icon: every size the shell asks for, each a picture of its own size.
    QFile icoFile(m_first.filePath("icons/sudoku.ico"));
    QVERIFY(icoFile.open(QIODevice::ReadOnly));
    const QByteArray ico = icoFile.readAll();
    QVERIFY(ico.size() > 6);
    QCOMPARE(littleEndian(ico, 0, 2), 0u);
    QCOMPARE(littleEndian(ico, 2, 2), 1u);
    const QList<int> sizes{16, 20, 24, 32, 40, 48, 64, 256};
    QCOMPARE(littleEndian(ico, 4, 2), quint32(sizes.size()));
    QVERIFY(ico.size() > 6 + 16 * sizes.size());
    for (int i = 0; i < sizes.size(); ++i) {
        const qsizetype entry = 6 + 16 * i;
        QCOMPARE(littleEndian(ico, entry, 1), quint32(sizes[i] % 256));
        QCOMPARE(littleEndian(ico, entry + 1, 1), quint32(sizes[i] % 256));
        QCOMPARE(littleEndian(ico, entry + 6, 2), 32u);
        const quint32 length = littleEndian(ico, entry + 8, 4);
        const quint32 offset = littleEndian(ico, entry + 12, 4);
        QVERIFY(offset + length <= quint32(ico.size()));
        const QImage image = QImage::fromData(ico.mid(offset, length), "PNG");
        QCOMPARE(image.size(), QSize(sizes[i], sizes[i]));
        QVERIFY(image.hasAlphaChannel());
        // The sizes the desktop also gets are the same pictures as its PNGs.
        const QImage png(m_first.filePath(QString("icons/sudoku-%1.png").arg(sizes[i])));
        if (!png.isNull())
            QCOMPARE(image.convertToFormat(QImage::Format_ARGB32), png.convertToFormat(QImage::Format_ARGB32));
    }
    // The installer's pictures: the sizes NSIS shows them at, as 24-bit BMP files without alpha,
    // and the same bytes as the committed ones.
    for (const auto &[name, size] : {std::pair{"wizard", QSize(164, 314)}, std::pair{"header", QSize(150, 57)}}) {
        const QString path = m_first.filePath(QString("installer/%1.bmp").arg(name));
        QFile bmp(path);
        QVERIFY2(bmp.open(QIODevice::ReadOnly), name);
        const QByteArray bytes = bmp.readAll();
        QVERIFY(bytes.startsWith("BM") && bytes.size() > 30);
        QCOMPARE(littleEndian(bytes, 28, 2), 24u);
        QCOMPARE(QImage(path).size(), size);
        QFile committed(QString(SUDOKU_SOURCE_DIR "/assets/installer/%1.bmp").arg(name));
        QVERIFY(committed.open(QIODevice::ReadOnly));
        QVERIFY2(committed.readAll() == bytes, qPrintable(QString(name) + ".bmp differs from the committed one: run tools/painter/paint.sh"));
    }
    for (const char *sheet : {"menu", "guides", "example", "game", "results", "buttons"}) {
        const QImage image(m_first.filePath(QString("sheets/%1.png").arg(sheet)));
        QVERIFY2(image.width() > 300 && image.height() > 300, sheet);
    }
}

QTEST_MAIN(PainterTest)
#include "painter_test.moc"
