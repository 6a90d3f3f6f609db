// The shadow label: the caption drawn in the shadow colour first, then in the font colour.
#include "TShadowLabel.h"

#include "Accessibility.h"
#include "ColorValue.h"

#include <QAccessible>
#include <QEvent>
#include <QPainter>

TShadowLabel::TShadowLabel(QWidget *parent) : QWidget(parent)
{
    InstallAccessibleInterfaces();
    m_shadowColor = ColorFromValue(SystemColor::ButtonHighlight);
    resize(65, 17);
}

QRect TShadowLabel::textRect(QRect client)
{
    return client.adjusted(1, 0, -1, 0);
}

QRect TShadowLabel::shadowRect(QRect textRect, ShadowPosition position, int size)
{
    switch (position) {
    case spLeftTop: return textRect.translated(-size, -size);
    case spLeftBottom: return textRect.translated(-size, size);
    case spRightBottom: return textRect.translated(size, size);
    case spRightTop: return textRect.translated(size, -size);
    }
    return textRect;
}

void TShadowLabel::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    adjustToText();
    update();
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void TShadowLabel::setShadowColor(const QColor &color)
{
    m_shadowColor = color;
    update();
}

void TShadowLabel::setShadowSize(int size)
{
    size = qBound(0, size, 255);
    if (size == m_shadowSize)
        return;
    m_shadowSize = size;
    adjustToText();
    update();
}

void TShadowLabel::setShadowPos(ShadowPosition position)
{
    m_shadowPos = position;
    update();
}

void TShadowLabel::setTransparent(bool transparent)
{
    m_transparent = transparent;
    update();
}

void TShadowLabel::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment & Qt::AlignHorizontal_Mask;
    if (!(m_alignment & (Qt::AlignRight | Qt::AlignHCenter)))
        m_alignment = Qt::AlignLeft;
    update();
}

void TShadowLabel::setWordWrap(bool wrap)
{
    if (wrap == m_wordWrap)
        return;
    m_wordWrap = wrap;
    adjustToText();
    update();
}

void TShadowLabel::setShowAccelChar(bool show)
{
    m_showAccelChar = show;
    update();
}

void TShadowLabel::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    adjustToText();
}

QColor TShadowLabel::Color() const
{
    return m_color.isValid() ? m_color : palette().color(QPalette::Window);
}

void TShadowLabel::setColor(const QColor &color)
{
    m_color = color;
    update();
}

int TShadowLabel::drawFlags() const
{
    int flags = Qt::TextExpandTabs | Qt::AlignTop | int(m_alignment);
    if (m_wordWrap)
        flags |= Qt::TextWordWrap;
    if (m_showAccelChar)
        flags |= Qt::TextShowMnemonic;
    return flags;
}

// The game breaks lines with a lone carriage return.
QString TShadowLabel::displayText() const
{
    QString text = m_text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

std::pair<TShadowLabel::ShadowPosition, int> TShadowLabel::effectiveShadow() const
{
    if (!isEnabled() && m_shadowSize == 0)
        return {spRightBottom, 1};
    return {m_shadowPos, m_shadowSize};
}

void TShadowLabel::adjustToText()
{
    if (!m_autoSize)
        return;
    const QFontMetrics metrics(font());
    // Measured as painted: from the client area narrowed by a pixel each side,
    // wrapped there when word wrap is on, with the shadow included.
    const QRect start = textRect(rect());
    const QRect limit(start.left(), start.top(), m_wordWrap ? qMax(1, start.width()) : (1 << 20), 1 << 20);
    const QRect measured = metrics.boundingRect(limit, drawFlags() & ~int(Qt::AlignHorizontal_Mask), displayText());
    const QRect text(start.left(), start.top(), measured.width(), measured.height());
    const auto [position, size] = effectiveShadow();
    const QRect both = text.united(shadowRect(text, position, size));
    const int newWidth = both.right() + 1 + 1;   // exclusive right edge, widened by a pixel
    const int newHeight = both.bottom() + 1;
    QRect geometry = this->geometry();
    if (m_alignment & Qt::AlignRight)
        geometry.setLeft(geometry.right() + 1 - newWidth);
    geometry.setWidth(newWidth);
    geometry.setHeight(newHeight);
    setGeometry(geometry);
}

void TShadowLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        adjustToText();
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange
        || event->type() == QEvent::FontChange)
        update();
    QWidget::changeEvent(event);
}

void TShadowLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_transparent)
        painter.fillRect(rect(), Color());

    const QRect text = textRect(rect());
    const auto [position, size] = effectiveShadow();
    const bool enabled = isEnabled();
    const QColor textColour = enabled ? palette().color(QPalette::Active, QPalette::WindowText)
                                      : ColorFromValue(SystemColor::GrayText);
    const QColor shadowColour = enabled ? m_shadowColor : ColorFromValue(SystemColor::ButtonHighlight);

    painter.setFont(font());
    painter.setPen(shadowColour);
    painter.drawText(shadowRect(text, position, size), drawFlags(), displayText());
    painter.setPen(textColour);
    painter.drawText(text, drawFlags(), displayText());
}
