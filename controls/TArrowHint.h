// The game's one balloon hint: a boxed hint with an arrow pointing at the pointer, replacing Qt's tooltips.
#pragma once

#include "BundledFonts.h"

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
//     TArrowHint::application()->setColor(TArrowHint::ColourSlot::Background, colour);
//     TArrowHint::application()->setColor(TArrowHint::ColourSlot::ArrowBackground, colour);
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
    // The balloon's four colours.
    enum class ColourSlot {
        Background = 0,      // the text area
        Border = 1,          // the one-pixel frame
        ArrowBackground = 2, // the column the arrow stands in
        Arrow = 3,           // the arrow itself
    };

    explicit TArrowHint(QObject *parent = nullptr);
    ~TArrowHint() override;

    // The application's balloon: the first TArrowHint still alive, or null.
    static TArrowHint *application();

    QFont Font() const { return m_font; }
    // Painted without a widget of its own font: a layout family is asked for by its bundled name.
    void setFont(const QFont &font) { m_font = WithBundledFamily(font); }

    QColor ColorBackground() const { return color(ColourSlot::Background); }
    QColor ColorBorder() const { return color(ColourSlot::Border); }
    QColor ColorArrowBackground() const { return color(ColourSlot::ArrowBackground); }
    QColor ColorArrow() const { return color(ColourSlot::Arrow); }
    void setColorBackground(const QColor &c) { setColor(ColourSlot::Background, c); }
    void setColorBorder(const QColor &c) { setColor(ColourSlot::Border, c); }
    void setColorArrowBackground(const QColor &c) { setColor(ColourSlot::ArrowBackground, c); }
    void setColorArrow(const QColor &c) { setColor(ColourSlot::Arrow, c); }
    // The one setter of the four colours; a value outside the four slots does
    // nothing. A shown balloon picks the colour up at its next paint.
    void setColor(ColourSlot slot, const QColor &color);
    QColor color(ColourSlot slot) const;

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
// transparent to the mouse. It takes its font, colours and width limit from
// the TArrowHint that owns it. Geometry and painting come from the pure
// functions below, so they can be checked without a screen.
class TArrowHintWindow : public QWidget
{
    Q_OBJECT

public:
    // The corner of the balloon its arrow sits in, pointing at the pointer:
    // the corner nearest the pointer, on the side that faces the screen's centre.
    enum class Corner { TopRight = 0, TopLeft = 1, BottomRight = 2, BottomLeft = 3 };

    explicit TArrowHintWindow(const TArrowHint &owner);

    // Shows `text` beside the pointer at `pointer` (global), measured with the
    // owner's font and width limit, within `screen` (the primary screen's
    // geometry when empty). The window does not take activation.
    void ActivateHint(QPoint pointer, const QString &text, QRect screen = {});

    Corner ArrowCorner() const { return m_arrowCorner; }
    QPoint ArrowTip() const { return m_arrowTip; }
    QString text() const { return m_text; }

    // --- Geometry, as pure functions ---------------------------------------

    // The corner for a pointer at `pointer` on a screen of `screenSize`:
    // the screen splits into quadrants at half its width and height (rounded
    // down); a quadrant holds its left and top edges. The arrow sits in the
    // corner of the pointer's quadrant (top-left, top-right, bottom-left);
    // bottom-right for that quadrant and for anything off the screen.
    static Corner arrowCornerFor(QPoint pointer, QSize screenSize);
    // The text's extent, word-wrapped at `maxHintWidth` − 22 pixels (a single
    // longer word widens it), no accelerator processing.
    static QSize measureText(const QFont &font, const QString &text, int maxHintWidth);
    // Balloon size for a text extent: 22 wider, 6 higher.
    static QSize balloonSize(QSize textExtent);
    // The balloon beside the pointer, on the side facing the screen's centre,
    // 12 pixels off with the arrow top left, 5 for the other corners; no
    // clamping to the screen.
    static QRect balloonRect(QPoint pointer, QSize balloon, Corner corner);
    // Within a balloon of `size`: the 14-pixel arrow column on the pointer's side, the text area beside it.
    static QRect arrowColumn(Corner corner, QSize size);
    static QRect textArea(Corner corner, QSize size);
    // The arrow's tip, 2 pixels inside the arrow column's outer corner.
    static QPoint arrowTip(Corner corner, QSize size);
    // The arrow as one open 18-point polyline from its tip.
    static std::array<QPoint, 18> arrowPoints(Corner corner, QPoint tip);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const TArrowHint &m_owner;
    Corner m_arrowCorner = Corner::TopLeft;
    QPoint m_arrowTip;
    QString m_text;
    QFont m_font;
};
