// Words drawn on a window's picture, for screen readers: the control shows nothing itself.
#pragma once

#include <QString>
#include <QWidget>

// Lies over the place where the window's picture shows its words (a guide's
// heading or a tip), so that a screen reader reads them in their order and
// finds them where they are. Paints nothing and lets the pointer through.
class TPictureText : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)

public:
    explicit TPictureText(QWidget *parent = nullptr);
    TPictureText(const QString &text, const QRect &place, QWidget *parent);

    QString text() const { return m_text; }
    void setText(const QString &text);

private:
    QString m_text;
};
