// Drawing kit shared by every picture: panes, decorative headings, icons, picture buttons and diagrams.
#include "Studio.h"

#include <QFile>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QSvgRenderer>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace painter {

qreal deviceScale(const QPainter &p)
{
    return p.deviceTransform().m11();
}

qreal relativeLuminance(const QColor &colour)
{
    auto linear = [](qreal c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

qreal contrastRatio(const QColor &a, const QColor &b)
{
    const qreal la = relativeLuminance(a);
    const qreal lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor deepenedFor(const QColor &colour, const QColor &backdrop, qreal contrast)
{
    QColor deep = colour;
    for (int percent = 100; percent > 0 && contrastRatio(deep, backdrop) < contrast; --percent)
        deep = QColor(colour.red() * percent / 100, colour.green() * percent / 100, colour.blue() * percent / 100);
    return deep;
}

Studio::Studio(const QString &iconFolder) : m_iconFolder(iconFolder) {}

QFont Studio::font(const QString &family, qreal pixelSize, bool bold)
{
    QFont f(family);
    f.setPixelSize(qMax(1, qRound(pixelSize)));
    f.setBold(bold);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoFontMerging));
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(true);
    return f;
}

// ---------------------------------------------------------------- panes

void Studio::drawPane(QPainter &p, const Outline &outline, const PaneStyle &style) const
{
    p.save();
    p.fillRect(QRectF(0, 0, outline.width, outline.height), style.rim);
    p.setPen(Qt::NoPen);
    for (const QRect &piece : outline.pieces()) {
        // The outline's corners are cut by up to eight pixels; a radius a little larger keeps
        // the inner edge of the rim parallel to the cut.
        const QRectF outer(piece.left(), piece.top(), piece.width(), piece.height());
        const qreal radius = 9;
        QPainterPath light;
        light.addRoundedRect(outer.adjusted(3, 3, -3, -3), radius - 3, radius - 3);
        p.setBrush(style.rimLight);
        p.drawPath(light);
        QPainterPath inner;
        inner.addRoundedRect(outer.adjusted(4.5, 4.5, -4.5, -4.5), radius - 4.5, radius - 4.5);
        p.setBrush(style.fill);
        p.drawPath(inner);
    }
    p.restore();
}

// ---------------------------------------------------------------- decorative letters

void Studio::drawHeading(QPainter &p, const QRectF &box, const QStringList &lines, const QColor &colour,
                         const QColor &backdrop, qreal maxPixelSize) const
{
    // Yellow and gold cannot be darkened far enough to read on the light panes without turning
    // brown, so they keep their colour on a dark plaque.
    const bool plaque = relativeLuminance(colour) > 0.3;
    const QColor plaqueColour(50, 36, 24);
    const QColor ground = plaque ? plaqueColour : backdrop;
    QColor faceTop;
    QColor faceBottom;
    if (plaque) {
        faceTop = colour.lighter(125);
        faceBottom = colour.darker(112);
    } else {
        // The lightest part of the face still reaches the contrast, with a little to spare.
        faceTop = deepenedFor(colour, backdrop, minimumContrast + 0.1);
        faceBottom = faceTop.darker(135);
    }
    for (const QColor &face : {faceTop, faceBottom})
        if (contrastRatio(face, ground) < minimumContrast)
            throw std::logic_error("heading " + lines.join(' ').toStdString() + " would not read on its backdrop");

    // Room for the outline and the shadow around the letters, or for the plaque's rim.
    const QRectF room = plaque ? box.adjusted(9, 4, -9, -5) : box.adjusted(3, 2, -5, -4);
    qreal size = qMin(maxPixelSize, room.height() / lines.size() * 1.25);
    QPainterPath path;
    for (; size > 6; size -= 0.5) {
        path = QPainterPath();
        const QFont f = font(garamond(), size, true);
        const QFontMetricsF metrics(f);
        qreal baseline = 0;
        for (const QString &line : lines) {
            QPainterPath linePath;
            linePath.addText(0, baseline, f, line);
            const QRectF bounds = linePath.boundingRect();
            linePath.translate(-bounds.center().x(), 0);
            path.addPath(linePath);
            baseline += metrics.ascent() * 0.92 + metrics.descent() * 0.35;
        }
        const QRectF bounds = path.boundingRect();
        if (bounds.width() <= room.width() && bounds.height() <= room.height())
            break;
    }
    const QRectF bounds = path.boundingRect();
    path.translate(room.center() - bounds.center());

    const qreal outlineWidth = qBound<qreal>(0.6, size / 18, 2.6);
    const int shadowSteps = size < 24 ? 1 : 3;

    p.save();
    if (plaque) {
        // A dark plaque with a faint bevel line inside its edge.
        const QRectF plate = box.adjusted(1.5, 1.5, -1.5, -1.5);
        const qreal radius = qMin<qreal>(10, plate.height() / 4);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 45));
        p.drawRoundedRect(plate.translated(1, 1), radius, radius);
        p.setBrush(plaqueColour);
        p.drawRoundedRect(plate, radius, radius);
        p.setPen(QPen(QColor(255, 255, 255, 40), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(plate.adjusted(2, 2, -2, -2), radius - 1.5, radius - 1.5);
    } else {
        // Soft shadow: a few offset copies at low opacity read as a blur and stay deterministic.
        p.setPen(Qt::NoPen);
        for (int i = shadowSteps; i >= 1; --i) {
            QColor shadow(0, 0, 0, size < 24 ? 45 : 38);
            p.setBrush(shadow);
            QPainterPathStroker stroker;
            stroker.setWidth(outlineWidth + i * qMin<qreal>(1.2, size / 24));
            stroker.setJoinStyle(Qt::RoundJoin);
            const QPainterPath fat = stroker.createStroke(path).united(path);
            const qreal offset = qMin<qreal>(outlineWidth * 0.9 + 1, size / 14);
            p.drawPath(fat.translated(offset, offset));
        }
    }
    // Outline: dark around big letters; small dark letters get a light halo instead, which keeps
    // their counters open. Light letters on the plaque need neither.
    if (!plaque) {
        const QColor edge = size < 32 ? QColor(255, 255, 255, 150) : faceTop.darker(220);
        p.setPen(QPen(edge, outlineWidth * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    // Gradient face, lighter at the top like lit enamel.
    const QRectF face = path.boundingRect();
    QLinearGradient gradient(face.topLeft(), face.bottomLeft());
    gradient.setColorAt(0.0, faceTop);
    gradient.setColorAt(1.0, faceBottom);
    p.setPen(Qt::NoPen);
    p.setBrush(gradient);
    p.drawPath(path);
    if (plaque) {
        // A gloss on the upper half of light letters; on dark ones it would cost contrast.
        p.setClipPath(path);
        QLinearGradient gloss(face.topLeft(), QPointF(face.left(), face.center().y()));
        gloss.setColorAt(0, QColor(255, 255, 255, 120));
        gloss.setColorAt(1, QColor(255, 255, 255, 0));
        p.fillRect(QRectF(face.left(), face.top(), face.width(), face.height() / 2), gloss);
    }
    p.restore();
}

// ---------------------------------------------------------------- icons

const QByteArray &Studio::svg(const QString &name) const
{
    auto found = m_svgCache.find(name);
    if (found == m_svgCache.end()) {
        QFile file(m_iconFolder + "/" + name + ".svg");
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("missing icon " + file.fileName().toStdString());
        found = m_svgCache.emplace(name, file.readAll()).first;
    }
    return found->second;
}

QRectF Studio::iconInk(const QString &name) const
{
    auto found = m_inkCache.find(name);
    if (found != m_inkCache.end())
        return found->second;
    const int side = 240;
    QImage layer(side, side, QImage::Format_ARGB32);
    layer.fill(Qt::transparent);
    {
        QPainter lp(&layer);
        QSvgRenderer renderer(svg(name));
        renderer.render(&lp, QRectF(0, 0, side, side));
    }
    QRect ink;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            if (qAlpha(layer.pixel(x, y)) > 0)
                ink |= QRect(x, y, 1, 1);
    const QRectF fraction(qreal(ink.left()) / side, qreal(ink.top()) / side, qreal(ink.width()) / side,
                          qreal(ink.height()) / side);
    return m_inkCache.emplace(name, fraction).first->second;
}

void Studio::drawIcon(QPainter &p, const QString &name, const QRectF &box, const QColor &colour) const
{
    const qreal scale = deviceScale(p);
    QImage layer(QSize(qCeil(box.width() * scale), qCeil(box.height() * scale)),
                 QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter lp(&layer);
        lp.setRenderHint(QPainter::Antialiasing);
        QSvgRenderer renderer(svg(name));
        renderer.render(&lp, QRectF(QPointF(0, 0), QSizeF(layer.size())));
        lp.setCompositionMode(QPainter::CompositionMode_SourceIn);
        lp.fillRect(layer.rect(), colour);
    }
    layer.setDevicePixelRatio(scale);
    p.drawImage(box.topLeft(), layer);
}

// ---------------------------------------------------------------- picture buttons

namespace {

// The colour moved the given share of the way to white, with the given opacity.
QColor towardWhite(const QColor &colour, qreal share, int alpha)
{
    return QColor(qRound(colour.red() + (255 - colour.red()) * share),
                  qRound(colour.green() + (255 - colour.green()) * share),
                  qRound(colour.blue() + (255 - colour.blue()) * share), alpha);
}

// The word's lines as one outline, each line centred on x = 0. A second line comes as close as it
// can while its letters stay a clear gap away from the first one's: the descenders of the one never
// meet the ascenders and accents of the other, and lines without them sit snugly.
QPainterPath wordPath(const QStringList &lines, qreal size)
{
    const QFont f = Studio::font(Studio::garamond(), size, true);
    QPainterPath text;
    for (const QString &line : lines) {
        QPainterPath linePath;
        linePath.addText(0, 0, f, line);
        linePath.translate(-linePath.boundingRect().center().x(), 0);
        if (!text.isEmpty()) {
            QPainterPathStroker stroker;
            stroker.setWidth(size * 0.24);
            const QPainterPath keepClear = stroker.createStroke(text).united(text);
            qreal pitch = size * 0.6;
            while (keepClear.intersects(linePath.translated(0, pitch)))
                pitch += 0.25;
            linePath.translate(0, pitch);
        }
        text.addPath(linePath);
    }
    return text;
}

// The word at the largest size that fits the box, on one line or split in two at a blank.
QPainterPath fitWord(const QString &word, const QSizeF &box, qreal maxSize, qsizetype *lineCount = nullptr)
{
    QList<QStringList> candidates{{word}};
    const QStringList parts = word.split(' ');
    for (int i = 1; i < parts.size(); ++i)
        candidates.append({parts.mid(0, i).join(' '), parts.mid(i).join(' ')});
    QPainterPath best;
    qreal bestSize = 0;
    for (const QStringList &lines : candidates) {
        for (qreal size = maxSize; size >= 7 && size > bestSize; size -= 0.5) {
            const QPainterPath path = wordPath(lines, size);
            const QRectF bounds = path.boundingRect();
            if (bounds.width() <= box.width() && bounds.height() <= box.height()) {
                best = path;
                bestSize = size;
                if (lineCount)
                    *lineCount = lines.size();
                break;
            }
        }
    }
    return best;
}

} // namespace

void Studio::drawButton(QPainter &p, const QSizeF &size, const ButtonLook &look, ButtonState state) const
{
    p.save();
    // The menu's first column button starts two rows shorter than its pictures until the pointer
    // first reaches it; a wider margin keeps its tile whole either way.
    const qreal margin = look.layout == ButtonLayout::IconOnly ? 3.5 : 2;
    const QRectF tile = QRectF(QPointF(0, 0), size).adjusted(margin, margin, -margin, -margin);
    const qreal radius = qMin<qreal>(10, size.height() / 4);
    QPainterPath tilePath;
    tilePath.addRoundedRect(tile, radius, radius);

    // The tile is translucent so that the window's own colour shows through it.
    QLinearGradient face(tile.topLeft(), tile.bottomLeft());
    QColor border;
    switch (state) {
    case ButtonState::Normal:
    case ButtonState::Disabled:
        face.setColorAt(0, QColor(255, 255, 255, 150));
        face.setColorAt(1, QColor(255, 255, 255, 45));
        border = QColor(0, 0, 0, 55);
        break;
    case ButtonState::Over:
        // Nearly opaque and pale, so the lit colour is not muddied by the window's own colour.
        face.setColorAt(0, QColor(255, 255, 255, 240));
        face.setColorAt(1, towardWhite(look.colour, 0.75, 240));
        border = look.colour;
        border.setAlpha(200);
        break;
    case ButtonState::Down:
        face.setColorAt(0, towardWhite(look.colour, 0.6, 245));
        face.setColorAt(1, towardWhite(look.colour, 0.92, 235));
        border = look.colour.darker(150);
        break;
    }
    p.setPen(QPen(border, 1.2));
    p.setBrush(face);
    p.drawPath(tilePath);
    if (state == ButtonState::Down) {
        // A dark inner edge along the top makes the tile look pushed in.
        p.setClipPath(tilePath);
        p.setPen(QPen(QColor(0, 0, 0, 50), 2.5));
        p.setBrush(Qt::NoBrush);
        p.drawPath(tilePath.translated(0.8, 0.8));
        p.setClipping(false);
    }

    QColor colour;
    switch (state) {
    case ButtonState::Normal: colour = ink::black; break;
    // Lit and pressed words read on the tile's palest tint of their colour, deepened where needed.
    case ButtonState::Over:
        colour = deepenedFor(look.colour, towardWhite(look.colour, 0.75, 255), minimumContrast + 0.1);
        break;
    case ButtonState::Down:
        colour = deepenedFor(look.colour.darker(145), towardWhite(look.colour, 0.6, 255), minimumContrast + 0.1);
        break;
    case ButtonState::Disabled: colour = QColor(150, 150, 150); break;
    }
    const QPointF shift = state == ButtonState::Down ? QPointF(1, 1) : QPointF(0, 0);

    // Where the icon and the word go.
    QRectF iconBox;
    QPainterPath word;
    if (look.layout == ButtonLayout::IconOnly) {
        const qreal side = qMin(size.width(), size.height()) - 18;
        iconBox = QRectF((size.width() - side) / 2, (size.height() - side) / 2, side, side);
    } else {
        // The icon keeps to about a third of the width, so short words still get big letters.
        // A word that needs two lines takes a smaller icon and margins: its letters need the room.
        const QRectF ink = iconInk(look.icon);
        for (const bool compact : {false, true}) {
            const qreal side = std::min({size.height() - 14, qreal(44), size.width() * 0.33}) * (compact ? 0.85 : 1);
            // Icon and word keep clear of the tile's edge, and as a group sit in the middle of it.
            const qreal pad = compact ? 5 : qMax<qreal>(8, size.height() * 0.14);
            const QRectF inner = tile.adjusted(pad, 4, -pad, -4);
            const qreal inkWidth = ink.width() * side;
            const qreal gap = compact ? 5 : qMax<qreal>(6, side * 0.2);
            const QRectF wordBox(inner.left() + inkWidth + gap, inner.top(), inner.width() - inkWidth - gap,
                                 inner.height());
            qsizetype lines = 1;
            word = fitWord(look.word, wordBox.size(), look.maxWordSize, &lines);
            const QRectF bounds = word.boundingRect();
            const qreal left = inner.left() + (inner.width() - (inkWidth + gap + bounds.width())) / 2;
            iconBox = QRectF(left - ink.left() * side, (size.height() - side) / 2, side, side);
            word.translate(QPointF(left + inkWidth + gap, wordBox.center().y() - bounds.height() / 2) - bounds.topLeft());
            if (lines == 1)
                break;
        }
    }

    auto drawInk = [&](const QPointF &offset, const QColor &c) {
        drawIcon(p, look.icon, iconBox.translated(offset), c);
        if (word.isEmpty())
            return;
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawPath(word.translated(offset));
    };

    if (state == ButtonState::Disabled)
        drawInk(QPointF(1, 1), QColor(255, 255, 255, 200));   // engraved look of a greyed button
    drawInk(shift, colour);
    p.restore();
}

// ---------------------------------------------------------------- diagrams

QRectF Studio::DiagramGeometry::cell(int row, int col) const
{
    return QRectF(left + (col - 1) * cellWidth, top + (row - 1) * cellHeight, cellWidth, cellHeight);
}

QRectF Studio::DiagramGeometry::rows(int first, int last) const
{
    return cell(first, 1).united(cell(last, 9));
}

QRectF Studio::DiagramGeometry::cols(int first, int last) const
{
    return cell(1, first).united(cell(9, last));
}

QRectF Studio::DiagramGeometry::box(int boxRow, int boxCol) const
{
    return cell(boxRow * 3 - 2, boxCol * 3 - 2).united(cell(boxRow * 3, boxCol * 3));
}

Studio::DiagramGeometry Studio::drawDiagram(QPainter &p, const QRectF &box, const Grid &digits,
                                            const std::array<std::array<Cell, 9>, 9> &kinds,
                                            const QColor &givenColour, const QColor &enteredColour) const
{
    const qreal frame = 2;
    DiagramGeometry g{box.left() + frame, box.top() + frame, (box.width() - 2 * frame) / 9,
                      (box.height() - 2 * frame) / 9};
    p.save();
    p.fillRect(box, QColor(40, 60, 110));
    for (int br = 1; br <= 3; ++br) {
        for (int bc = 1; bc <= 3; ++bc) {
            const bool shaded = (br + bc) % 2 == 1;
            p.fillRect(g.box(br, bc), shaded ? QColor(234, 242, 255) : QColor(255, 255, 255));
        }
    }
    p.setPen(QPen(QColor(150, 170, 205), 1));
    for (int i = 1; i < 9; ++i) {
        if (i % 3 == 0)
            continue;
        const qreal x = g.left + i * g.cellWidth;
        const qreal y = g.top + i * g.cellHeight;
        p.drawLine(QPointF(x, g.top), QPointF(x, g.top + 9 * g.cellHeight));
        p.drawLine(QPointF(g.left, y), QPointF(g.left + 9 * g.cellWidth, y));
    }
    p.setPen(QPen(QColor(40, 60, 110), 2));
    for (int i = 3; i < 9; i += 3) {
        const qreal x = g.left + i * g.cellWidth;
        const qreal y = g.top + i * g.cellHeight;
        p.drawLine(QPointF(x, g.top), QPointF(x, g.top + 9 * g.cellHeight));
        p.drawLine(QPointF(g.left, y), QPointF(g.left + 9 * g.cellWidth, y));
    }
    // Lining figures read better than the Garamond's old-style ones at these small sizes.
    const QFont f = font(serif(), qMin(g.cellHeight * 0.88, g.cellWidth * 0.8), true);
    p.setFont(f);
    for (int r = 1; r <= 9; ++r) {
        for (int c = 1; c <= 9; ++c) {
            const Cell kind = kinds[r - 1][c - 1];
            if (kind == Cell::Empty)
                continue;
            p.setPen(kind == Cell::Given ? givenColour : enteredColour);
            p.drawText(g.cell(r, c).translated(0, 0.5), Qt::AlignCenter, QString::number(digits[r - 1][c - 1]));
        }
    }
    p.restore();
    return g;
}

void Studio::outlinePart(QPainter &p, const QRectF &area, const QColor &colour, qreal width)
{
    p.save();
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(area.adjusted(-0.5, -0.5, 0.5, 0.5), 2, 2);
    p.restore();
}

void Studio::drawArrow(QPainter &p, const QPointF &from, const QPointF &control, const QPointF &to,
                       const QColor &colour)
{
    p.save();
    QPainterPath shaft(from);
    shaft.quadTo(control, to);
    const QPointF direction = to - control;
    const qreal length = std::hypot(direction.x(), direction.y());
    const QPointF unit = direction / length;
    const QPointF normal(-unit.y(), unit.x());
    const qreal head = 8;
    // Stop the shaft at the head's base so the tip stays sharp.
    QPainterPath trimmed(from);
    trimmed.quadTo(control, to - unit * head * 0.8);
    p.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(trimmed);
    QPainterPath tip;
    tip.moveTo(to);
    tip.lineTo(to - unit * head + normal * head * 0.45);
    tip.lineTo(to - unit * head * 0.7);
    tip.lineTo(to - unit * head - normal * head * 0.45);
    tip.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(tip);
    p.restore();
}

QStringList Studio::wrap(const QString &text, const QFont &font, qreal width)
{
    const QFontMetricsF m(font);
    QStringList lines;
    QString line;
    for (const QString &word : text.split(' ', Qt::SkipEmptyParts)) {
        const QString candidate = line.isEmpty() ? word : line + ' ' + word;
        if (!line.isEmpty() && m.horizontalAdvance(candidate) > width) {
            lines.append(line);
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

} // namespace painter
