// The preview window: the sample diagram with its rows, columns and boxes named.
#include "shell/TFPodglad.h"

#include "Pictures.h" // before the layout: it loads the layout's pictures
#include "ui_TFPodglad.h"

#include "shell/TForm1.h"
#include "shell/WindowLook.h"

#include <QCloseEvent>
#include <QShowEvent>

TFPodglad *FPodglad = nullptr;

TFPodglad::TFPodglad(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TFPodglad>())
{
    ui->setupUi(this);
    UsePixelFontHeights(this);
    KeepLookWhenDisabled(this);
    ui->ShapedForm1->Loaded();
    connect(ui->ImageButton1, &TImageButton::OnClick, this, &TFPodglad::ImageButton1Click);
}

TFPodglad::~TFPodglad() = default;

void TFPodglad::FormShow()
{
    SetBalloonColour(WindowColour::Preview);
}

void TFPodglad::FormClose()
{
    Form1->UnlockMenu();
}

void TFPodglad::ImageButton1Click()
{
    close();
}

void TFPodglad::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    FormShow();
    move(CentredPosition(size(), PlacementScreen()));
}

void TFPodglad::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}
