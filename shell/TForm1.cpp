// The main menu: the four column buttons, the rules, new-game, About and exit panels, and the balloon hint.
#include "TForm1.h"

#include "ui_TForm1.h"

#include "AboutTexts.h"
#include "Accessibility.h"
#include "ColorValue.h"
#include "ExecutablePath.h"
#include "HandlerErrors.h"
#include "InstallationRecord.h"
#include "Registry.h"
#include "TArrowHint.h"
#include "U_WspolneFunkcje.h"
#include "WindowLook.h"

#include <QDate>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

TForm1 *Form1 = nullptr;

TForm1::TForm1(QWidget *parent)
    : SkinnedWindow(parent)
    , ui(std::make_unique<Ui::TForm1>())
{
    ui->setupUi(this);
    for (TSensitiveLabel *link : {ui->SensitiveLabel1, ui->SensitiveLabel2}) {
        link->setFontMouseDown(PixelFont(link->FontMouseDown()));
        link->setFontMouseMove(PixelFont(link->FontMouseMove()));
    }
    FinishLayout(ui->ShapedForm1);
    // Read by screen readers as seen: the column of buttons, then the pane on
    // the right from its title down to the panel shown.
    ReadInOrder({ui->ImageButton1, ui->ImageButton4, ui->ImageButton2, ui->ImageButton3, ui->Image1, ui->Label2,
                 ui->PanelOpis, ui->PanelAbout, ui->PanelExit, ui->PanelNew});
    // Tab goes the same way: the column, then the controls of the panel shown.
    setFocusOrder({ui->ImageButton1, ui->ImageButton4, ui->ImageButton2, ui->ImageButton3, ui->ImageButton7,
                   ui->ImageButton8, ui->SensitiveLabel1, ui->SensitiveLabel2, ui->ImageButton5, ui->ImageButton6,
                   ui->ImageButton9, ui->ImageButton10});

    ArrowHint = new TArrowHint(this);
    ArrowHint->setObjectName(QStringLiteral("ArrowHint"));
    QFont hintFont(QStringLiteral("MS Sans Serif"));
    hintFont.setPixelSize(11);
    ArrowHint->setFont(hintFont);
    ArrowHint->setColor(TArrowHint::ColourSlot::Background, ColorFromValue(WindowColour::Menu));
    ArrowHint->setColor(TArrowHint::ColourSlot::ArrowBackground, ColorFromValue(WindowColour::Menu));

    connect(ui->ImageButton1, &TImageButton::OnClick, this, &TForm1::ImageButton1Click);
    connect(ui->ImageButton2, &TImageButton::OnClick, this, &TForm1::ImageButton2Click);
    connect(ui->ImageButton3, &TImageButton::OnClick, this, &TForm1::ImageButton3Click);
    connect(ui->ImageButton4, &TImageButton::OnClick, this, &TForm1::ImageButton4Click);
    connect(ui->ImageButton5, &TImageButton::OnClick, this, &TForm1::ImageButton5Click);
    connect(ui->ImageButton6, &TImageButton::OnClick, this, &TForm1::ImageButton6Click);
    connect(ui->ImageButton7, &TImageButton::OnClick, this, &TForm1::ImageButton7Click);
    connect(ui->ImageButton8, &TImageButton::OnClick, this, &TForm1::ImageButton8Click);
    connect(ui->ImageButton9, &TImageButton::OnClick, this, &TForm1::ImageButton9Click);
    connect(ui->ImageButton10, &TImageButton::OnClick, this, &TForm1::ImageButton10Click);
    connect(ui->SensitiveLabel1, &TSensitiveLabel::OnClick, this, &TForm1::SensitiveLabel1Click);
    connect(ui->SensitiveLabel2, &TSensitiveLabel::OnClick, this, &TForm1::SensitiveLabel2Click);
    connect(ui->SensitiveLabel1, &TSensitiveLabel::OnMouseMove, this, &TForm1::SensitiveLabel1MouseMove);
    connect(ui->SensitiveLabel2, &TSensitiveLabel::OnMouseMove, this, &TForm1::SensitiveLabel2MouseMove);
    connect(ui->ShapedForm1, &TShapedForm::OnMouseMove, this, &TForm1::PanelAboutMouseMove);
    // Moves over the About panel and its plain labels reset the link fonts;
    // moves over the link labels are theirs alone (see eventFilter).
    for (QWidget *plain : {static_cast<QWidget *>(ui->PanelAbout), static_cast<QWidget *>(ui->Label3),
                           static_cast<QWidget *>(ui->Label6), static_cast<QWidget *>(ui->Label7),
                           static_cast<QWidget *>(ui->Label8), static_cast<QWidget *>(ui->Label9)}) {
        plain->setMouseTracking(true);
        plain->installEventFilter(this);
    }

    // An error while writing the installation record is reported and the
    // program starts all the same.
    try {
        FormCreate();
    } catch (const std::exception &error) {
        ReportHandlerError(error);
    }
}

TForm1::~TForm1() = default;

// --- Start-up -------------------------------------------------------------------

void TForm1::FormCreate()
{
    RegistryAccessor registry;
    EnsureInstallationRecord(registry, RunningExecutablePath(), FileVersionText(),
                             QApplication::applicationDisplayName().toStdString());
}

void TForm1::setWindows(SkinnedWindow *preview, SkinnedWindow *tips, SkinnedWindow *example, SkinnedWindow *game)
{
    m_preview = preview;
    m_tips = tips;
    m_example = example;
    m_game = game;
}

void TForm1::FormShow()
{
    const std::string title = QApplication::applicationDisplayName().toStdString();
    ui->Label3->setText(QString::fromStdString(AboutVersionLine(title, FileVersionText())));
    ui->Label8->setText(QString::fromStdString(MakerNoticeLine(QDate::currentDate().year())));
    // Both lines take the width of their text; the layout's height stays.
    for (QLabel *line : {ui->Label3, ui->Label8})
        line->resize(line->sizeHint().width(), qMax(line->height(), line->sizeHint().height()));
}

// --- Panels ---------------------------------------------------------------------

void TForm1::showPanel(QWidget *shown, std::initializer_list<QWidget *> hidden)
{
    shown->show();
    for (QWidget *panel : hidden)
        panel->hide();
    // The panel's first control takes the focus.
    if (shown == ui->PanelOpis)
        EnterPanel(ui->ImageButton7);
    else if (shown == ui->PanelAbout)
        EnterPanel(ui->SensitiveLabel1);
    else if (shown == ui->PanelExit)
        EnterPanel(ui->ImageButton5);
    else
        EnterPanel(ui->ImageButton9);
}

TImageButton *TForm1::EscapeButton() const
{
    // Nie, while the exit question is up; Escape never ends the program.
    return ui->PanelExit->isVisible() ? ui->ImageButton6 : nullptr;
}

void TForm1::ImageButton1Click()
{
    showPanel(ui->PanelOpis, {ui->PanelExit, ui->PanelAbout, ui->PanelNew});
}

void TForm1::ImageButton4Click()
{
    showPanel(ui->PanelNew, {ui->PanelAbout, ui->PanelExit, ui->PanelOpis});
}

void TForm1::ImageButton2Click()
{
    showPanel(ui->PanelAbout, {ui->PanelExit, ui->PanelOpis, ui->PanelNew});
}

void TForm1::ImageButton3Click()
{
    showPanel(ui->PanelExit, {ui->PanelOpis, ui->PanelAbout, ui->PanelNew});
}

void TForm1::ImageButton5Click()
{
    close();
}

void TForm1::ImageButton6Click()
{
    // "Nie" leads on to a new game, not back to the panel shown before.
    showPanel(ui->PanelNew, {ui->PanelAbout, ui->PanelExit, ui->PanelOpis});
}

// --- Opening windows and locking ------------------------------------------------------

void TForm1::LockWhileOpen()
{
    for (QWidget *button : {ui->ImageButton1, ui->ImageButton4, ui->ImageButton2, ui->ImageButton3})
        button->setEnabled(false);
    setEnabled(false);
}

void TForm1::UnlockAfterClose()
{
    for (QWidget *button : {ui->ImageButton1, ui->ImageButton4, ui->ImageButton2, ui->ImageButton3})
        button->setEnabled(true);
    SetBalloonColour(WindowColour::Menu);
    setEnabled(true);
}

void TForm1::ImageButton7Click()
{
    Open(m_preview, ui->ImageButton7);
}

void TForm1::ImageButton8Click()
{
    Open(m_tips, ui->ImageButton8);
}

void TForm1::ImageButton9Click()
{
    Open(m_example, ui->ImageButton9);
}

void TForm1::ImageButton10Click()
{
    Open(m_game, ui->ImageButton10);
}

// --- Links ----------------------------------------------------------------------

QString TForm1::MailLinkText() const
{
    return QStringLiteral("mailto:") + ui->SensitiveLabel1->text() +
           QStringLiteral("?Subject=Cześć&Body=Gratuluję zrobienia bardzo dobrego programu ") +
           QApplication::applicationDisplayName() + QStringLiteral(".");
}

QString TForm1::WebLinkText() const
{
    return ui->SensitiveLabel2->text();
}

void TForm1::SensitiveLabel1Click()
{
    // QUrl percent-encodes the blanks and Polish letters (as UTF-8) when the
    // address is handed over, which is what mail clients expect. Failure to
    // open is not reported.
    QDesktopServices::openUrl(QUrl(MailLinkText()));
}

void TForm1::SensitiveLabel2Click()
{
    QDesktopServices::openUrl(QUrl(WebLinkText()));
}

// The link labels change their font under the pointer; moving on to the
// panel around them (or to the other link) puts the panel's font back.
void TForm1::giveLinkPlainFont(QWidget *link)
{
    link->setFont(ui->Label3->font());
    QPalette palette = link->palette();
    const QColor text = ui->Label3->palette().color(QPalette::WindowText);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::WindowText, text);
    link->setPalette(palette);
}

void TForm1::PanelAboutMouseMove()
{
    giveLinkPlainFont(ui->SensitiveLabel1);
    giveLinkPlainFont(ui->SensitiveLabel2);
}

void TForm1::SensitiveLabel1MouseMove()
{
    giveLinkPlainFont(ui->SensitiveLabel2);
}

void TForm1::SensitiveLabel2MouseMove()
{
    giveLinkPlainFont(ui->SensitiveLabel1);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseMove)
        return QWidget::eventFilter(watched, event);
    if (watched == ui->PanelAbout) {
        // A move the link labels leave unhandled bubbles up to the panel:
        // only moves over the panel itself or its plain labels count.
        const QPoint position = static_cast<QMouseEvent *>(event)->position().toPoint();
        const QWidget *under = ui->PanelAbout->childAt(position);
        if (under != ui->SensitiveLabel1 && under != ui->SensitiveLabel2)
            PanelAboutMouseMove();
    } else {
        PanelAboutMouseMove();
    }
    return QWidget::eventFilter(watched, event);
}
