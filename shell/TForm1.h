// The main menu: the four column buttons, the rules, new-game, About and exit panels, and the balloon hint.
#pragma once

#include <QWidget>
#include <memory>

class TArrowHint;

namespace Ui {
class TForm1;
}

// The program's main window and the only one shown at start-up; closing it
// ends the program (FormClosed()). Opening a guide window or the game locks
// the menu; the window that was opened unlocks it with UnlockMenu() when it
// closes. Creating the menu writes the installation record when it is missing.
class TForm1 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // The application's single balloon hint; every window recolours it.
    TArrowHint *ArrowHint = nullptr;

    // Column buttons back on, balloon hint green again, then the window itself.
    void UnlockMenu();

    // --- Handlers --------------------------------------------------------------
    void FormCreate();
    void FormShow();
    void ImageButton1Click();
    void ImageButton2Click();
    void ImageButton3Click();
    void ImageButton4Click();
    void ImageButton5Click();
    void ImageButton6Click();
    void ImageButton7Click();
    void ImageButton8Click();
    void ImageButton9Click();
    void ImageButton10Click();
    void SensitiveLabel1Click();
    void SensitiveLabel2Click();
    void PanelAboutMouseMove();
    void SensitiveLabel1MouseMove();
    void SensitiveLabel2MouseMove();

    // The texts the two links hand to the system.
    QString MailLinkText() const;
    QString WebLinkText() const;

signals:
    // The menu was closed: the program ends.
    void FormClosed();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showPanel(QWidget *shown, std::initializer_list<QWidget *> hidden);
    void openAndLock(QWidget *window);
    void giveLinkPlainFont(QWidget *link);

    std::unique_ptr<Ui::TForm1> ui;
};

extern TForm1 *Form1;
