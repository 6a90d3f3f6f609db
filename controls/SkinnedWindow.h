// The base of the game's six windows: how a window is finished, placed, opened, locked and closed.
#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <initializer_list>
#include <optional>

class TImageButton;
class TShapedForm;

// Every window of the game is a SkinnedWindow: a frameless window drawn from
// its picture (its ShapedForm1), shown non-modally and only hidden when it
// closes, so that it keeps its state for the next showing.
//
// The life of a window:
//   - construction: setupUi, then FinishLayout(ShapedForm1) (pixel fonts,
//     labels that hold their text, the look kept while locked, the window
//     fitted to its picture and given its outline);
//   - shown by its opener through Open(): the window is placed on the screen
//     and its FormShow runs (the balloon hint takes the window's colour); the
//     opener locks itself until the window closes;
//   - closed (its OK, Zakończ, or the desktop): a locked window refuses; an
//     unlocked one runs FormClose, which unlocks its opener, and tells
//     FormClosed().
// Which window opens which is wired once, at start-up (ProgramWindows).
//
// The keyboard: Tab and Shift+Tab go round the window's focus stops in
// reading order (setFocusOrder), skipping those hidden or switched off; a
// window that opens gives the focus to its first control, and the opener gets
// it back on the control that opened it; Escape presses the window's OK, Nie
// or Zakończ (EscapeButton), never ending the program. Focus cues show only
// once the keyboard is used in the window (KeyboardCues.h); a window opened
// from the keyboard shows them from the start.
class SkinnedWindow : public QWidget
{
    Q_OBJECT

public:
    // Where a window goes each time it is shown.
    enum class Placement {
        Centred,  // centred on the screen, after its show handler has run
        TopRight, // in the screen's top-right corner, 10 pixels in, before its show handler
    };

    explicit SkinnedWindow(QWidget *parent = nullptr);

    // Shows `window` non-modally in front, then locks this window (its
    // LockWhileOpen) until `window` closes and unlocks it again; the focus then
    // comes back to `openedBy`, the control that opened it (the focused one
    // when not given).
    void Open(SkinnedWindow *window, QWidget *openedBy = nullptr);
    // The window that opened this one and waits for it to close; null while
    // this window is hidden, or when the program itself showed it.
    SkinnedWindow *Opener() const { return m_opener; }

    // Run each time the window is shown: the balloon hint takes the window's
    // colour (both its background and its arrow column), if it has one.
    virtual void FormShow();
    // Run each time the window closes: whoever opened it is unlocked and gets
    // the focus back on the control that opened this window.
    virtual void FormClose();

    // The control the focus goes to when the window opens (null: the window itself).
    virtual QWidget *FirstControl();

signals:
    // The window has closed (it is hidden; the main window's closing ends the program).
    void FormClosed();

protected:
    // Whether plain labels may grow to hold their text (see LetLabelsHoldTheirText).
    enum class LabelFit { GrowToText, AsLaidOut };

    // The end of loading, right after setupUi: layout font sizes become pixel
    // heights, plain labels grow to hold their text (unless told to keep their
    // boxes), the window keeps its look while locked, and the background
    // control fits the window to its picture and gives it its outline.
    void FinishLayout(TShapedForm *background, LabelFit labels = LabelFit::GrowToText);

    void setPlacement(Placement placement) { m_placement = placement; }
    // The colour (red in the low byte) the balloon hint takes while this window is up.
    void setBalloonColour(std::uint32_t colour) { m_balloonColour = colour; }

    // The controls Tab goes round, in reading order.
    void setFocusOrder(std::initializer_list<QWidget *> stops);
    // Whether Tab may stop at `stop` now: shown and switched on, by default.
    virtual bool FocusStopAvailable(QWidget *stop) const;
    // The widget that takes the focus for a stop (a stop may stand for a group).
    virtual QWidget *FocusTarget(QWidget *stop) { return stop; }
    // The stop a focused widget belongs to.
    virtual QWidget *FocusStopOf(QWidget *focused) const;
    // The button Escape presses now, or none.
    virtual TImageButton *EscapeButton() const { return nullptr; }

    // A panel of this window has opened: its first control takes the focus,
    // which goes back to `returnTo` (the control focused until now, when not
    // given) when the panel closes (LeavePanel).
    void EnterPanel(QWidget *firstControl, QWidget *returnTo = nullptr);
    void LeavePanel();
    // Whether `widget` can take the focus now: shown and switched on.
    static bool canTakeFocus(const QWidget *widget);

    // How this window locks itself while a window it opened is up, and how it
    // comes back when that window closes. By default the whole window is
    // disabled and enabled again.
    virtual void LockWhileOpen();
    virtual void UnlockAfterClose();

    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void place();
    void takeFocusBack();
    // The target of the first stop that can take the focus now, or none.
    QWidget *firstAvailableTarget();
    // Gives the focus to that target, or to the window itself when there is none.
    void focusFirstStop();

    Placement m_placement = Placement::Centred;
    std::optional<std::uint32_t> m_balloonColour;
    QPointer<SkinnedWindow> m_opener;
    QList<QPointer<QWidget>> m_focusStops;
    // The control that had the focus when this window opened another one, or a panel.
    QPointer<QWidget> m_focusBeforeOpen;
    QPointer<QWidget> m_focusBeforePanel;
};

// Sets the application's balloon hint's background, then its arrow column, to
// `colour` (red in the low byte).
void SetBalloonColour(std::uint32_t colour);
