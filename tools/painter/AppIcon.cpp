// The desktop icon of the game: a sudoku grid in the game's blue, as SVG, as PNGs of 256 pixels and of
// the small sizes, and as the Windows program's multi-size icon file.
#include "AppIcon.h"

#include "Studio.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>
#include <cstdio>

namespace painter {

namespace {

QString number(qreal value)
{
    return QString::number(value, 'f', 2);
}

// SVG path data of a painter path, with coordinates rounded so the text stays stable.
QString pathData(const QPainterPath &path)
{
    QString d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            d += "M" + number(e.x) + "," + number(e.y);
            break;
        case QPainterPath::LineToElement:
            d += "L" + number(e.x) + "," + number(e.y);
            break;
        case QPainterPath::CurveToElement: {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            d += "C" + number(e.x) + "," + number(e.y) + " " + number(c2.x) + "," + number(c2.y) + " "
                 + number(end.x) + "," + number(end.y);
            i += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    return d + "Z";
}

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setCompression(100);
    return writer.write(image) ? bytes : QByteArray();
}

void appendLittleEndian(QByteArray &out, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xff));
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "painter: cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    return true;
}

} // namespace

QList<int> windowsIconSizes()
{
    return {16, 20, 24, 32, 40, 48, 64, 256};
}

QByteArray icoFile(const QList<QImage> &images)
{
    // The icon directory (6 bytes), one 16-byte entry per image, then the images themselves.
    QByteArray head;
    appendLittleEndian(head, 0, 2);
    appendLittleEndian(head, 1, 2); // an icon, not a cursor
    appendLittleEndian(head, quint32(images.size()), 2);
    QByteArray body;
    quint32 offset = quint32(6 + 16 * images.size());
    for (const QImage &image : images) {
        const QByteArray png = pngBytes(image);
        if (png.isEmpty() || image.width() != image.height() || image.width() > 256)
            return {};
        appendLittleEndian(head, quint32(image.width() % 256), 1); // 0 stands for 256
        appendLittleEndian(head, quint32(image.height() % 256), 1);
        appendLittleEndian(head, 0, 1); // no palette
        appendLittleEndian(head, 0, 1);
        appendLittleEndian(head, 1, 2); // colour planes
        appendLittleEndian(head, 32, 2); // bits per pixel
        appendLittleEndian(head, quint32(png.size()), 4);
        appendLittleEndian(head, offset, 4);
        offset += quint32(png.size());
        body += png;
    }
    return head + body;
}

QByteArray appIconSvg()
{
    const QString blue = ink::gameBlue.name();
    const qreal left = 28;
    const qreal top = 28;
    const qreal cell = 200.0 / 9;
    QString svg;
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n";
    svg += "<defs><linearGradient id=\"paper\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
           "<stop offset=\"0\" stop-color=\"#ffffff\"/><stop offset=\"1\" stop-color=\"#d8ecff\"/></linearGradient></defs>\n";
    svg += "<rect x=\"8\" y=\"8\" width=\"240\" height=\"240\" rx=\"36\" fill=\"" + blue + "\"/>\n";
    svg += "<rect x=\"18\" y=\"18\" width=\"220\" height=\"220\" rx=\"28\" fill=\"url(#paper)\"/>\n";
    // Shaded alternate boxes, as in the game window.
    for (int br = 0; br < 3; ++br)
        for (int bc = 0; bc < 3; ++bc)
            if ((br + bc) % 2 == 1)
                svg += "<rect x=\"" + number(left + bc * 3 * cell) + "\" y=\"" + number(top + br * 3 * cell)
                       + "\" width=\"" + number(3 * cell) + "\" height=\"" + number(3 * cell) + "\" fill=\"#c9e0ff\"/>\n";
    for (int i = 1; i < 9; ++i) {
        if (i % 3 == 0)
            continue;
        const qreal at = left + i * cell;
        svg += "<path d=\"M" + number(at) + "," + number(top) + "V" + number(top + 200) + "M" + number(left) + ","
               + number(at) + "H" + number(left + 200) + "\" stroke=\"#7fa6e6\" stroke-width=\"2\"/>\n";
    }
    for (int i = 0; i <= 9; i += 3) {
        const qreal at = left + i * cell;
        svg += "<path d=\"M" + number(at) + "," + number(top - 3) + "V" + number(top + 203) + "M" + number(left - 3)
               + "," + number(at) + "H" + number(left + 203) + "\" stroke=\"" + blue + "\" stroke-width=\"6\"/>\n";
    }
    // A few digits, as outlines of the bundled serif letters so that the file needs no font.
    const struct {
        int row, col, digit;
        bool given;
    } digits[] = {{0, 1, 5, true}, {0, 6, 3, true}, {1, 4, 7, true}, {2, 0, 9, false}, {2, 8, 1, true},
                  {3, 3, 8, true}, {4, 1, 2, false}, {4, 7, 6, true}, {5, 5, 4, true}, {6, 2, 1, true},
                  {7, 6, 5, false}, {8, 4, 3, true}, {8, 8, 7, true}, {6, 7, 9, true}};
    const QFont font = Studio::font(Studio::serif(), 25, true);
    for (const auto &d : digits) {
        QPainterPath glyph;
        glyph.addText(0, 0, font, QString::number(d.digit));
        const QRectF bounds = glyph.boundingRect();
        const QPointF centre(left + (d.col + 0.5) * cell, top + (d.row + 0.5) * cell);
        glyph.translate(centre - bounds.center());
        svg += "<path d=\"" + pathData(glyph) + "\" fill=\"" + (d.given ? blue : QString("#1a1a1a")) + "\"/>\n";
    }
    svg += "</svg>\n";
    return svg.toUtf8();
}

namespace {

// Below 64 pixels the nine-by-nine grid's thin lines and fourteen digits blur into a grey patch;
// the small icon keeps what still reads: the blue frame, three by three boxes, the shading of the
// game's diagram and, where a box is big enough, a digit in the game's blue or black.
QImage smallAppIcon(int size)
{
    const QColor blue = ink::gameBlue;
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal radius = size * 0.2;
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    p.drawRoundedRect(QRectF(0, 0, size, size), radius, radius);
    // The paper and the box lines lie on whole pixels, so every line stays sharp.
    const int border = size >= 48 ? 3 : size >= 24 ? 2 : 1;
    const int line = size >= 48 ? 3 : size >= 32 ? 2 : 1;
    const int box = (size - 2 * border - 2 * line) / 3;
    const int start = (size - 3 * box - 2 * line) / 2;
    p.setRenderHint(QPainter::Antialiasing, false);
    // The boxes keep inside the frame's rounded corners.
    QPainterPath inside;
    inside.addRoundedRect(QRectF(border, border, size - 2 * border, size - 2 * border), radius - border, radius - border);
    p.setClipPath(inside);
    p.fillRect(QRect(start, start, 3 * box + 2 * line, 3 * box + 2 * line), blue);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            p.fillRect(QRect(start + c * (box + line), start + r * (box + line), box, box),
                       (r + c) % 2 == 1 ? QColor(201, 224, 255) : QColor(255, 255, 255));
    p.setClipping(false);
    if (size >= 32) {
        p.setRenderHint(QPainter::Antialiasing);
        const struct {
            int row, col, digit;
            bool given;
        } digits[] = {{0, 0, 5, true}, {1, 1, 3, false}, {2, 2, 9, true}, {0, 2, 7, true}, {2, 0, 1, false}};
        const int count = size >= 48 ? 5 : 3;
        const QFont font = Studio::font(Studio::serif(), box * 1.05, true);
        for (int i = 0; i < count; ++i) {
            QPainterPath glyph;
            glyph.addText(0, 0, font, QString::number(digits[i].digit));
            const QRectF cell(start + digits[i].col * (box + line), start + digits[i].row * (box + line), box, box);
            glyph.translate(cell.center() - glyph.boundingRect().center());
            p.fillPath(glyph, digits[i].given ? blue : ink::black);
        }
    }
    return image;
}

} // namespace

QImage appIconImage(int size)
{
    if (size < 64)
        return smallAppIcon(size);
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QSvgRenderer renderer(appIconSvg());
    renderer.render(&p);
    return image;
}

bool writeAppIcon(const QString &folder)
{
    const QByteArray svg = appIconSvg();
    if (!writeFile(folder + "/sudoku.svg", svg))
        return false;
    for (const int size : appIconSizes) {
        const QByteArray png = pngBytes(appIconImage(size));
        if (png.isEmpty()) {
            std::fprintf(stderr, "painter: cannot encode the %d-pixel icon\n", size);
            return false;
        }
        if (!writeFile(folder + QString("/sudoku-%1.png").arg(size), png))
            return false;
    }
    // Every size drawn for itself, not scaled down from the large picture: the
    // small ones on the pixel grid, like the desktop's PNGs.
    QList<QImage> sizes;
    for (int size : windowsIconSizes())
        sizes << appIconImage(size);
    const QByteArray ico = icoFile(sizes);
    return !ico.isEmpty() && writeFile(folder + "/sudoku.ico", ico);
}

} // namespace painter
