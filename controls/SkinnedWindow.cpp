// The base of the game's six windows: how a window is finished, placed, opened, locked and closed.
#include "SkinnedWindow.h"

#include "ColorValue.h"
#include "TArrowHint.h"
#include "TShapedForm.h"
#include "WindowLook.h"
#include "WindowPlacement.h"

#include <QCloseEvent>
#include <QShowEvent>

SkinnedWindow::SkinnedWindow(QWidget *parent)
    : QWidget(parent)
{
}

void SkinnedWindow::FinishLayout(TShapedForm *background, LabelFit labels)
{
    UsePixelFontHeights(this);
    if (labels == LabelFit::GrowToText)
        LetLabelsHoldTheirText(this);
    KeepLookWhenDisabled(this);
    background->Loaded();
}

// --- Opening and locking ----------------------------------------------------------

void SkinnedWindow::Open(SkinnedWindow *window)
{
    if (!window)
        return;
    window->m_opener = this;
    window->show();
    window->raise();
    window->activateWindow();
    LockWhileOpen();
}

void SkinnedWindow::LockWhileOpen()
{
    setEnabled(false);
}

void SkinnedWindow::UnlockAfterClose()
{
    setEnabled(true);
}

// --- Showing and closing ------------------------------------------------------------

void SkinnedWindow::FormShow()
{
    if (m_balloonColour)
        SetBalloonColour(*m_balloonColour);
}

void SkinnedWindow::FormClose()
{
    if (SkinnedWindow *opener = m_opener) {
        m_opener = nullptr;
        opener->UnlockAfterClose();
    }
}

void SkinnedWindow::place()
{
    const QRect screen = PlacementScreen();
    move(m_placement == Placement::TopRight ? TopRightPosition(size(), screen, 10)
                                            : CentredPosition(size(), screen));
}

void SkinnedWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A window coming back from the task bar is where the player left it.
    if (event->spontaneous())
        return;
    // The show event comes before the window reaches the screen, so it never
    // shows at its old place first.
    if (m_placement == Placement::TopRight)
        place();
    FormShow();
    if (m_placement == Placement::Centred)
        place();
}

void SkinnedWindow::closeEvent(QCloseEvent *event)
{
    // A locked window takes no input, a close request from the desktop
    // (Alt+F4, the task bar) included: hidden now, it would come back locked.
    if (!isEnabled()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
    emit FormClosed();
}

void SetBalloonColour(std::uint32_t colour)
{
    if (TArrowHint *hint = TArrowHint::application()) {
        hint->setColor(TArrowHint::ColourSlot::Background, ColorFromValue(colour));
        hint->setColor(TArrowHint::ColourSlot::ArrowBackground, ColorFromValue(colour));
    }
}
