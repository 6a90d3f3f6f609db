// The results window: the ten best times with the players' names, and clearing the list.
#pragma once

#include "SkinnedWindow.h"

#include <array>
#include <memory>

class QLabel;

namespace Ui {
class TF_Wyniki;
}

// Opened from the game window, which is disabled until this window closes.
// Centred on the screen at every showing; closing only hides the window, and
// every showing reads the list afresh from the registry.
class TF_Wyniki : public SkinnedWindow
{
    Q_OBJECT

public:
    explicit TF_Wyniki(QWidget* parent = nullptr);
    ~TF_Wyniki() override;

    // Fills the ten places from the stored list; runs on every showing and after a clear.
    void FormShow() override;
    // OK: closes (hides) the window.
    void ImageButton1Click();
    // Clears the list after the player confirms.
    void ImageButton2Click();

    // OK takes the focus when the window opens, and Escape presses it.
    QWidget* FirstControl() override;

protected:
    TImageButton* EscapeButton() const override;

private:
    std::unique_ptr<Ui::TF_Wyniki> ui;
    std::array<QLabel*, 10> m_names{};
    std::array<QLabel*, 10> m_times{};
};

extern TF_Wyniki* F_Wyniki;
