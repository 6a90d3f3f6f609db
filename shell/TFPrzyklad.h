// The worked example: the first steps of solving the sample diagram, on a pane that scrolls by itself.
#pragma once

#include "SkinnedWindow.h"

#include <memory>

class QTimer;

namespace Ui {
class TFPrzyklad;
}

// Opened from the menu's new-game panel, always in the top-right corner of the
// screen. The content pane (937 pixels) scrolls inside its viewport (361) by
// the scroll bar, 0 to 576, or by itself: "Przewiń" starts a run of 2 pixels
// every 50 ms down to the bottom, "Stop" (on StopPanel, which covers
// "Przewiń" while a run goes on) ends it. A run goes on while the window is
// hidden. "Porady" opens the tips and locks this window until they close.
// While it is up the balloon hint is light pink.
class TFPrzyklad : public SkinnedWindow
{
    Q_OBJECT

public:
    explicit TFPrzyklad(QWidget *parent = nullptr);
    ~TFPrzyklad() override;

    static constexpr int ScrollEnd = 576;   // content height 937 − viewport 361
    static constexpr int ScrollStep = 2;    // pixels per tick
    static constexpr int TickInterval = 50; // ms

    // The automatic-scroll timer, disabled at start.
    QTimer *Timer1 = nullptr;

    // The windows the example opens (wired at start-up).
    void setTipsWindow(SkinnedWindow *tips) { m_tips = tips; }

    void FormCreate();
    void ImageButton1Click();
    void ImageButton2Click();
    void ImageButton3Click();
    void ImageButton4Click();
    void Timer1Timer();
    void ScrollBar1Change();

protected:
    // While the tips opened from here are up: the example's buttons off, a
    // run stopped, the window disabled. When they close it takes control back
    // (the scroll does not start again).
    void LockWhileOpen() override;
    void UnlockAfterClose() override;

    // Tab goes Przewiń (or Stop), Porady, OK; Escape is OK; the arrows, Page
    // Up and Down, Home and End scroll the content.
    bool FocusStopAvailable(QWidget *stop) const override;
    TImageButton *EscapeButton() const override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void hideStopPanel();

    std::unique_ptr<Ui::TFPrzyklad> ui;
    SkinnedWindow *m_tips = nullptr;
};

extern TFPrzyklad *FPrzyklad;
