// The finishing touches every window's layout gets after loading.
#include "WindowLook.h"

#include "BundledFonts.h"

#include <QLabel>
#include <QPalette>
#include <QWidget>
#include <algorithm>
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

void LetLabelsHoldTheirText(QWidget *root)
{
    for (QLabel *label : root->findChildren<QLabel *>()) {
        // Labels of the game's own controls size themselves; wrapped text fits its width by itself.
        if (label->metaObject() != &QLabel::staticMetaObject || label->wordWrap() || label->text().isEmpty())
            continue;
        // A layout family still under its own name is one whose bundled font
        // comes only after the menu shows (the clock's Courier New): measured
        // now it would be measured in whatever font stands in meanwhile.
        if (BundledFamily(label->font().family()) != label->font().family())
            continue;
        const Qt::Alignment alignment = label->alignment();
        const QSize needed = label->fontMetrics()
                                 .boundingRect(QRect(0, 0, 4000, 4000), int(alignment) | Qt::TextExpandTabs,
                                               label->text())
                                 .size();
        QRect box = label->geometry();
        const int wider = std::max(0, needed.width() - box.width());
        const int taller = std::max(0, needed.height() - box.height());
        if (wider == 0 && taller == 0)
            continue;
        if (alignment & Qt::AlignRight)
            box.setLeft(box.left() - wider);
        else if (alignment & Qt::AlignHCenter)
            box.adjust(-wider / 2, 0, wider - wider / 2, 0);
        else
            box.setRight(box.right() + wider);
        if (alignment & Qt::AlignBottom)
            box.setTop(box.top() - taller);
        else if (alignment & Qt::AlignVCenter)
            box.adjust(0, -taller / 2, 0, taller - taller / 2);
        else
            box.setBottom(box.bottom() + taller);
        label->setGeometry(box);
    }
}
