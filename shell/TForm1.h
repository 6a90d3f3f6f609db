// The main menu: the four column buttons, the rules, new-game, About and exit panels, and the balloon hint.
#pragma once

#include "SkinnedWindow.h"

#include <memory>

class TArrowHint;

namespace Ui {
class TForm1;
}

// The program's main window and the only one shown at start-up; closing it
// ends the program (FormClosed()). Opening a guide window or the game locks
// the menu; the window that was opened unlocks it when it closes. Creating the
// menu writes the installation record when it is missing.
class TForm1 : public SkinnedWindow
{
    Q_OBJECT

public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // The application's single balloon hint; every window recolours it.
    TArrowHint *ArrowHint = nullptr;

    // The windows the menu opens (wired at start-up).
    void setWindows(SkinnedWindow *preview, SkinnedWindow *tips, SkinnedWindow *example, SkinnedWindow *game);

    // --- Handlers --------------------------------------------------------------
    void FormCreate();
    void FormShow() override;
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

protected:
    // Locked: the four column buttons off, then the whole window. Unlocked:
    // the buttons back on, the balloon hint green again, then the window.
    void LockWhileOpen() override;
    void UnlockAfterClose() override;
    TImageButton *EscapeButton() const override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showPanel(QWidget *shown, std::initializer_list<QWidget *> hidden);
    void giveLinkPlainFont(QWidget *link);

    std::unique_ptr<Ui::TForm1> ui;
    SkinnedWindow *m_preview = nullptr;
    SkinnedWindow *m_tips = nullptr;
    SkinnedWindow *m_example = nullptr;
    SkinnedWindow *m_game = nullptr;
};

extern TForm1 *Form1;
