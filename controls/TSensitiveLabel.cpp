// The link label: hover and pressed fonts over an ordinary label.
#include "TSensitiveLabel.h"

#include "Accessibility.h"
#include "ColorValue.h"
#include "KeyboardCues.h"

#include <QKeyEvent>
#include <QMouseEvent>

LabelFontLook LabelFontLook::of(const QFont &font, const QColor &color)
{
    LabelFontLook look;
    look.color = color;
    look.family = font.family();
    if (font.pixelSize() > 0)
        look.pixelSize = font.pixelSize();
    else
        look.pointSize = font.pointSize();
    look.bold = font.bold();
    look.italic = font.italic();
    look.underline = font.underline();
    look.strikeOut = font.strikeOut();
    return look;
}

const LabelFontLook &TSensitiveLabel::NormalFont()
{
    // The game's default control font, as every label has it before its layout
    // gives it another one.
    static const LabelFontLook normal = [] {
        QFont font(QStringLiteral("MS Sans Serif"));
        font.setPointSize(8);
        return LabelFontLook::of(font, ColorFromValue(SystemColor::WindowText));
    }();
    return normal;
}

TSensitiveLabel::TSensitiveLabel(QWidget *parent) : QLabel(parent)
{
    NormalFont();
    QFont base(NormalFont().family);
    base.setPointSize(NormalFont().pointSize);
    m_fontMouseDown = base;
    m_fontMouseDownColor = QColor(255, 0, 0);
    m_fontMouseMove = base;
    m_fontMouseMoveColor = NormalFont().color;
    setMouseTracking(true);
    InstallAccessibleInterfaces();
    InstallKeyboardCues();
    // The window's Tab order reaches it (see SkinnedWindow); a label that
    // Qt itself lets take the focus lays its text out another way, a pixel off.
    setFocusPolicy(Qt::NoFocus);
}

void TSensitiveLabel::setActiveMouseDown(bool active)
{
    if (active == m_activeMouseDown)
        return;
    m_activeMouseDown = active;
    update();
}

void TSensitiveLabel::setActiveMouseMove(bool active)
{
    if (active == m_activeMouseMove)
        return;
    m_activeMouseMove = active;
    update();
}

void TSensitiveLabel::setFontMouseDown(const QFont &font)
{
    m_fontMouseDown = font;
    update();
}

void TSensitiveLabel::setFontMouseDownColor(const QColor &color)
{
    m_fontMouseDownColor = color;
    update();
}

void TSensitiveLabel::setFontMouseMove(const QFont &font)
{
    m_fontMouseMove = font;
    update();
}

void TSensitiveLabel::setFontMouseMoveColor(const QColor &color)
{
    m_fontMouseMoveColor = color;
    update();
}

void TSensitiveLabel::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    if (autoSize)
        fitToText();
}

// The label's size hint can be a pixel shorter than the box its text is drawn
// in with some fonts; the larger of the two never cuts a letter off.
void TSensitiveLabel::fitToText()
{
    const QRect drawn = fontMetrics().boundingRect(QRect(0, 0, 4000, 4000),
                                                   int(alignment()) | Qt::TextExpandTabs, text());
    resize(sizeHint().expandedTo(drawn.size()));
}

void TSensitiveLabel::setText(const QString &text)
{
    QLabel::setText(text);
    if (m_autoSize)
        fitToText();
}

void TSensitiveLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    // Also when the window hands the label another font (the menu puts its
    // panel font back): the text must never be cut off.
    if (event->type() == QEvent::FontChange && m_autoSize)
        fitToText();
}

QColor TSensitiveLabel::fontColor() const
{
    return palette().color(QPalette::WindowText);
}

void TSensitiveLabel::takeLook(const LabelFontLook &look)
{
    QFont changed = font();
    changed.setFamilies({look.family});
    if (look.pixelSize > 0)
        changed.setPixelSize(look.pixelSize);
    else if (look.pointSize > 0)
        changed.setPointSize(look.pointSize);
    changed.setBold(look.bold);
    changed.setItalic(look.italic);
    changed.setUnderline(look.underline);
    changed.setStrikeOut(look.strikeOut);
    setFont(changed);

    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, look.color);
    setPalette(colours);
    update();
}

void TSensitiveLabel::enterEvent(QEnterEvent *event)
{
    m_pointerInside = true;
    // The pointer's look replaces the focus mark's; leaving gives the normal font.
    m_lookBeforeFocus.reset();
    // The hover font applies whatever ActiveMouseMove holds; the links rely on it.
    takeLook(LabelFontLook::of(m_fontMouseMove, m_fontMouseMoveColor));
    QLabel::enterEvent(event);
}

void TSensitiveLabel::leaveEvent(QEvent *event)
{
    m_pointerInside = false;
    takeLook(NormalFont());
    QLabel::leaveEvent(event);
}

bool TSensitiveLabel::event(QEvent *event)
{
    if (event->type() == QEvent::Hide || event->type() == KeyboardCuesChange)
        updateFocusCue();
    return QLabel::event(event);
}

void TSensitiveLabel::updateFocusCue()
{
    showFocusCue(hasFocus() && isVisible() && KeyboardCuesShown(this));
}

// The focus mark is the hover font; when it goes, the label looks as before it came.
void TSensitiveLabel::showFocusCue(bool shown)
{
    if (shown == m_lookBeforeFocus.has_value() || m_pointerInside)
        return;
    if (shown) {
        m_lookBeforeFocus.emplace(font(), palette());
        takeLook(LabelFontLook::of(m_fontMouseMove, m_fontMouseMoveColor));
    } else {
        setFont(m_lookBeforeFocus->first);
        setPalette(m_lookBeforeFocus->second);
        m_lookBeforeFocus.reset();
    }
}

// A focused label would lay its text out for editing, a pixel off: the focus
// changes nothing but the focus mark.
void TSensitiveLabel::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    updateFocusCue();
}

void TSensitiveLabel::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    updateFocusCue();
}

void TSensitiveLabel::click()
{
    if (isEnabled())
        emit OnClick();
}

void TSensitiveLabel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            click();
        return;
    default:
        event->ignore();
    }
}

void TSensitiveLabel::mousePressEvent(QMouseEvent *event)
{
    emit OnMouseDown(event->button(), event->modifiers(), event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        m_pressedInside = true;
    if (m_activeMouseDown && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton))
        takeLook(LabelFontLook::of(m_fontMouseDown, m_fontMouseDownColor));
}

void TSensitiveLabel::mouseMoveEvent(QMouseEvent *event)
{
    emit OnMouseMove(event->buttons(), event->modifiers(), event->position().toPoint());
    QLabel::mouseMoveEvent(event);
}

void TSensitiveLabel::mouseReleaseEvent(QMouseEvent *event)
{
    emit OnMouseUp(event->button(), event->modifiers(), event->position().toPoint());
    // Whether the release is on the label is judged before the normal font
    // shrinks it: a release on the last letters of a link still opens it.
    const bool inside = rect().contains(event->position().toPoint());
    takeLook(NormalFont());
    if (event->button() == Qt::LeftButton) {
        const bool click = m_pressedInside && inside;
        m_pressedInside = false;
        if (click)
            emit OnClick();
    }
}
