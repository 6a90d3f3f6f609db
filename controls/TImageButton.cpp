// The picture button: its looks follow the pointer and the left mouse button.
#include "TImageButton.h"

#include "ColorValue.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

TImageButton::TImageButton(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(50, 50);
}

QSize TImageButton::pictureSize(const QPixmap &picture)
{
    return picture.deviceIndependentSize().toSize();
}

void TImageButton::setBitmap(const QPixmap &picture)
{
    m_bitmap = picture;
    showPicture(picture);
}

void TImageButton::setBitmapResource(const QString &path)
{
    // Sized like setBitmap(), but the picture is decoded only when first painted.
    m_bitmap = StoredPicture::named(path);
    m_currentBitmap = QPixmap();
    if (!m_bitmap.isNull())
        resize(pictureSize(!isEnabled() && !m_bitmapDisabled.isNull() ? m_bitmapDisabled : m_bitmap));
    update();
}

void TImageButton::setBitmapOver(const StoredPicture &picture)
{
    m_bitmapOver = picture;
    update();
}

void TImageButton::setBitmapDown(const StoredPicture &picture)
{
    m_bitmapDown = picture;
    update();
}

void TImageButton::setBitmapUp(const StoredPicture &picture)
{
    m_bitmapUp = picture;
    update();
}

void TImageButton::setBitmapDisabled(const StoredPicture &picture)
{
    m_bitmapDisabled = picture;
    if (!isEnabled() && !picture.isNull())
        resize(pictureSize(picture));
    update();
}

void TImageButton::setPictureWord(const QString &word)
{
    m_pictureWord = word;
    updateAccessibleName();
}

void TImageButton::updateAccessibleName()
{
    setAccessibleName(toolTip().isEmpty() ? m_pictureWord : toolTip());
}

// Shows a picture at once, sized to it. An empty picture is never shown: it
// would shrink the button to nothing and leave nothing to click.
void TImageButton::showPicture(const QPixmap &picture)
{
    if (picture.isNull())
        return;
    m_currentBitmap = picture;
    // A disabled button keeps the size of its disabled picture, which is what it shows.
    resize(!isEnabled() && !m_bitmapDisabled.isNull() ? pictureSize(m_bitmapDisabled) : pictureSize(picture));
    repaint();
}

void TImageButton::paintEvent(QPaintEvent *)
{
    if (m_currentBitmap.isNull())
        m_currentBitmap = m_bitmap;
    QPainter painter(this);
    painter.fillRect(rect(), ColorFromValue(SystemColor::ButtonFace));
    if (!isEnabled() && !m_bitmapDisabled.isNull())
        painter.drawPixmap(QPoint(0, 0), m_bitmapDisabled);
    else if (!m_currentBitmap.isNull())
        painter.drawPixmap(QPoint(0, 0), m_currentBitmap);
}

bool TImageButton::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTipChange)
        updateAccessibleName();
    return QWidget::event(event);
}

void TImageButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            // A disabled button ignores the pointer: a press in progress ends here.
            m_leftHeld = false;
            m_clickArmed = false;
            if (!m_bitmapDisabled.isNull())
                resize(pictureSize(m_bitmapDisabled));
        }
        update();
    }
    QWidget::changeEvent(event);
}

void TImageButton::pointerEntered()
{
    if (isEnabled() && pictureSize(m_bitmapOver).width() >= 1)
        showPicture(m_bitmapOver);
}

void TImageButton::pointerLeft()
{
    if (isEnabled() && pictureSize(m_bitmap).width() >= 1)
        showPicture(m_bitmap);
}

void TImageButton::enterEvent(QEnterEvent *event)
{
    m_pointerInside = true;
    pointerEntered();
    QWidget::enterEvent(event);
}

void TImageButton::leaveEvent(QEvent *event)
{
    m_pointerInside = false;
    pointerLeft();
    QWidget::leaveEvent(event);
}

void TImageButton::press(QMouseEvent *event, bool canClick)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    m_leftHeld = true;
    m_clickArmed = canClick;
    m_pointerInside = true;
    emit OnMouseDown(event->button(), event->modifiers(), event->position().toPoint());
    if (!m_bitmapDown.isNull())
        showPicture(m_bitmapDown);
}

void TImageButton::mousePressEvent(QMouseEvent *event)
{
    press(event, true);
}

void TImageButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click presses the button but never clicks it.
    press(event, false);
}

void TImageButton::mouseMoveEvent(QMouseEvent *event)
{
    // While the left button is held the button keeps the pointer, so it follows
    // the pointer leaving and coming back itself.
    if (!m_leftHeld)
        return;
    const bool inside = rect().contains(event->position().toPoint());
    if (inside == m_pointerInside)
        return;
    m_pointerInside = inside;
    if (inside)
        pointerEntered();
    else
        pointerLeft();
}

bool TImageButton::isUnderPointer(QPoint position) const
{
    if (!rect().contains(position))
        return false;
    const QWidget *top = window();
    return top == this || top->childAt(mapTo(top, position)) == this;
}

void TImageButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    const bool clicks = m_leftHeld && m_clickArmed && rect().contains(event->position().toPoint());
    m_leftHeld = false;
    m_clickArmed = false;

    QPointer<TImageButton> self(this);
    if (clicks) {
        repaint();   // the pressed picture shows while the click is handled
        emit OnClick();
        if (!self || !isEnabled())
            return;   // disabled by its own click: the pressed look stays frozen
    }

    emit OnMouseUp(event->button(), event->modifiers(), event->position().toPoint());
    if (!self || !isEnabled())
        return;
    const bool over = isUnderPointer(event->position().toPoint());
    m_pointerInside = over;
    if (!m_bitmapUp.isNull())
        showPicture(over ? m_bitmapUp : m_bitmap);
    else
        showPicture(over && !m_bitmapOver.isNull() ? m_bitmapOver : m_bitmap);
}
