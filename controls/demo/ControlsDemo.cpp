// Hand-run demo of the skinned controls on the game window's picture and outline.
// Usage: controls_demo [--screenshot file.png]   (the screenshot hovers a button and saves the screen), e.g.
//   xvfb-run -a -s "-screen 0 1024x768x24 -noreset" sh -c 'xsetroot -solid "#4a6d8c"; controls_demo --screenshot docs/controls-demo.png'
#include "BundledFonts.h"
#include "ColorValue.h"
#include "TArrowHint.h"
#include "TImageButton.h"
#include "TSensitiveLabel.h"
#include "TShadowLabel.h"
#include "TShapedForm.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace {

TImageButton *pictureButton(QWidget *window, const QString &name, QPoint at, const QString &hint, bool hasDisabled)
{
    const QString base = QStringLiteral(":/pictures/game/") + name;
    auto *button = new TImageButton(window);
    button->setObjectName(name);
    button->move(at);
    button->setBitmapOver(QPixmap(base + QStringLiteral("_over.png")));
    button->setBitmapUp(QPixmap(base + QStringLiteral("_over.png")));
    button->setBitmapDown(QPixmap(base + QStringLiteral("_down.png")));
    if (hasDisabled)
        button->setBitmapDisabled(QPixmap(base + QStringLiteral("_disabled.png")));
    button->setBitmap(QPixmap(base + QStringLiteral(".png")));
    button->setToolTip(hint);
    return button;
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Sudoku"));
    RegisterBundledFonts();

    QWidget window;
    auto *hint = new TArrowHint(&window);
    QFont hintFont(QStringLiteral("MS Sans Serif"));
    hintFont.setPixelSize(11);
    hint->setFont(hintFont);
    hint->setColor(TArrowHint::ColourSlot::Background, ColorFromValue(16574645));
    hint->setColor(TArrowHint::ColourSlot::ArrowBackground, ColorFromValue(16574645));

    auto *background = new TShapedForm(&window);
    background->setPicture(QPixmap(QStringLiteral(":/pictures/game/background.png")));
    background->setMaskResource(QStringLiteral(":/outlines/TFSudoku.Mask.Data"));

    pictureButton(&window, QStringLiteral("ImageButton1"), QPoint(440, 40), QStringLiteral("Nowy diagram"), true);
    pictureButton(&window, QStringLiteral("ImageButton2"), QPoint(440, 90), QStringLiteral("Sprawdź rozwiązanie"), true);
    auto *disabled = pictureButton(&window, QStringLiteral("ImageButton3"), QPoint(440, 140),
                                   QStringLiteral("Wyczyść diagram"), true);
    disabled->setEnabled(false);
    auto *close = pictureButton(&window, QStringLiteral("ImageButton6"), QPoint(455, 280), QStringLiteral("Zamknij"), false);
    QObject::connect(close, &TImageButton::OnClick, &window, &QWidget::close);

    auto *panel = new QLabel(&window);
    panel->setPixmap(QPixmap(QStringLiteral(":/pictures/game/panel.png")));
    panel->move(30, 60);
    panel->adjustSize();
    QFont garamond(QStringLiteral("Garamond"));
    garamond.setPixelSize(21);
    garamond.setBold(true);
    auto *shadow = new TShadowLabel(panel);
    shadow->setFont(garamond);
    shadow->setTransparent(true);
    shadow->setAlignment(Qt::AlignHCenter);
    shadow->setText(QStringLiteral("Gratulacje! Diagram rozwiązany\rw czasie 00:12:34"));
    shadow->move((panel->width() - shadow->width()) / 2, 50);

    auto *link = new TSensitiveLabel(&window);
    QFont linkFont(QStringLiteral("MS Sans Serif"));
    linkFont.setPixelSize(13);
    link->setFont(linkFont);
    QFont hover = linkFont;
    hover.setUnderline(true);
    link->setFontMouseMove(hover);
    link->setFontMouseMoveColor(ColorFromValue(16711680));
    link->setFontMouseDown(linkFont);
    link->setText(QStringLiteral("www.sudoku.example.pl"));
    link->setCursor(Qt::PointingHandCursor);
    link->move(40, 270);
    link->adjustSize();

    background->lower();
    background->Loaded();
    window.move(60, 60);
    window.show();

    if (argc == 3 && QString::fromLocal8Bit(argv[1]) == QStringLiteral("--screenshot")) {
        const QString file = QString::fromLocal8Bit(argv[2]);
        QTimer::singleShot(300, [] { QCursor::setPos(QPoint(60 + 500, 60 + 105)); });
        QTimer::singleShot(1500, [&window, file] {
            QScreen *screen = window.screen();
            screen->grabWindow(0, 0, 0, 60 + 587 + 60, 60 + 365 + 60).save(file);
            QApplication::quit();
        });
    }
    return app.exec();
}
