// A still picture on a window: drawn as it is, also while its window is locked.
#pragma once

#include "Pictures.h"

#include <QPixmap>
#include <QString>
#include <QWidget>

// The menu's headings and the worked example's diagrams. Unlike a QLabel, the
// picture is never greyed out when the window is disabled: a locked menu keeps
// its look, only its column buttons show their disabled pictures.
//
// `PictureWord` holds the words a heading picture shows; screen readers read
// it as a heading. A picture without words is a graphic named by its
// accessible name.
class TImage : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QPixmap Picture READ Picture WRITE setPicture)
    Q_PROPERTY(QString PictureWord READ PictureWord WRITE setPictureWord)
    // The layouts name the picture; it is decoded when first painted.
    Q_PROPERTY(QString PictureResource READ PictureResource WRITE setPictureResource)

public:
    explicit TImage(QWidget *parent = nullptr);

    QPixmap Picture() const { return m_picture; }
    void setPicture(const StoredPicture &picture);
    QString PictureResource() const { return m_picture.resourcePath(); }
    void setPictureResource(const QString &path) { setPicture(StoredPicture::named(path)); }

    QString PictureWord() const { return m_pictureWord; }
    void setPictureWord(const QString &word) { m_pictureWord = word; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    StoredPicture m_picture;
    QString m_pictureWord;
};
