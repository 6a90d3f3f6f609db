// A link label: its font changes while the pointer is over it and while a mouse button is held on it.
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPalette>

#include <optional>
#include <utility>

// Font attributes a link label copies: colour, family, size and style only.
struct LabelFontLook
{
    QColor color;
    QString family;
    int pointSize = -1;   // one of the two sizes is set
    int pixelSize = -1;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    static LabelFontLook of(const QFont &font, const QColor &color);
};

// Under the pointer the label takes `FontMouseMove` (whatever `ActiveMouseMove`
// holds); a left or right press takes `FontMouseDown` while `ActiveMouseDown`
// is true; leaving or releasing any button returns to NormalFont(). Only
// colour, family, size and style are copied, so other attributes stay.
// Font colours are separate properties because QFont has none. With `AutoSize`
// the label fits its text whenever its font or its text changes, whoever
// changes them.
//
// A click is a left release anywhere on the label after a left press on it,
// judged on the label as it was when the button came up. From the keyboard:
// the window's Tab order reaches it; while it has the focus and its window
// shows keyboard cues it wears the hover font, and Enter or Space clicks it.
class TSensitiveLabel : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(bool ActiveMouseDown READ ActiveMouseDown WRITE setActiveMouseDown)
    Q_PROPERTY(bool ActiveMouseMove READ ActiveMouseMove WRITE setActiveMouseMove)
    Q_PROPERTY(QFont FontMouseDown READ FontMouseDown WRITE setFontMouseDown)
    Q_PROPERTY(QColor FontMouseDownColor READ FontMouseDownColor WRITE setFontMouseDownColor)
    Q_PROPERTY(QFont FontMouseMove READ FontMouseMove WRITE setFontMouseMove)
    Q_PROPERTY(QColor FontMouseMoveColor READ FontMouseMoveColor WRITE setFontMouseMoveColor)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)

public:
    explicit TSensitiveLabel(QWidget *parent = nullptr);

    bool ActiveMouseDown() const { return m_activeMouseDown; }
    void setActiveMouseDown(bool active);
    bool ActiveMouseMove() const { return m_activeMouseMove; }
    void setActiveMouseMove(bool active);
    QFont FontMouseDown() const { return m_fontMouseDown; }
    void setFontMouseDown(const QFont &font);
    QColor FontMouseDownColor() const { return m_fontMouseDownColor; }
    void setFontMouseDownColor(const QColor &color);
    QFont FontMouseMove() const { return m_fontMouseMove; }
    void setFontMouseMove(const QFont &font);
    QColor FontMouseMoveColor() const { return m_fontMouseMoveColor; }
    void setFontMouseMoveColor(const QColor &color);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);

    // QLabel's, plus the automatic size.
    void setText(const QString &text);

    // The look every link label returns to: the game's default control font
    // ("MS Sans Serif", 8 points, window-text colour, no style), captured when
    // the first link label is built and shared by all of them.
    static const LabelFontLook &NormalFont();

    // The label's current text colour.
    QColor fontColor() const;

    // A click without the mouse (a key, a screen reader's press action).
    void click();

signals:
    void OnClick();
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void OnMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint position);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);

protected:
    void changeEvent(QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool event(QEvent *event) override;

private:
    void fitToText();
    void takeLook(const LabelFontLook &look);
    void showFocusCue(bool shown);
    // Shows the focus mark while the label has the focus in a window showing keyboard cues.
    void updateFocusCue();

    bool m_activeMouseDown = true;
    bool m_activeMouseMove = false;
    QFont m_fontMouseDown;
    QColor m_fontMouseDownColor;
    QFont m_fontMouseMove;
    QColor m_fontMouseMoveColor;
    bool m_autoSize = true;
    bool m_pressedInside = false;
    bool m_pointerInside = false;
    // The look the label had when the keyboard's focus mark came, given back when it goes.
    std::optional<std::pair<QFont, QPalette>> m_lookBeforeFocus;
};
