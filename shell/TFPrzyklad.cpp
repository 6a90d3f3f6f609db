// The worked example: the first steps of solving the sample diagram, on a pane that scrolls by itself.
#include "TFPrzyklad.h"

#include "ui_TFPrzyklad.h"

#include "Accessibility.h"
#include "TPictureText.h"
#include "WindowLook.h"

#include <QKeyEvent>
#include <QTimer>

TFPrzyklad *FPrzyklad = nullptr;

TFPrzyklad::TFPrzyklad(QWidget *parent)
    : SkinnedWindow(parent)
    , ui(std::make_unique<Ui::TFPrzyklad>())
{
    ui->setupUi(this);
    FinishLayout(ui->ShapedForm1);
    // Always the top-right corner, wherever the player dragged it last time.
    setPlacement(Placement::TopRight);
    setBalloonColour(WindowColour::Example);
    // Screen readers read the heading on the picture, then each step's
    // heading before its diagram and its text, then the buttons.
    new TPictureText(QStringLiteral("Przykład"), QRect(120, 6, 200, 50), this);
    ReadInOrder({ui->Image2, ui->Image1, ui->Label1, ui->Label2, ui->Image3, ui->Image4, ui->Label3, ui->Image5,
                 ui->Image6, ui->Label4, ui->Label5, ui->Image7, ui->Image8, ui->Image9});
    ReadInOrder({ui->Panel1, ui->ImageButton3, ui->StopPanel, ui->ImageButton2, ui->ImageButton1});
    setFocusOrder({ui->ImageButton3, ui->ImageButton4, ui->ImageButton2, ui->ImageButton1});
    FormCreate();

    connect(ui->ImageButton1, &TImageButton::OnClick, this, &TFPrzyklad::ImageButton1Click);
    connect(ui->ImageButton2, &TImageButton::OnClick, this, &TFPrzyklad::ImageButton2Click);
    connect(ui->ImageButton3, &TImageButton::OnClick, this, &TFPrzyklad::ImageButton3Click);
    connect(ui->ImageButton4, &TImageButton::OnClick, this, &TFPrzyklad::ImageButton4Click);
    connect(Timer1, &QTimer::timeout, this, &TFPrzyklad::Timer1Timer);
    connect(ui->ScrollBar1, &QScrollBar::valueChanged, this, &TFPrzyklad::ScrollBar1Change);
}

TFPrzyklad::~TFPrzyklad() = default;

void TFPrzyklad::FormCreate()
{
    // Qt paints every window double-buffered, so moving the pane never
    // flickers; what the window still needs is its scroll timer, idle until
    // the player starts a run.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(TickInterval);
}

void TFPrzyklad::ImageButton1Click()
{
    // A run keeps going while the window is hidden.
    close();
}

void TFPrzyklad::ImageButton2Click()
{
    Open(m_tips, ui->ImageButton2);
}

void TFPrzyklad::LockWhileOpen()
{
    ui->ImageButton1->setEnabled(false);
    ui->ImageButton2->setEnabled(false);
    ui->ImageButton3->setEnabled(false);
    ui->StopPanel->hide();
    Timer1->stop();
    setEnabled(false);
}

void TFPrzyklad::UnlockAfterClose()
{
    setEnabled(true);
    ui->ImageButton1->setEnabled(true);
    ui->ImageButton2->setEnabled(true);
    ui->ImageButton3->setEnabled(true);
    SetBalloonColour(WindowColour::Example);
}

void TFPrzyklad::ImageButton3Click()
{
    // A finished run starts again from the top.
    if (ui->ScrollBar1->value() >= ScrollEnd)
        ui->ScrollBar1->setValue(0);
    ui->StopPanel->show();
    EnterPanel(ui->ImageButton4);
    Timer1->start();
}

void TFPrzyklad::ImageButton4Click()
{
    Timer1->stop();
    hideStopPanel();
}

void TFPrzyklad::hideStopPanel()
{
    ui->StopPanel->hide();
    // Stop goes with its panel: the focus goes back to Przewiń.
    if (isVisible())
        LeavePanel();
}

void TFPrzyklad::Timer1Timer()
{
    // The scroll bar keeps the position within 0 to 576, so a run from an odd
    // position still ends exactly at the bottom.
    ui->ScrollBar1->setValue(ui->ScrollBar1->value() + ScrollStep);
    if (ui->ScrollBar1->value() >= ScrollEnd) {
        Timer1->stop();
        hideStopPanel();
    }
}

void TFPrzyklad::ScrollBar1Change()
{
    ui->Panel2->move(0, -ui->ScrollBar1->value());
}

// --- The keyboard -----------------------------------------------------------------

bool TFPrzyklad::FocusStopAvailable(QWidget *stop) const
{
    // Przewiń lies under the Stop panel while a run goes on.
    if (stop == ui->ImageButton3 && ui->StopPanel->isVisible())
        return false;
    return SkinnedWindow::FocusStopAvailable(stop);
}

TImageButton *TFPrzyklad::EscapeButton() const
{
    return ui->ImageButton1;
}

void TFPrzyklad::keyPressEvent(QKeyEvent *event)
{
    // The content scrolls from the keyboard as by the scroll bar: a step,
    // a viewport, or to either end.
    QScrollBar *bar = ui->ScrollBar1;
    const int page = ui->Panel1->height();
    switch (event->key()) {
    case Qt::Key_Up: bar->setValue(bar->value() - bar->singleStep()); break;
    case Qt::Key_Down: bar->setValue(bar->value() + bar->singleStep()); break;
    case Qt::Key_PageUp: bar->setValue(bar->value() - page); break;
    case Qt::Key_PageDown: bar->setValue(bar->value() + page); break;
    case Qt::Key_Home: bar->setValue(bar->minimum()); break;
    case Qt::Key_End: bar->setValue(bar->maximum()); break;
    default: SkinnedWindow::keyPressEvent(event); return;
    }
}
