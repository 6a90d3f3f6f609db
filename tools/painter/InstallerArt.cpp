// The Windows installer's own pictures, in the game's blue with its icon and lettering.
#include "InstallerArt.h"

#include "AppIcon.h"
#include "Studio.h"

#include <QDir>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <cstdio>

namespace painter {

namespace {

// The dark end of the side picture's blue, behind its heading.
const QColor deepBlue(0, 52, 140);

// One sudoku box, three by three cells, with a few digits, in white lines on the blue.
void drawBox(QPainter &p, const QRectF &box)
{
    const qreal cell = box.width() / 3;
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(box, 4, 4);
    for (int i = 1; i < 3; ++i) {
        p.drawLine(QPointF(box.left() + i * cell, box.top()), QPointF(box.left() + i * cell, box.bottom()));
        p.drawLine(QPointF(box.left(), box.top() + i * cell), QPointF(box.right(), box.top() + i * cell));
    }
    const struct {
        int row, col, digit;
    } digits[] = {{0, 0, 4}, {0, 2, 9}, {1, 1, 2}, {2, 0, 7}, {2, 2, 5}};
    p.setFont(Studio::font(Studio::serif(), cell * 0.7, true));
    p.setPen(Qt::white);
    for (const auto &d : digits)
        p.drawText(QRectF(box.left() + d.col * cell, box.top() + d.row * cell, cell, cell), Qt::AlignCenter,
                   QString::number(d.digit));
}

bool writeBmp(const QImage &image, const QString &path)
{
    QImageWriter writer(path, "bmp");
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32))) {
        std::fprintf(stderr, "painter: cannot write %s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

} // namespace

QImage installerSideImage(const Studio &studio)
{
    QImage image(164, 314, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, image.height());
    sky.setColorAt(0, ink::gameBlue.lighter(125));
    sky.setColorAt(1, deepBlue);
    p.fillRect(image.rect(), sky);
    // The desktop icon, drawn at its own size, on a soft light.
    const QImage icon = appIconImage(112);
    p.drawImage(QPointF((image.width() - icon.width()) / 2.0, 30), icon);
    studio.drawHeading(p, QRectF(8, 160, 148, 56), {"Sudoku"}, ink::yellow, deepBlue.lighter(130), 44);
    drawBox(p, QRectF(44, 228, 76, 76));
    return image;
}

QImage installerHeaderImage(const Studio &)
{
    // The header's white band, as the installer's own pages are white there.
    QImage image(150, 57, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawImage(QPointF(6, (image.height() - 48) / 2.0), appIconImage(48));
    p.setFont(Studio::font(Studio::garamond(), 27, true));
    p.setPen(ink::gameBlue);
    p.drawText(QRectF(60, 0, 88, image.height()), Qt::AlignLeft | Qt::AlignVCenter, "Sudoku");
    return image;
}

bool writeInstallerArt(const Studio &studio, const QString &folder)
{
    QDir().mkpath(folder);
    return writeBmp(installerSideImage(studio), folder + "/wizard.bmp")
        && writeBmp(installerHeaderImage(studio), folder + "/header.bmp");
}

} // namespace painter
