// The tips window: three good pieces of advice for solving a diagram.
#include "shell/TFRady.h"

#include "Pictures.h" // before the layout: it loads the layout's pictures
#include "ui_TFRady.h"

#include "shell/TFPrzyklad.h"
#include "shell/TForm1.h"
#include "shell/WindowLook.h"

#include <QCloseEvent>
#include <QShowEvent>

TFRady *FRady = nullptr;

TFRady::TFRady(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TFRady>())
{
    ui->setupUi(this);
    UsePixelFontHeights(this);
    KeepLookWhenDisabled(this);
    ui->ShapedForm1->Loaded();
    connect(ui->ImageButton1, &TImageButton::OnClick, this, &TFRady::ImageButton1Click);
}

TFRady::~TFRady() = default;

void TFRady::FormShow()
{
    SetBalloonColour(WindowColour::Tips);
}

void TFRady::FormClose()
{
    // Opened from the example, the tips give control back to it; the menu
    // stays locked until the example itself closes.
    if (FPrzyklad->isVisible())
        FPrzyklad->TipsClosed();
    else
        Form1->UnlockMenu();
}

void TFRady::ImageButton1Click()
{
    close();
}

void TFRady::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    FormShow();
    move(CentredPosition(size(), PlacementScreen()));
}

void TFRady::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}
