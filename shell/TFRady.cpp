// The tips window: three good pieces of advice for solving a diagram.
#include "TFRady.h"

#include "Pictures.h" // before the layout: it loads the layout's pictures
#include "ui_TFRady.h"

#include "Accessibility.h"
#include "TPictureText.h"
#include "TFPrzyklad.h"
#include "TForm1.h"
#include "WindowLook.h"

#include <QCloseEvent>
#include <QShowEvent>

TFRady *FRady = nullptr;

TFRady::TFRady(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TFRady>())
{
    ui->setupUi(this);
    UsePixelFontHeights(this);
    LetLabelsHoldTheirText(this);
    KeepLookWhenDisabled(this);
    ui->ShapedForm1->Loaded();
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
