// The tips window: three good pieces of advice for solving a diagram.
#include "TFRady.h"

#include "ui_TFRady.h"

#include "Accessibility.h"
#include "TPictureText.h"
#include "WindowLook.h"

TFRady *FRady = nullptr;

TFRady::TFRady(QWidget *parent)
    : SkinnedWindow(parent)
    , ui(std::make_unique<Ui::TFRady>())
{
    ui->setupUi(this);
    FinishLayout(ui->ShapedForm1);
    setBalloonColour(WindowColour::Tips);
    // The heading and the three tips are drawn on the window's picture;
    // screen readers read them from here, then the button.
    new TPictureText(QStringLiteral("Trzy dobre rady"), QRect(14, 4, 204, 38), this);
    new TPictureText(QStringLiteral("1. Zaczynaj od uzupełniania rzędów, w których pozostało niewiele pustych kratek"),
                     QRect(8, 54, 215, 54), this);
    new TPictureText(QStringLiteral("2. Przeszukuj małe kwadraty, w których jest niewiele pustych kratek"),
                     QRect(8, 114, 215, 52), this);
    new TPictureText(QStringLiteral("3. Na końcu sprawdź w całym diagramie, czy wszystkie kratki są zapełnione"),
                     QRect(8, 172, 215, 50), this);
    ReadInOrder({ui->ImageButton1});
    setFocusOrder({ui->ImageButton1});
    connect(ui->ImageButton1, &TImageButton::OnClick, this, &TFRady::ImageButton1Click);
}

TImageButton *TFRady::EscapeButton() const
{
    return ui->ImageButton1;
}

TFRady::~TFRady() = default;

void TFRady::ImageButton1Click()
{
    close();
}
