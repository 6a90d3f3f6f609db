// The balloon hint: when to show it, where it goes and how it looks.
#include "TArrowHint.h"

#include "ColorValue.h"
#include "KeyboardCues.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {

QList<TArrowHint *> &balloons()
{
    static QList<TArrowHint *> list;
    return list;
}

// The game breaks lines with a lone carriage return.
QString withLineFeeds(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QRect exclusiveRect(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

constexpr int TextFlags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;

bool arrowOnTheLeft(TArrowHintWindow::Corner corner)
{
    using Corner = TArrowHintWindow::Corner;
    return corner == Corner::TopLeft || corner == Corner::BottomLeft;
}

}  // namespace

// ---- The component ------------------------------------------------------

TArrowHint::TArrowHint(QObject *parent) : QObject(parent)
{
    m_colors = {QColor(255, 255, 255), QColor(0, 0, 0), ColorFromValue(5493503), QColor(0, 0, 0)};
    m_font = QApplication::font();
    balloons().append(this);
    if (qApp)
        qApp->installEventFilter(this);
}

TArrowHint::~TArrowHint()
{
    balloons().removeAll(this);
    delete m_window;
}

TArrowHint *TArrowHint::application()
{
    return balloons().isEmpty() ? nullptr : balloons().first();
}

namespace {

// The slot's place among the four colours, or -1 for a value that names none.
int slotIndex(TArrowHint::ColourSlot slot)
{
    const int index = static_cast<int>(slot);
    return index >= 0 && index <= 3 ? index : -1;
}

}  // namespace

void TArrowHint::setColor(ColourSlot slot, const QColor &color)
{
    if (const int index = slotIndex(slot); index >= 0)
        m_colors[std::size_t(index)] = color;
}

QColor TArrowHint::color(ColourSlot slot) const
{
    const int index = slotIndex(slot);
    return index >= 0 ? m_colors[std::size_t(index)] : QColor();
}

TArrowHintWindow *TArrowHint::window()
{
    if (!m_window)
        m_window = new TArrowHintWindow(*this);
    return m_window;
}

void TArrowHint::cancelHint()
{
    m_showTimer.stop();
    m_hideTimer.stop();
    if (m_window)
        m_window->hide();
}

bool TArrowHint::wantsHint(const QWidget *widget)
{
    if (!widget || widget->toolTip().isEmpty())
        return false;
    const QVariant show = widget->property("ShowHint");
    return show.isValid() && show.toBool();
}

bool TArrowHint::eventFilter(QObject *watched, QEvent *event)
{
    // Qt's own tooltips never show, whichever balloon is the application's.
    if (event->type() == QEvent::ToolTip)
        return true;
    if (this != application())
        return false;

    switch (event->type()) {
    case QEvent::MouseMove:
        m_pointer = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        break;
    case QEvent::Enter:
        if (watched->isWidgetType())
            pointerOver(static_cast<QWidget *>(watched),
                        static_cast<QEnterEvent *>(event)->globalPosition().toPoint());
        break;
    case QEvent::Leave:
    case QEvent::Hide:
    case QEvent::FocusOut:
        if (watched == m_hintWidget)
            dropHint();
        break;
    case QEvent::FocusIn:
        // A control reached from the keyboard shows its hint as under the
        // pointer, pointing at the middle of the control's edge that faces
        // the screen's centre, so the balloon leaves the control in sight.
        if (watched->isWidgetType() && KeyboardCuesShown(static_cast<QWidget *>(watched))) {
            auto *widget = static_cast<QWidget *>(watched);
            const QPoint centre = widget->mapToGlobal(widget->rect().center());
            const QScreen *screen = widget->screen();
            const bool upperHalf = !screen || centre.y() < screen->geometry().center().y();
            const QPoint edge(widget->width() / 2, upperHalf ? widget->height() - 1 : 0);
            pointerOver(widget, widget->mapToGlobal(edge));
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
        // Like any hint, the balloon goes away on input and comes back only on another control.
        cancelHint();
        break;
    default:
        if (event->type() == KeyboardCuesChange && watched == m_hintWidget && !KeyboardCuesShown(m_hintWidget)
            && !m_hintWidget->underMouse())
            dropHint();
        break;
    }
    return false;
}

void TArrowHint::pointerOver(QWidget *widget, QPoint globalPosition)
{
    m_pointer = globalPosition;
    if (widget == m_hintWidget)
        return;
    if (!wantsHint(widget)) {
        // Entering a parent on the way to a child: the child's Enter comes next.
        if (m_hintWidget && widget->isAncestorOf(m_hintWidget))
            return;
        dropHint();
        return;
    }
    const bool moveOn = (m_window && m_window->isVisible())
                        || (m_recentlyShown.isValid() && m_recentlyShown.elapsed() < m_hintPause);
    cancelHint();
    m_hintWidget = widget;
    m_showTimer.start(moveOn ? m_hintShortPause : m_hintPause, this);
}

void TArrowHint::dropHint()
{
    if (m_window && m_window->isVisible())
        m_recentlyShown.start();
    cancelHint();
    m_hintWidget = nullptr;
}

void TArrowHint::showFor(QWidget *widget)
{
    if (!widget || !widget->isVisible() || !wantsHint(widget))
        return;
    window()->ActivateHint(m_pointer, widget->toolTip());
    m_hideTimer.start(m_hintHidePause, this);
}

void TArrowHint::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_showTimer.timerId()) {
        m_showTimer.stop();
        showFor(m_hintWidget);
    } else if (event->timerId() == m_hideTimer.timerId()) {
        m_hideTimer.stop();
        if (m_window)
            m_window->hide();
    } else {
        QObject::timerEvent(event);
    }
}

// ---- The window ---------------------------------------------------------

TArrowHintWindow::TArrowHintWindow(const TArrowHint &owner)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                           | Qt::WindowDoesNotAcceptFocus)
    , m_owner(owner)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

TArrowHintWindow::Corner TArrowHintWindow::arrowCornerFor(QPoint pointer, QSize screenSize)
{
    const int halfWidth = screenSize.width() / 2;
    const int halfHeight = screenSize.height() / 2;
    const bool left = pointer.x() >= 0 && pointer.x() < halfWidth;
    const bool right = pointer.x() >= halfWidth && pointer.x() < screenSize.width();
    const bool top = pointer.y() >= 0 && pointer.y() < halfHeight;
    const bool bottom = pointer.y() >= halfHeight && pointer.y() < screenSize.height();
    if (left && top)
        return Corner::TopLeft;
    if (right && top)
        return Corner::TopRight;
    if (left && bottom)
        return Corner::BottomLeft;
    return Corner::BottomRight;
}

QSize TArrowHintWindow::measureText(const QFont &font, const QString &text, int maxHintWidth)
{
    const QFontMetrics metrics(font);
    const QRect limit(0, 0, qMax(1, maxHintWidth - 22), 1 << 20);
    return metrics.boundingRect(limit, TextFlags, withLineFeeds(text)).size();
}

QSize TArrowHintWindow::balloonSize(QSize textExtent)
{
    return QSize(textExtent.width() + 22, textExtent.height() + 6);
}

QRect TArrowHintWindow::balloonRect(QPoint pointer, QSize balloon, Corner corner)
{
    const int gap = corner == Corner::TopLeft ? 12 : 5;
    const int w = balloon.width(), h = balloon.height();
    const int px = pointer.x(), py = pointer.y();
    switch (corner) {
    case Corner::TopLeft: return QRect(px + gap, py + gap, w, h);
    case Corner::TopRight: return QRect(px - w - gap, py + gap, w, h);
    case Corner::BottomLeft: return QRect(px + gap, py - h - gap, w, h);
    case Corner::BottomRight: break;
    }
    return QRect(px - w - gap, py - h - gap, w, h);
}

QRect TArrowHintWindow::arrowColumn(Corner corner, QSize size)
{
    const int w = size.width(), h = size.height();
    if (arrowOnTheLeft(corner))
        return exclusiveRect(1, 1, 15, h - 1);
    return exclusiveRect(w - 15, 1, w - 1, h - 1);
}

QRect TArrowHintWindow::textArea(Corner corner, QSize size)
{
    const int w = size.width(), h = size.height();
    if (arrowOnTheLeft(corner))
        return exclusiveRect(15, 1, w - 1, h - 1);
    return exclusiveRect(1, 1, w - 15, h - 1);
}

QPoint TArrowHintWindow::arrowTip(Corner corner, QSize size)
{
    const int w = size.width(), h = size.height();
    switch (corner) {
    case Corner::TopLeft: return QPoint(3, 3);
    case Corner::TopRight: return QPoint(w - 4, 3);
    case Corner::BottomLeft: return QPoint(3, h - 4);
    case Corner::BottomRight: break;
    }
    return QPoint(w - 4, h - 4);
}

std::array<QPoint, 18> TArrowHintWindow::arrowPoints(Corner corner, QPoint tip)
{
    // A two-pixel right-angled head in the corner and a diagonal shaft running inwards.
    static constexpr int steps[18][2] = {{0, 0}, {0, 6}, {1, 6}, {1, 0}, {6, 0}, {6, 1},
                                         {2, 1}, {2, 4}, {5, 7}, {6, 7}, {3, 4}, {3, 3},
                                         {6, 6}, {7, 6}, {3, 2}, {4, 2}, {7, 5}, {7, 6}};
    const int sx = arrowOnTheLeft(corner) ? 1 : -1;
    const int sy = (corner == Corner::TopRight || corner == Corner::TopLeft) ? 1 : -1;
    std::array<QPoint, 18> points;
    for (std::size_t i = 0; i < points.size(); ++i)
        points[i] = QPoint(tip.x() + sx * steps[i][0], tip.y() + sy * steps[i][1]);
    return points;
}

void TArrowHintWindow::ActivateHint(QPoint pointer, const QString &text, QRect screen)
{
    m_text = text;
    m_font = m_owner.Font();
    const int maxWidth = m_owner.MaxHintWidth();

    if (screen.isEmpty()) {
        if (const QScreen *primary = QGuiApplication::primaryScreen())
            screen = primary->geometry();
    }
    const QSize size = balloonSize(measureText(m_font, text, maxWidth));
    m_arrowCorner = arrowCornerFor(pointer - screen.topLeft(), screen.size());
    setGeometry(balloonRect(pointer, size, m_arrowCorner));
    show();
    raise();
    update();
}

void TArrowHintWindow::paintEvent(QPaintEvent *)
{
    using Slot = TArrowHint::ColourSlot;
    const QSize area = size();

    QPainter painter(this);
    painter.fillRect(arrowColumn(m_arrowCorner, area), m_owner.color(Slot::ArrowBackground));
    painter.fillRect(textArea(m_arrowCorner, area), m_owner.color(Slot::Background));
    painter.setPen(QPen(m_owner.color(Slot::Border), 0));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    m_arrowTip = arrowTip(m_arrowCorner, area);
    const auto points = arrowPoints(m_arrowCorner, m_arrowTip);
    painter.setPen(QPen(m_owner.color(Slot::Arrow), 0));
    painter.drawPolyline(points.data(), int(points.size()));

    painter.setFont(m_font);
    painter.setPen(ColorFromValue(SystemColor::WindowText));
    painter.drawText(textArea(m_arrowCorner, area).adjusted(3, 1, -3, -1), TextFlags, withLineFeeds(m_text));
}
