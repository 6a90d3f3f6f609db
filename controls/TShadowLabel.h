// A caption drawn twice: a shadow in another colour shifted by a few pixels, then the text itself.
#pragma once

#include <QColor>
#include <QWidget>

// Setters mirror QLabel's (setText, setAlignment, setWordWrap), so a .ui file
// can promote a QLabel to it.
class TShadowLabel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
    Q_PROPERTY(QColor ShadowColor READ ShadowColor WRITE setShadowColor)
    Q_PROPERTY(int ShadowSize READ ShadowSize WRITE setShadowSize)
    Q_PROPERTY(ShadowPosition ShadowPos READ ShadowPos WRITE setShadowPos)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(Qt::Alignment alignment READ alignment WRITE setAlignment)
    Q_PROPERTY(bool wordWrap READ wordWrap WRITE setWordWrap)
    Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE setShowAccelChar)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)

public:
    enum ShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };
    Q_ENUM(ShadowPosition)

    explicit TShadowLabel(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    QColor ShadowColor() const { return m_shadowColor; }
    void setShadowColor(const QColor &color);
    // Pixels, 0–255.
    int ShadowSize() const { return m_shadowSize; }
    void setShadowSize(int size);
    ShadowPosition ShadowPos() const { return m_shadowPos; }
    void setShadowPos(ShadowPosition position);   // repaints, never resizes
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool transparent);
    // Horizontal part only: left, right or centre; the text block starts at the top.
    Qt::Alignment alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment alignment);
    bool wordWrap() const { return m_wordWrap; }
    void setWordWrap(bool wrap);
    // With it, "&x" underlines x and "&&" shows one ampersand.
    bool ShowAccelChar() const { return m_showAccelChar; }
    void setShowAccelChar(bool show);
    // Sizes the label to its text and shadow after every change of font,
    // caption, word wrap or shadow size; right-aligned labels keep their right edge.
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);
    // The fill of an opaque label (default: the palette's window colour).
    QColor Color() const;
    void setColor(const QColor &color);

    // Where the text and its shadow go in a label of `client` size.
    static QRect textRect(QRect client);
    static QRect shadowRect(QRect textRect, ShadowPosition position, int size);

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void adjustToText();
    int drawFlags() const;
    QString displayText() const;
    // Shadow position and size used for drawing (a disabled label with no shadow size draws one anyway).
    std::pair<ShadowPosition, int> effectiveShadow() const;

    QString m_text;
    QColor m_shadowColor;
    int m_shadowSize = 1;
    ShadowPosition m_shadowPos = spLeftTop;
    bool m_transparent = false;
    Qt::Alignment m_alignment = Qt::AlignLeft;
    bool m_wordWrap = false;
    bool m_showAccelChar = true;
    bool m_autoSize = true;
    QColor m_color;
};
