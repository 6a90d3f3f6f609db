// The game's only push button: a picture that lights up under the pointer and presses in when held.
#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

// An ordinary child widget that never takes focus. It shows one of its
// pictures: `Bitmap` normally, `BitmapOver` under the pointer, `BitmapDown`
// while the left button is held after a press on it, `BitmapUp` after a
// release over it, `BitmapDisabled` (if any) while disabled; a disabled button
// without one keeps its last look. Pictures are drawn unscaled at their
// device-independent size, so "@2x" pictures keep the layout's sizes.
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
    void setBitmapOver(const QPixmap &picture);
    void setBitmapDown(const QPixmap &picture);
    void setBitmapUp(const QPixmap &picture);
    void setBitmapDisabled(const QPixmap &picture);

    bool ShowHint() const { return m_showHint; }
    void setShowHint(bool show) { m_showHint = show; }

    QString PictureWord() const { return m_pictureWord; }
    void setPictureWord(const QString &word);

    // A picture's size in layout pixels.
    static QSize pictureSize(const QPixmap &picture);

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

private:
    void showPicture(const QPixmap &picture);
    void press(QMouseEvent *event, bool canClick);
    bool clickStep();
    void showReleasedLook();
    void showPointerLook();
    void pointerEntered();
    void pointerLeft();
    bool isUnderPointer() const;
    bool switchedOff() const;
    void updateAccessibleName();

    QPixmap m_bitmapOver, m_bitmapDown, m_bitmapUp, m_bitmap, m_currentBitmap, m_bitmapDisabled;
    bool m_showHint = true;
    bool m_leftHeld = false;     // left button went down on the button and is still held
    bool m_clickArmed = false;   // ... and that press may end in a click
    bool m_pointerInside = false;
    bool m_clicking = false;          // OnClick is running (a modal question may be up)
    bool m_keepsPressedLook = false;  // its own click switched it off
    QString m_pictureWord;
};
