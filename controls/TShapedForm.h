// The shaped-window background: the window's picture, its stored outline and dragging by the background.
#pragma once

#include "Pictures.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QRegion>
#include <QString>
#include <QWidget>
#include <optional>

class QScreen;
class TShapedForm;

// A window outline kept as a rectangle list. Its stored form ("Mask.Data") is
// a little-endian 32-bit byte count N followed by N bytes of rectangle-list
// data: a 32-byte header (header size 32, type 1, rectangle count n, list size
// 16·n, bounding box) and n rectangles (left, top, right, bottom; right and
// bottom exclusive) in banded order, top to bottom, left to right. N ≤ 0 means
// no outline. The whole stored form is 36 + 16·n bytes.
class TShapedRegion
{
public:
    explicit TShapedRegion(TShapedForm *owner = nullptr);

    // Reads the rectangle list of one stored form (count included). Returns
    // nothing for a count ≤ 0, for data shorter than it claims, for a header
    // that is not 32 bytes of type 1, for a rectangle count that does not fit
    // the data, or for coordinates beyond ±2^27. Never reads past the bytes
    // given. Rectangles with no area are skipped; a list with no area at all
    // gives nothing (a window with an empty outline would be invisible).
    static std::optional<QRegion> parse(QByteArrayView bytes);

    // The stored form of a region, byte for byte as parse() reads it; an
    // empty region is the 4-byte zero.
    static QByteArray serialize(const QRegion &region);

    // The rectangle-list data alone (without the leading count); empty for
    // an empty region.
    static QByteArray regionData(const QRegion &region);

    // Replaces the held outline with the one built from rectangle-list data
    // (without the leading count); malformed data leaves no outline.
    void AssignRegionData(QByteArrayView data);
    // Replaces the held outline with a copy of `region`, or none.
    void AssignRegion(const std::optional<QRegion> &region);

    // Loading and storing "Data": the stored form as described above.
    void readData(QByteArrayView bytes);
    QByteArray writeData() const;

    // Loads the stored form from a file or resource (":/outlines/…");
    // returns false when it cannot be read (the outline is then none).
    bool loadFrom(const QString &path);

    bool hasRegion() const { return m_region.has_value(); }
    const std::optional<QRegion> &Region() const { return m_region; }
    TShapedForm *owner() const { return m_owner; }

private:
    std::optional<QRegion> m_region;
    TShapedForm *m_owner;
};

// The bottom-most control of every game window. Placed on a top-level window
// it makes that window frameless, fills its client area with `Picture`, sizes
// the window to the picture, and lets the player drag the window by it with
// the left button. The outline (`Mask`) becomes the window's mask in Loaded().
//
// Use from a window class:
//     ui.setupUi(this);            // creates ShapedForm1 with Picture, MaskResource, Moveable
//     ui.ShapedForm1->Loaded();    // fits the window to the picture, applies the outline
//
// The outline follows the window from screen to screen: moved to a screen of
// another scale (125 %, 150 %, …), or on a screen whose scale the player
// changes, the window is given its outline again for that scale.
//
// Placing the control on anything but a top-level window is an error: the
// control stays where it was put, placementError() returns "Please Drop on a
// Form", and Loaded() throws std::runtime_error with that message (Qt
// constructors and event handlers cannot throw safely, Loaded() can).
class TShapedForm : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QPixmap Picture READ Picture WRITE setPicture)
    Q_PROPERTY(QString PictureResource READ PictureResource WRITE setPictureResource)
    Q_PROPERTY(QString MaskResource READ MaskResource WRITE setMaskResource)
    Q_PROPERTY(bool Moveable READ Moveable WRITE setMoveable)
    Q_PROPERTY(QPoint GrabPoint READ GrabPoint)

public:
    explicit TShapedForm(QWidget *parent = nullptr);
    ~TShapedForm() override;

    QPixmap Picture() const { return m_picture; }
    // Stores the picture and fits the holding window to it.
    void setPicture(const StoredPicture &picture);
    // The same from a layout: the picture at a resource path, whose size fits
    // the window at once; its pixels are decoded when the window first paints.
    QString PictureResource() const { return m_picture.resourcePath(); }
    void setPictureResource(const QString &path) { setPicture(StoredPicture::named(path)); }

    QString MaskResource() const { return m_maskResource; }
    // Loads `Mask` from the stored form at `path` (e.g. ":/outlines/TForm1.Mask.Data").
    void setMaskResource(const QString &path);

    TShapedRegion &Mask() { return m_mask; }
    const TShapedRegion &Mask() const { return m_mask; }
    // Takes a copy of `mask`'s outline (none: keeps the current one) and re-applies it.
    void assignMask(const TShapedRegion *mask);

    bool Moveable() const { return m_moveable; }
    void setMoveable(bool moveable) { m_moveable = moveable; }

    // Where the last mouse button went down, in this control's coordinates.
    QPoint GrabPoint() const { return m_grabPoint; }

    // The end of loading: fits the window to the picture and applies the
    // outline. Call once, right after setupUi. Throws std::runtime_error
    // ("Please Drop on a Form") when the control is not on a top-level window.
    void Loaded();

    // Gives the holding window the outline as its mask (none: no mask), scaled
    // for the screen it is on.
    void ApplyOutline();
    // Sizes the holding window to the picture's device-independent size.
    void FitWindowToPicture();

    // "Please Drop on a Form" while placed on anything but a top-level window.
    QString placementError() const { return m_placementError; }

    static constexpr const char *PlacementErrorText = "Please Drop on a Form";

signals:
    // Raised before the control's own handling of the same event; `position`
    // is in this control's coordinates.
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void OnMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint position);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void OnClick();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void placeOn(QWidget *holder);
    void fillHolder();
    // Watches the scale of the screen the holding window is on.
    void followScreen();

    StoredPicture m_picture;
    QString m_maskResource;
    TShapedRegion m_mask;
    bool m_moveable = true;
    QPoint m_grabPoint;
    bool m_pressedInside = false;
    QString m_placementError;
    QWidget *m_holder = nullptr;
    QPointer<QScreen> m_screen;
    QMetaObject::Connection m_screenScale;
};
