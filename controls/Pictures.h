// Loads the game's pictures, taking the twice-as-large "@2x" twin on high-density screens.
#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

// Pictures are loaded by resource path ("…/name.png"). On a screen whose device
// pixel ratio is above 1 the "name@2x.png" twin is loaded when it exists; it
// carries a pixel ratio of 2, so its device-independent size, which sizes the
// windows and buttons, is the same as the plain picture's. A missing picture
// gives a null pixmap.
QPixmap LoadPicture(const char *resourcePath);
QPixmap LoadPicture(const QString &resourcePath, qreal devicePixelRatio);

// A picture of a control: either one handed over decoded, or one that a
// window's layout names by its resource path. A named picture knows its size
// at once (from the file's header) but is decoded only the first time its
// pixels are needed: painted, or read through pixmap(). Hidden windows thus
// hold no decoded pictures until they are first shown.
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

    // Decodes a named picture on the first call.
    const QPixmap &pixmap() const;
    operator const QPixmap &() const { return pixmap(); }

    // Without decoding: the size in layout pixels, and whether there is no picture.
    QSize size() const { return m_size; }
    bool isNull() const { return m_size.isEmpty(); }

    QString resourcePath() const { return m_resourcePath; }

private:
    QString m_resourcePath;
    mutable QPixmap m_pixmap;
    mutable bool m_decoded = false;
    QSize m_size;
};

// The resource paths of the named pictures decoded so far in this run, in the
// order of decoding (each once): what the windows shown so far have needed.
QStringList DecodedPictures();
