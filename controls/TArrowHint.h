// The game's one balloon hint: a boxed hint with an arrow pointing at the pointer, replacing Qt's tooltips.
#pragma once

#include <QBasicTimer>
#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <array>

class TArrowHintWindow;

// The balloon's settings. The first TArrowHint created (the main menu's
// `ArrowHint`, created with the first window) becomes the application's
// balloon: TArrowHint::application() returns it, and every window recolours it
// through that pointer, e.g.
//     TArrowHint::application()->setColor(0, colour);
//     TArrowHint::application()->setColor(2, colour);
//
// Creating it installs an application-wide event filter that swallows every Qt
// tooltip and shows the balloon instead, only for widgets that ask for hints:
// a TImageButton (or any widget with a bool property "ShowHint" that is true)
// with a non-empty toolTip, which is its hint text. Other widgets' tooltips
// (a cell's hint text, for instance) are never shown. Timings: the pointer
// rests HintPause (500 ms) on such a widget before the balloon shows, moving
// on to another one while a balloon shows takes HintShortPause (25 ms), and a
// shown balloon hides after HintHidePause (5000 ms), on leaving the widget or
// on any mouse press.
class TArrowHint : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QFont Font READ Font WRITE setFont)
    Q_PROPERTY(QColor ColorBackground READ ColorBackground WRITE setColorBackground)
    Q_PROPERTY(QColor ColorBorder READ ColorBorder WRITE setColorBorder)
    Q_PROPERTY(QColor ColorArrowBackground READ ColorArrowBackground WRITE setColorArrowBackground)
    Q_PROPERTY(QColor ColorArrow READ ColorArrow WRITE setColorArrow)
    Q_PROPERTY(int MaxHintWidth READ MaxHintWidth WRITE setMaxHintWidth)
    Q_PROPERTY(int HintPause READ HintPause WRITE setHintPause)
    Q_PROPERTY(int HintShortPause READ HintShortPause WRITE setHintShortPause)
    Q_PROPERTY(int HintHidePause READ HintHidePause WRITE setHintHidePause)

public:
    explicit TArrowHint(QObject *parent = nullptr);
    ~TArrowHint() override;

    // The application's balloon: the first TArrowHint still alive, or null.
    static TArrowHint *application();

    QFont Font() const { return m_font; }
    void setFont(const QFont &font) { m_font = font; }

    QColor ColorBackground() const { return m_colors[0]; }
    QColor ColorBorder() const { return m_colors[1]; }
    QColor ColorArrowBackground() const { return m_colors[2]; }
    QColor ColorArrow() const { return m_colors[3]; }
    void setColorBackground(const QColor &c) { setColor(0, c); }
    void setColorBorder(const QColor &c) { setColor(1, c); }
    void setColorArrowBackground(const QColor &c) { setColor(2, c); }
    void setColorArrow(const QColor &c) { setColor(3, c); }
    // 0 background, 1 border, 2 arrow background, 3 arrow; other indexes do
    // nothing. A shown balloon picks the colour up at its next paint.
    void setColor(int index, const QColor &color);
    QColor color(int index) const;

    int MaxHintWidth() const { return m_maxHintWidth; }
    void setMaxHintWidth(int width) { m_maxHintWidth = width; }

    int HintPause() const { return m_hintPause; }
    void setHintPause(int ms) { m_hintPause = ms; }
    int HintShortPause() const { return m_hintShortPause; }
    void setHintShortPause(int ms) { m_hintShortPause = ms; }
    int HintHidePause() const { return m_hintHidePause; }
    void setHintHidePause(int ms) { m_hintHidePause = ms; }

    // The balloon window the application shows (created on first use).
    TArrowHintWindow *window();
    // Hides the balloon and forgets the pending hint.
    void cancelHint();

    // Whether `widget` asks for balloon hints and has a hint to show.
    static bool wantsHint(const QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    void pointerOver(QWidget *widget, QPoint globalPosition);
    void showFor(QWidget *widget);
    void dropHint();

    QFont m_font;
    std::array<QColor, 4> m_colors;
    int m_maxHintWidth = 200;
    int m_hintPause = 500;
    int m_hintShortPause = 25;
    int m_hintHidePause = 5000;
    QPointer<QWidget> m_hintWidget;   // the widget the pending or shown hint belongs to
    QPoint m_pointer;                 // last pointer position seen, global
    QBasicTimer m_showTimer;
    QBasicTimer m_hideTimer;
    QElapsedTimer m_recentlyShown;   // when a shown balloon last went away by the pointer moving on
    QPointer<TArrowHintWindow> m_window;
};

// The balloon's window: frameless, on top, never activated or focused, and
// transparent to the mouse. Geometry and painting come from the pure
// functions below, so they can be checked without a screen.
class TArrowHintWindow : public QWidget
{
    Q_OBJECT

public:
    explicit TArrowHintWindow(QWidget *parent = nullptr);

    // Shows `text` beside the pointer at `pointer` (global), measured with the
    // application balloon's font and width limit, within `screen` (the primary
    // screen's geometry when empty). The window does not take activation.
    void ActivateHint(QPoint pointer, const QString &text, QRect screen = {});

    int ArrowCorner() const { return m_arrowCorner; }
    QPoint ArrowTip() const { return m_arrowTip; }
    QString text() const { return m_text; }

    // --- Geometry, as pure functions ---------------------------------------
    // Arrow corners: 0 top right, 1 top left, 2 bottom right, 3 bottom left.

    // The corner for a pointer at `pointer` on a screen of `screenSize`:
    // the screen splits into quadrants at half its width and height (rounded
    // down); a quadrant holds its left and top edges. Top-left 1, top-right 0,
    // bottom-left 3; bottom-right and anything off the screen 2.
    static int arrowCornerFor(QPoint pointer, QSize screenSize);
    // The text's extent, word-wrapped at `maxHintWidth` − 22 pixels (a single
    // longer word widens it), no accelerator processing.
    static QSize measureText(const QFont &font, const QString &text, int maxHintWidth);
    // Balloon size for a text extent: 22 wider, 6 higher.
    static QSize balloonSize(QSize textExtent);
    // The balloon beside the pointer, on the side facing the screen's centre,
    // 12 pixels off for corner 1, 5 for the others; no clamping to the screen.
    static QRect balloonRect(QPoint pointer, QSize balloon, int arrowCorner);
    // Within a balloon of `size`: the 14-pixel arrow column on the pointer's side, the text area beside it.
    static QRect arrowColumn(int arrowCorner, QSize size);
    static QRect textArea(int arrowCorner, QSize size);
    // The arrow's tip, 2 pixels inside the arrow column's outer corner.
    static QPoint arrowTip(int arrowCorner, QSize size);
    // The arrow as one open 18-point polyline from its tip.
    static std::array<QPoint, 18> arrowPoints(int arrowCorner, QPoint tip);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_arrowCorner = 1;
    QPoint m_arrowTip;
    QString m_text;
    QFont m_font;
};
