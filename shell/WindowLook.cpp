// Finishing touches every window of the shell gets right after loading its layout.
#include "shell/WindowLook.h"

#include "controls/ColorValue.h"
#include "controls/TArrowHint.h"

#include <QPalette>
#include <QWidget>
#include <cmath>

QFont PixelFont(QFont font)
{
    if (font.pixelSize() <= 0 && font.pointSizeF() > 0)
        font.setPixelSize(static_cast<int>(std::lround(font.pointSizeF() * 96.0 / 72.0)));
    return font;
}

void UsePixelFontHeights(QWidget *root)
{
    // Parents first, so that children inheriting a font inherit the pixel size.
    QList<QWidget *> widgets{root};
    widgets += root->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (widget == root || widget->testAttribute(Qt::WA_SetFont))
            widget->setFont(PixelFont(widget->font()));
    }
}

void SetBalloonColour(std::uint32_t colour)
{
    if (TArrowHint *hint = TArrowHint::application()) {
        hint->setColor(0, ColorFromValue(colour));
        hint->setColor(2, ColorFromValue(colour));
    }
}
