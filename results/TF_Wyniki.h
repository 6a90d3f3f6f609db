// The results window: the ten best times with the players' names, and clearing the list.
#pragma once

#include <QWidget>

#include <array>

class QLabel;

namespace Ui {
class TF_Wyniki;
}

// Shown non-modally from the game window, which disables itself meanwhile;
// FormClosed() tells it to enable itself again. Closing only hides the window,
// and every showing reads the list afresh from the registry.
class TF_Wyniki : public QWidget
{
    Q_OBJECT

public:
    explicit TF_Wyniki(QWidget* parent = nullptr);
    ~TF_Wyniki() override;

    // Fills the ten places from the stored list; runs on every showing and after a clear.
    void FormShow();
    // OK: closes (hides) the window.
    void ImageButton1Click();
    // Clears the list after the player confirms.
    void ImageButton2Click();

signals:
    void FormClosed();

public:
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Ui::TF_Wyniki* ui;
    std::array<QLabel*, 10> m_names{};
    std::array<QLabel*, 10> m_times{};
};

extern TF_Wyniki* F_Wyniki;
