// Helpers for the controls' tests: plain-coloured pictures and reading back what was painted.
#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

inline QPixmap solidPicture(QSize size, QColor colour, qreal ratio = 1.0)
{
    QPixmap picture(size * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(colour);
    return picture;
}

// The colour a widget shows at `point` when it is painted now.
inline QColor paintedAt(QWidget *widget, QPoint point)
{
    const QImage image = widget->grab().toImage();
    return image.pixelColor(point * image.devicePixelRatio());
}

// Whether any painted pixel of `widget` has `colour`.
inline bool paintsColour(QWidget *widget, QColor colour)
{
    const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour)
                return true;
        }
    }
    return false;
}
