// The tips window: three good pieces of advice for solving a diagram.
#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class TFRady;
}

// Opened from the menu's rules panel or from the worked example; centred on
// the screen at every showing. Closing it hides it and hands control back to
// the example when that is up, to the menu otherwise.
class TFRady : public QWidget
{
    Q_OBJECT

public:
    explicit TFRady(QWidget *parent = nullptr);
    ~TFRady() override;

    void FormShow();
    void FormClose();
    void ImageButton1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    std::unique_ptr<Ui::TFRady> ui;
};

extern TFRady *FRady;
