// The tips window: three good pieces of advice for solving a diagram.
#pragma once

#include "SkinnedWindow.h"

#include <memory>

namespace Ui {
class TFRady;
}

// Opened from the menu's rules panel or from the worked example; centred on
// the screen at every showing, when the balloon hint turns light blue.
// Closing it (OK) hides it and hands control back to whichever window opened
// it: the example, or the menu.
class TFRady : public SkinnedWindow
{
    Q_OBJECT

public:
    explicit TFRady(QWidget *parent = nullptr);
    ~TFRady() override;

    void ImageButton1Click();

protected:
    // OK, which closes the window.
    TImageButton *EscapeButton() const override;

private:
    std::unique_ptr<Ui::TFRady> ui;
};

extern TFRady *FRady;
