// The picture button: its looks follow the pointer and the left mouse button.
#include "TImageButton.h"

#include "Accessibility.h"
#include "ColorValue.h"
#include "KeyboardCues.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScopeGuard>
#include <QTimer>

TImageButton::TImageButton(QWidget *parent) : QWidget(parent)
{
    InstallAccessibleInterfaces();
    InstallKeyboardCues();
    // Tab reaches it; a click does not move the focus.
    setFocusPolicy(Qt::TabFocus);
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
        resize(shownSize(pictureSize(m_bitmap)));
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
    if (switchedOff() && !picture.isNull())
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
    resize(shownSize(pictureSize(picture)));
    repaint();
}

void TImageButton::paintEvent(QPaintEvent *)
{
    if (m_currentBitmap.isNull())
        m_currentBitmap = m_bitmap;
    QPainter painter(this);
    painter.fillRect(rect(), ColorFromValue(SystemColor::ButtonFace));
    if (switchedOff() && !m_bitmapDisabled.isNull())
        DrawPicture(painter, m_bitmapDisabled);
    else if (!m_currentBitmap.isNull())
        DrawPicture(painter, m_currentBitmap);
}

bool TImageButton::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTipChange)
        updateAccessibleName();
    else if (event->type() == KeyboardCuesChange && hasFocus())
        showLitOrNormal();
    return QWidget::event(event);
}

// A switched-off button keeps the size of its disabled picture, which is what
// it shows; otherwise it takes the size of the picture it shows.
QSize TImageButton::shownSize(QSize shown) const
{
    return switchedOff() && !m_bitmapDisabled.isNull() ? pictureSize(m_bitmapDisabled) : shown;
}

// Switched off by itself or by a panel it lies on; a button whose window is
// locked is disabled too, but not switched off.
bool TImageButton::switchedOff() const
{
    return !isEnabledTo(window());
}

void TImageButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            // A disabled button ignores the pointer: a press in progress ends here.
            m_leftHeld = false;
            m_clickArmed = false;
            if (switchedOff() && !m_bitmapDisabled.isNull())
                resize(pictureSize(m_bitmapDisabled));
        } else if (m_keepsPressedLook) {
            m_keepsPressedLook = false;
            if (!m_currentBitmap.isNull())
                resize(pictureSize(m_currentBitmap));
        } else {
            // Whatever happened meanwhile (a press cut short by a window that
            // locked this one, moves the button never saw), the pointer decides.
            showPointerLook();
            // A window that locked this one is enabled again before it goes
            // away: once it has, the button may lie under the pointer again.
            QTimer::singleShot(0, this, [this] {
                if (isEnabled() && !m_leftHeld && !m_clicking && !m_spaceHeld)
                    showReleasedLook();
            });
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
    // A button with the keyboard's focus stays lit.
    if (showsFocusCue())
        pointerEntered();
    else if (isEnabled() && pictureSize(m_bitmap).width() >= 1)
        showPicture(m_bitmap);
}

// The focus mark, shown only once the keyboard is used in the window.
bool TImageButton::showsFocusCue() const
{
    return hasFocus() && KeyboardCuesShown(this);
}

void TImageButton::showLitOrNormal()
{
    if (!isEnabled() || m_leftHeld || m_clicking || m_spaceHeld)
        return;
    if (m_pointerInside || showsFocusCue())
        pointerEntered();
    else
        pointerLeft();
}

void TImageButton::showPointerLook()
{
    m_pointerInside = isUnderPointer();
    if (m_pointerInside)
        pointerEntered();
    else
        pointerLeft();
}

// While its click runs (a modal question may be up) the button keeps the
// pressed picture; the release step then looks where the pointer is.
void TImageButton::enterEvent(QEnterEvent *event)
{
    m_pointerInside = true;
    if (!m_clicking)
        pointerEntered();
    QWidget::enterEvent(event);
}

void TImageButton::leaveEvent(QEvent *event)
{
    m_pointerInside = false;
    if (!m_clicking)
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

// Whether this button is the control under the pointer's current screen
// position (disabled controls count as well); another window in front of it
// hides it.
bool TImageButton::isUnderPointer() const
{
    if (!isVisible())
        return false;
    const QPoint global = QCursor::pos();
    if (!rect().contains(mapFromGlobal(global)))
        return false;
    const QWidget *top = window();
    if (const QWidget *front = QApplication::topLevelAt(global); front && front != top)
        return false;
    return top == this || top->childAt(top->mapFromGlobal(global)) == this;
}

// OnClick, with the pressed picture showing while it runs. False when the
// button is gone or its own click switched it off: its look then stays frozen.
bool TImageButton::clickStep()
{
    QPointer<TImageButton> self(this);
    repaint();
    m_clicking = true;
    {
        // Also when a handler's error leaves through here.
        const auto clicked = qScopeGuard([self] {
            if (self)
                self->m_clicking = false;
        });
        emit OnClick();
    }
    if (!self)
        return false;
    if (switchedOff()) {
        m_keepsPressedLook = true;
        return false;
    }
    return true;
}

// After a release: lit while the pointer is still over the button (or it has
// the keyboard's focus mark), normal otherwise. A button locked with its
// window takes no pointer until the window is enabled again, so it shows its
// normal picture meanwhile.
void TImageButton::showReleasedLook()
{
    m_pointerInside = isUnderPointer();
    if (!isEnabled()) {
        showPicture(m_bitmap);
        return;
    }
    const StoredPicture &lit = !m_bitmapUp.isNull() ? m_bitmapUp : m_bitmapOver;
    showPicture((m_pointerInside || showsFocusCue()) && !lit.isNull() ? lit : m_bitmap);
}

void TImageButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    const bool clicks = m_leftHeld && m_clickArmed && rect().contains(event->position().toPoint());
    m_leftHeld = false;
    m_clickArmed = false;

    QPointer<TImageButton> self(this);
    if (clicks && !clickStep())
        return;
    if (isEnabled())
        emit OnMouseUp(event->button(), event->modifiers(), event->position().toPoint());
    if (self && !switchedOff())
        showReleasedLook();
}

void TImageButton::click()
{
    if (!isEnabled())
        return;
    m_leftHeld = false;
    m_clickArmed = false;
    if (!m_bitmapDown.isNull())
        showPicture(m_bitmapDown);
    QPointer<TImageButton> self(this);
    if (clickStep() && self)
        showReleasedLook();
}

// --- The keyboard -----------------------------------------------------------------

void TImageButton::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            click();
        return;
    case Qt::Key_Space:
        // Pressed while Space is down, clicked when it comes up, as a mouse button.
        if (!event->isAutoRepeat() && isEnabled() && !m_leftHeld) {
            m_spaceHeld = true;
            if (!m_bitmapDown.isNull())
                showPicture(m_bitmapDown);
        }
        return;
    default:
        // Arrows, Escape and the rest belong to the window.
        event->ignore();
    }
}

void TImageButton::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Space || event->isAutoRepeat() || !m_spaceHeld) {
        event->ignore();
        return;
    }
    m_spaceHeld = false;
    QPointer<TImageButton> self(this);
    if (isEnabled() && clickStep() && self)
        showReleasedLook();
}

void TImageButton::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    showLitOrNormal();
}

void TImageButton::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    if (m_spaceHeld) {
        // Space came up elsewhere: no click, as a press dragged off the button.
        m_spaceHeld = false;
    }
    showLitOrNormal();
}
