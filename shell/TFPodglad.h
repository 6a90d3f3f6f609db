// The preview window: the sample diagram with its rows, columns and boxes named.
#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class TFPodglad;
}

// Opened from the menu's rules panel; centred on the screen at every showing.
// Closing it only hides it and unlocks the menu.
class TFPodglad : public QWidget
{
    Q_OBJECT

public:
    explicit TFPodglad(QWidget *parent = nullptr);
    ~TFPodglad() override;

    void FormShow();
    void FormClose();
    void ImageButton1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    std::unique_ptr<Ui::TFPodglad> ui;
};

extern TFPodglad *FPodglad;
