// The shaped-window background and its stored outline.
#include "TShapedForm.h"

#include <QEvent>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <QtEndian>
#include <stdexcept>
#include <vector>

// ---- Stored outline ------------------------------------------------------

namespace {

constexpr qint64 HeaderSize = 32;
constexpr qint64 RectangleSize = 16;
// Far beyond any window; keeps every width and height within int.
constexpr qint64 CoordinateLimit = qint64(1) << 27;

qint32 int32At(QByteArrayView bytes, qsizetype offset)
{
    return qFromLittleEndian<qint32>(bytes.data() + offset);
}

void appendInt32(QByteArray &out, qint32 value)
{
    char buffer[4];
    qToLittleEndian<qint32>(value, buffer);
    out.append(buffer, 4);
}

// Unites the rectangles pairwise, so a long list costs n log n, not n².
QRegion uniteAll(std::vector<QRegion> parts)
{
    if (parts.empty())
        return {};
    while (parts.size() > 1) {
        std::vector<QRegion> merged;
        merged.reserve(parts.size() / 2 + 1);
        for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
            merged.push_back(parts[i].united(parts[i + 1]));
        if (parts.size() % 2)
            merged.push_back(parts.back());
        parts.swap(merged);
    }
    return parts.front();
}

std::optional<QRegion> parseRegionData(QByteArrayView data)
{
    if (data.size() < HeaderSize)
        return std::nullopt;
    if (int32At(data, 0) != HeaderSize || int32At(data, 4) != 1)
        return std::nullopt;
    const qint64 count = int32At(data, 8);
    if (count < 0 || count > (data.size() - HeaderSize) / RectangleSize)
        return std::nullopt;

    std::vector<QRegion> parts;
    parts.reserve(std::size_t(count));
    for (qint64 i = 0; i < count; ++i) {
        const qsizetype at = qsizetype(HeaderSize + i * RectangleSize);
        const qint64 left = int32At(data, at), top = int32At(data, at + 4);
        const qint64 right = int32At(data, at + 8), bottom = int32At(data, at + 12);
        for (qint64 v : {left, top, right, bottom}) {
            if (v < -CoordinateLimit || v > CoordinateLimit)
                return std::nullopt;
        }
        if (right <= left || bottom <= top)
            continue;
        parts.emplace_back(int(left), int(top), int(right - left), int(bottom - top));
    }
    QRegion region = uniteAll(std::move(parts));
    if (region.isEmpty())
        return std::nullopt;
    return region;
}

}  // namespace

TShapedRegion::TShapedRegion(TShapedForm *owner) : m_owner(owner) {}

std::optional<QRegion> TShapedRegion::parse(QByteArrayView bytes)
{
    if (bytes.size() < 4)
        return std::nullopt;
    const qint64 count = int32At(bytes, 0);
    if (count <= 0 || count > bytes.size() - 4)
        return std::nullopt;
    return parseRegionData(bytes.sliced(4, qsizetype(count)));
}

QByteArray TShapedRegion::regionData(const QRegion &region)
{
    QByteArray out;
    if (region.isEmpty())
        return out;
    const qint32 count = qint32(region.rectCount());
    const QRect bounds = region.boundingRect();
    appendInt32(out, qint32(HeaderSize));
    appendInt32(out, 1);
    appendInt32(out, count);
    appendInt32(out, count * qint32(RectangleSize));
    for (qint32 v : {bounds.left(), bounds.top(), bounds.right() + 1, bounds.bottom() + 1})
        appendInt32(out, v);
    // QRegion keeps its rectangles in the canonical banded order already.
    for (const QRect &r : region) {
        for (qint32 v : {r.left(), r.top(), r.right() + 1, r.bottom() + 1})
            appendInt32(out, v);
    }
    return out;
}

QByteArray TShapedRegion::serialize(const QRegion &region)
{
    const QByteArray data = regionData(region);
    QByteArray out;
    appendInt32(out, qint32(data.size()));
    out.append(data);
    return out;
}

void TShapedRegion::AssignRegionData(QByteArrayView data)
{
    m_region = data.isEmpty() ? std::nullopt : parseRegionData(data);
}

void TShapedRegion::AssignRegion(const std::optional<QRegion> &region)
{
    if (region && !region->isEmpty())
        m_region = *region;
    else
        m_region.reset();
}

void TShapedRegion::readData(QByteArrayView bytes)
{
    m_region = parse(bytes);
}

QByteArray TShapedRegion::writeData() const
{
    return serialize(m_region.value_or(QRegion()));
}

bool TShapedRegion::loadFrom(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_region.reset();
        return false;
    }
    // An outline is a few hundred bytes; a huge file is not one.
    readData(file.read(16 * 1024 * 1024));
    return true;
}

// ---- The control ---------------------------------------------------------

TShapedForm::TShapedForm(QWidget *parent) : QWidget(parent), m_mask(this)
{
    setMouseTracking(true);   // the main menu follows every move over its background
    placeOn(parent);
}

TShapedForm::~TShapedForm()
{
    if (m_holder)
        m_holder->removeEventFilter(this);
}

void TShapedForm::placeOn(QWidget *holder)
{
    if (m_holder == holder)
        return;
    if (m_holder)
        m_holder->removeEventFilter(this);
    m_holder = holder;
    m_placementError.clear();
    disconnect(m_screenScale);
    m_screen = nullptr;
    if (!holder)
        return;   // taken off its window: nothing to check

    holder->installEventFilter(this);
    fillHolder();
    if (!holder->isWindow()) {
        m_placementError = QString::fromLatin1(PlacementErrorText);
        return;
    }
    if (!(holder->windowFlags() & Qt::FramelessWindowHint)) {
        const bool wasVisible = holder->isVisible();
        holder->setWindowFlags(holder->windowFlags() | Qt::FramelessWindowHint);
        if (wasVisible)
            holder->show();
    }
}

void TShapedForm::fillHolder()
{
    if (m_holder)
        setGeometry(m_holder->rect());
}

void TShapedForm::setPicture(const StoredPicture &picture)
{
    m_picture = picture;
    FitWindowToPicture();
    update();
}

void TShapedForm::setMaskResource(const QString &path)
{
    m_maskResource = path;
    m_mask.loadFrom(path);
}

void TShapedForm::assignMask(const TShapedRegion *mask)
{
    if (mask && mask != &m_mask)
        m_mask.AssignRegion(mask->Region());
    ApplyOutline();
}

void TShapedForm::Loaded()
{
    if (!m_placementError.isEmpty())
        throw std::runtime_error(PlacementErrorText);
    FitWindowToPicture();
    ApplyOutline();
}

void TShapedForm::ApplyOutline()
{
    if (!m_holder)
        return;
    const QRegion outline = m_mask.Region().value_or(QRegion());
    if (outline.isEmpty())
        m_holder->clearMask();
    else
        m_holder->setMask(outline);
    // The window system holds the outline in screen pixels, scaled once when
    // it was given; the widget above skips an outline it already has. So the
    // window itself is given it again, scaled for the screen it is on now.
    if (QWindow *window = m_holder->windowHandle())
        window->setMask(outline);
}

void TShapedForm::followScreen()
{
    QScreen *screen = m_holder ? m_holder->screen() : nullptr;
    if (screen == m_screen)
        return;
    disconnect(m_screenScale);
    m_screen = screen;
    // A screen whose scale the player changes stays the window's screen: it
    // tells only of its new dots per inch.
    if (screen)
        m_screenScale = connect(screen, &QScreen::logicalDotsPerInchChanged, this, &TShapedForm::ApplyOutline);
}

void TShapedForm::FitWindowToPicture()
{
    if (m_picture.isNull() || !m_holder)
        return;
    m_holder->resize(m_picture.size());
    fillHolder();
}

bool TShapedForm::event(QEvent *event)
{
    if (event->type() == QEvent::ParentChange)
        placeOn(parentWidget());
    return QWidget::event(event);
}

bool TShapedForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_holder) {
        switch (event->type()) {
        case QEvent::Resize:
            fillHolder();
            break;
        case QEvent::Show:
            followScreen();
            break;
        case QEvent::ScreenChangeInternal:
            // Moved to a screen of another scale (or another screen at all):
            // the outline must cover the window there as it did here.
            followScreen();
            ApplyOutline();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TShapedForm::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    DrawPicture(painter, m_picture.pixmap(devicePixelRatio()));
}

void TShapedForm::mousePressEvent(QMouseEvent *event)
{
    emit OnMouseDown(event->button(), event->modifiers(), event->position().toPoint());
    m_grabPoint = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        m_pressedInside = true;
}

void TShapedForm::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click is still a press: it sets the grab point.
    mousePressEvent(event);
}

void TShapedForm::mouseMoveEvent(QMouseEvent *event)
{
    emit OnMouseMove(event->buttons(), event->modifiers(), event->position().toPoint());
    constexpr Qt::KeyboardModifiers keys = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    if (!m_moveable || !m_holder || event->buttons() != Qt::LeftButton || (event->modifiers() & keys))
        return;
    // Measured from the global position: the event's local one may predate the last move.
    const QPoint pointer = mapFromGlobal(event->globalPosition().toPoint());
    const QPoint travel = pointer - m_grabPoint;
    if (travel.isNull())
        return;
    m_holder->move(m_holder->pos() + travel);
    m_holder->repaint();
}

void TShapedForm::mouseReleaseEvent(QMouseEvent *event)
{
    emit OnMouseUp(event->button(), event->modifiers(), event->position().toPoint());
    if (event->button() == Qt::LeftButton) {
        const bool click = m_pressedInside && rect().contains(event->position().toPoint());
        m_pressedInside = false;
        if (click)
            emit OnClick();
    }
}
