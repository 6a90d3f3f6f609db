// The game's only push button: a picture that lights up under the pointer and presses in when held.
#pragma once

#include "Pictures.h"

#include <QPixmap>
#include <QString>
#include <QWidget>

// An ordinary child widget. It shows one of its pictures: `Bitmap` normally,
// `BitmapOver` under the pointer, `BitmapDown` while the left button is held
// after a press on it, `BitmapUp` after a release over it, `BitmapDisabled`
// (if any) while disabled; a disabled button without one keeps its last look.
// Pictures are drawn at their device-independent size, so "@2x" pictures keep
// the layout's sizes (at 125 or 150 % resized smoothly to the screen's pixels,
// see Pictures.h).
//
// From the keyboard: Tab reaches it (a click never gives it the focus); while
// it has the focus and its window shows keyboard cues it is lit (`BitmapOver`)
// as under the pointer; Enter and Space press it: the pressed picture, then
// OnClick, exactly as a click (Space clicks when it is released).
//
// Only a button switched off itself (or through a panel it lies on) shows its
// disabled picture; a button whose window is locked while another window is up
// keeps its look. When it is enabled again it shows the picture for where the
// pointer is then, except after its own click switched it off: that button
// keeps the pressed look until the pointer next enters or leaves it.
//
// The hint is the widget's toolTip (set it in Designer as usual); it is shown
// by the application's balloon hint (TArrowHint) while `ShowHint` is true,
// never by Qt's own tooltip. The accessible name is the hint, or `PictureWord`
// (the word drawn on the picture) for a button without one.
//
// The layouts name the pictures by resource path (`BitmapResource` and the
// like); such a picture is decoded when the button first needs it.
class TImageButton : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QPixmap BitmapOver READ BitmapOver WRITE setBitmapOver)
    Q_PROPERTY(QPixmap BitmapDown READ BitmapDown WRITE setBitmapDown)
    Q_PROPERTY(QPixmap BitmapUp READ BitmapUp WRITE setBitmapUp)
    Q_PROPERTY(QPixmap BitmapDisabled READ BitmapDisabled WRITE setBitmapDisabled)
    Q_PROPERTY(QPixmap Bitmap READ Bitmap WRITE setBitmap)
    Q_PROPERTY(QPixmap CurrentBitmap READ CurrentBitmap)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE setShowHint)
    Q_PROPERTY(QString PictureWord READ PictureWord WRITE setPictureWord)
    Q_PROPERTY(QString BitmapOverResource READ BitmapOverResource WRITE setBitmapOverResource)
    Q_PROPERTY(QString BitmapDownResource READ BitmapDownResource WRITE setBitmapDownResource)
    Q_PROPERTY(QString BitmapUpResource READ BitmapUpResource WRITE setBitmapUpResource)
    Q_PROPERTY(QString BitmapDisabledResource READ BitmapDisabledResource WRITE setBitmapDisabledResource)
    Q_PROPERTY(QString BitmapResource READ BitmapResource WRITE setBitmapResource)

public:
    explicit TImageButton(QWidget *parent = nullptr);

    QPixmap Bitmap() const { return m_bitmap; }
    QPixmap BitmapOver() const { return m_bitmapOver; }
    QPixmap BitmapDown() const { return m_bitmapDown; }
    QPixmap BitmapUp() const { return m_bitmapUp; }
    QPixmap BitmapDisabled() const { return m_bitmapDisabled; }
    QPixmap CurrentBitmap() const { return m_currentBitmap; }

    // Also shows the picture at once and resizes the button to it.
    void setBitmap(const QPixmap &picture);
    // These store the picture and repaint; no resize (a disabled button takes
    // the size of `BitmapDisabled`).
    void setBitmapOver(const StoredPicture &picture);
    void setBitmapDown(const StoredPicture &picture);
    void setBitmapUp(const StoredPicture &picture);
    void setBitmapDisabled(const StoredPicture &picture);

    // The same from a layout: the picture at a resource path, decoded when
    // first needed. Sizes follow the pictures as above.
    QString BitmapResource() const { return m_bitmap.resourcePath(); }
    QString BitmapOverResource() const { return m_bitmapOver.resourcePath(); }
    QString BitmapDownResource() const { return m_bitmapDown.resourcePath(); }
    QString BitmapUpResource() const { return m_bitmapUp.resourcePath(); }
    QString BitmapDisabledResource() const { return m_bitmapDisabled.resourcePath(); }
    void setBitmapResource(const QString &path);
    void setBitmapOverResource(const QString &path) { setBitmapOver(StoredPicture::named(path)); }
    void setBitmapDownResource(const QString &path) { setBitmapDown(StoredPicture::named(path)); }
    void setBitmapUpResource(const QString &path) { setBitmapUp(StoredPicture::named(path)); }
    void setBitmapDisabledResource(const QString &path) { setBitmapDisabled(StoredPicture::named(path)); }

    bool ShowHint() const { return m_showHint; }
    void setShowHint(bool show) { m_showHint = show; }

    QString PictureWord() const { return m_pictureWord; }
    void setPictureWord(const QString &word);

    // A picture's size in layout pixels.
    static QSize pictureSize(const QPixmap &picture);
    static QSize pictureSize(const StoredPicture &picture) { return picture.size(); }

    // A click without the mouse (a screen reader's press action): the pressed
    // picture, OnClick, then the picture for where the pointer is.
    void click();

signals:
    // Raised on a click: the left button released over the button after it went
    // down on it (not for the second press of a double click). The pressed
    // picture shows while the handlers run.
    void OnClick();
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void showPicture(const QPixmap &picture);
    void press(QMouseEvent *event, bool canClick);
    bool clickStep();
    void showReleasedLook();
    void showPointerLook();
    void showLitOrNormal();
    void pointerEntered();
    void pointerLeft();
    bool isUnderPointer() const;
    bool showsFocusCue() const;
    bool switchedOff() const;
    QSize shownSize(QSize shown) const;
    void updateAccessibleName();

    StoredPicture m_bitmapOver, m_bitmapDown, m_bitmapUp, m_bitmap, m_bitmapDisabled;
    QPixmap m_currentBitmap;
    bool m_showHint = true;
    bool m_leftHeld = false;     // left button went down on the button and is still held
    bool m_clickArmed = false;   // ... and that press may end in a click
    bool m_pointerInside = false;
    bool m_clicking = false;          // OnClick is running (a modal question may be up)
    bool m_keepsPressedLook = false;  // its own click switched it off
    bool m_spaceHeld = false;         // Space went down on the focused button
    QString m_pictureWord;
};
