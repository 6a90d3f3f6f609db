// The base of the game's six windows: how a window is finished, placed, opened, locked and closed.
#include "SkinnedWindow.h"

#include "ColorValue.h"
#include "KeyboardCues.h"
#include "TArrowHint.h"
#include "TImageButton.h"
#include "TShapedForm.h"
#include "WindowLook.h"
#include "WindowPlacement.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QShowEvent>

SkinnedWindow::SkinnedWindow(QWidget *parent)
    : QWidget(parent)
{
    InstallKeyboardCues();
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

void SkinnedWindow::Open(SkinnedWindow *window, QWidget *openedBy)
{
    if (!window)
        return;
    window->m_opener = this;
    m_focusBeforeOpen = openedBy ? openedBy : focusWidget();
    // Opened from the keyboard, it shows its focus at once.
    ShowKeyboardCues(window, KeyboardCuesShown(this));
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
        opener->takeFocusBack();
    }
}

// --- The keyboard -----------------------------------------------------------------

void SkinnedWindow::takeFocusBack()
{
    // The player goes on in the window they came from, where they left it.
    raise();
    activateWindow();
    QWidget *back = m_focusBeforeOpen;
    m_focusBeforeOpen = nullptr;
    if (back && canTakeFocus(back))
        back->setFocus(Qt::OtherFocusReason);
    else
        focusFirstStop();
}

bool SkinnedWindow::canTakeFocus(const QWidget *widget)
{
    return widget->isVisible() && widget->isEnabled();
}

void SkinnedWindow::setFocusOrder(std::initializer_list<QWidget *> stops)
{
    m_focusStops.clear();
    for (QWidget *stop : stops)
        m_focusStops.append(stop);
}

bool SkinnedWindow::FocusStopAvailable(QWidget *stop) const
{
    return stop && canTakeFocus(stop);
}

QWidget *SkinnedWindow::FocusStopOf(QWidget *focused) const
{
    for (const QPointer<QWidget> &stop : m_focusStops)
        if (stop && (stop == focused || stop->isAncestorOf(focused)))
            return stop;
    return nullptr;
}

QWidget *SkinnedWindow::firstAvailableTarget()
{
    for (const QPointer<QWidget> &stop : m_focusStops)
        if (FocusStopAvailable(stop))
            if (QWidget *target = FocusTarget(stop))
                return target;
    return nullptr;
}

QWidget *SkinnedWindow::FirstControl()
{
    return firstAvailableTarget();
}

void SkinnedWindow::focusFirstStop()
{
    if (QWidget *target = firstAvailableTarget())
        target->setFocus(Qt::OtherFocusReason);
    else
        setFocus(Qt::OtherFocusReason);
}

bool SkinnedWindow::focusNextPrevChild(bool next)
{
    if (m_focusStops.isEmpty())
        return QWidget::focusNextPrevChild(next);
    const int count = int(m_focusStops.size());
    const QWidget *current = FocusStopOf(focusWidget());
    int index = current ? int(m_focusStops.indexOf(current)) : (next ? -1 : count);
    for (int step = 0; step < count; ++step) {
        index = (index + (next ? 1 : -1) + count) % count;
        QWidget *stop = m_focusStops[index];
        if (!FocusStopAvailable(stop))
            continue;
        if (QWidget *target = FocusTarget(stop)) {
            target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

void SkinnedWindow::EnterPanel(QWidget *firstControl, QWidget *returnTo)
{
    QWidget *back = returnTo ? returnTo : focusWidget();
    if (back && back != firstControl)
        m_focusBeforePanel = back;
    firstControl->setFocus(Qt::OtherFocusReason);
}

void SkinnedWindow::LeavePanel()
{
    QWidget *back = m_focusBeforePanel;
    m_focusBeforePanel = nullptr;
    if (back && canTakeFocus(back))
        back->setFocus(Qt::OtherFocusReason);
    else if (!focusWidget() || !canTakeFocus(focusWidget()))
        focusFirstStop();
}

void SkinnedWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && !event->isAutoRepeat()) {
        if (TImageButton *button = EscapeButton(); button && canTakeFocus(button))
            button->click();
        return;
    }
    QWidget::keyPressEvent(event);
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
    if (QWidget *first = FirstControl())
        first->setFocus(Qt::OtherFocusReason);
    else
        setFocus(Qt::OtherFocusReason);
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
    // Hidden, it shows no focus; it opens afresh next time.
    ShowKeyboardCues(this, false);
    emit FormClosed();
}

void SetBalloonColour(std::uint32_t colour)
{
    if (TArrowHint *hint = TArrowHint::application()) {
        hint->setColor(TArrowHint::ColourSlot::Background, ColorFromValue(colour));
        hint->setColor(TArrowHint::ColourSlot::ArrowBackground, ColorFromValue(colour));
    }
}
