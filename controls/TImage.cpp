// A still picture on a window: drawn as it is, also while its window is locked.
#include "TImage.h"

#include "Accessibility.h"

#include <QPainter>

TImage::TImage(QWidget *parent)
    : QWidget(parent)
{
    InstallAccessibleInterfaces();
    // Pictures are decoration: the pointer passes through to the panel below
    // (the About panel resets the link fonts on moves over it).
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TImage::setPicture(const StoredPicture &picture)
{
    m_picture = picture;
    update();
}

void TImage::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    // At the top-left corner, in the layout's size at the screen's density.
    DrawPicture(painter, m_picture.pixmap(devicePixelRatio()));
}
