// The preview window: the sample diagram with its rows, columns and boxes named.
#include "TFPodglad.h"

#include "ui_TFPodglad.h"

#include "Accessibility.h"
#include "TPictureText.h"
#include "WindowLook.h"

TFPodglad *FPodglad = nullptr;

TFPodglad::TFPodglad(QWidget *parent)
    : SkinnedWindow(parent)
    , ui(std::make_unique<Ui::TFPodglad>())
{
    ui->setupUi(this);
    FinishLayout(ui->ShapedForm1);
    setBalloonColour(WindowColour::Preview);
    // The heading, the diagram and its three labels are drawn on the
    // window's picture; screen readers read them from here, then the button.
    new TPictureText(QStringLiteral("Podgląd"), QRect(30, 4, 150, 44), this);
    new TPictureText(QStringLiteral("kolumna"), QRect(284, 24, 70, 20), this);
    new TPictureText(QStringLiteral("kwadrat (3x3 kratki)"), QRect(10, 70, 90, 36), this);
    new TPictureText(QStringLiteral("rząd"), QRect(28, 218, 40, 20), this);
    new TPictureText(QStringLiteral("Przykładowy diagram: zaznaczone są kwadrat 3x3 w lewym górnym rogu, "
                                    "siódma kolumna i szósty rząd"),
                     QRect(110, 62, 240, 238), this);
    ReadInOrder({ui->ImageButton1});
    setFocusOrder({ui->ImageButton1});
    connect(ui->ImageButton1, &TImageButton::OnClick, this, &TFPodglad::ImageButton1Click);
}

TImageButton *TFPodglad::EscapeButton() const
{
    return ui->ImageButton1;
}

TFPodglad::~TFPodglad() = default;

void TFPodglad::ImageButton1Click()
{
    close();
}
