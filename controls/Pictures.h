// Loads the game's pictures at the screen's density: the "@2x" twin on dense screens, smoothly resized between.
#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

class QPainter;

// Pictures are loaded by resource path ("…/name.png") for a device pixel ratio.
// At 1 the plain picture is taken as it is, at 2 its "name@2x.png" twin (the
// plain one where there is no twin). Between and beyond (125 %, 150 %, 300 %
// screens) the picture is resized smoothly from the twin to exactly the
// screen's pixels, so its lettering is as clean as at 100 % and 200 % and it
// is drawn pixel for pixel. The result carries that ratio, so its
// device-independent size, which sizes the windows and buttons, is always the
// plain picture's. A missing picture gives a null pixmap.
QPixmap LoadPicture(const char *resourcePath);
QPixmap LoadPicture(const QString &resourcePath, qreal devicePixelRatio);

// The device pixel ratio pictures are loaded for when no window asks: the
// application's (the highest of its screens).
qreal PictureRatio();

// Draws a picture at the painter's origin, at its device-independent size. A
// picture made for another density than the painter's (handed over by a
// test, or loaded for the other screen of a mixed pair) is resized smoothly,
// never pixel-dropped.
void DrawPicture(QPainter &painter, const QPixmap &picture);

// A picture of a control: either one handed over decoded, or one that a
// window's layout names by its resource path. A named picture knows its size
// at once (from the file's header) but is decoded only the first time its
// pixels are needed: painted, or read through pixmap(). Hidden windows thus
// hold no decoded pictures until they are first shown. A named picture asked
// for at another density than it was decoded for (its window went to a
// screen of another scale) is decoded again for that density.
class StoredPicture
{
public:
    StoredPicture() = default;
    StoredPicture(const QPixmap &picture)
        : m_pixmap(picture), m_decoded(true), m_size(picture.deviceIndependentSize().toSize())
    {
    }

    // A picture of a layout, for instance ":/pictures/menu/background.png".
    static StoredPicture named(const QString &resourcePath);

    // Decodes a named picture on the first call, for PictureRatio() or for a
    // window's own device pixel ratio.
    const QPixmap &pixmap() const { return pixmap(PictureRatio()); }
    const QPixmap &pixmap(qreal devicePixelRatio) const;
    operator const QPixmap &() const { return pixmap(); }

    // Without decoding: the size in layout pixels, and whether there is no picture.
    QSize size() const { return m_size; }
    bool isNull() const { return m_size.isEmpty(); }

    QString resourcePath() const { return m_resourcePath; }

private:
    QString m_resourcePath;
    mutable QPixmap m_pixmap;
    mutable bool m_decoded = false;
    mutable qreal m_ratio = 0;
    QSize m_size;
};

// The resource paths of the named pictures decoded so far in this run, in the
// order of first decoding (each once): what the windows shown so far have needed.
QStringList DecodedPictures();
