// The preview window: the sample diagram with its rows, columns and boxes named.
#pragma once

#include "SkinnedWindow.h"

#include <memory>

namespace Ui {
class TFPodglad;
}

// Opened from the menu's rules panel; centred on the screen at every showing,
// when the balloon hint turns light yellow. Closing it (OK) hides it and
// unlocks the menu.
class TFPodglad : public SkinnedWindow
{
    Q_OBJECT

public:
    explicit TFPodglad(QWidget *parent = nullptr);
    ~TFPodglad() override;

    void ImageButton1Click();

protected:
    // OK, which closes the window.
    TImageButton *EscapeButton() const override;

private:
    std::unique_ptr<Ui::TFPodglad> ui;
};

extern TFPodglad *FPodglad;
