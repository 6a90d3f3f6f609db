// Words drawn on a window's picture, for screen readers.
#include "TPictureText.h"

#include "Accessibility.h"

#include <QAccessible>

TPictureText::TPictureText(QWidget *parent)
    : QWidget(parent)
{
    InstallAccessibleInterfaces();
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

TPictureText::TPictureText(const QString &text, const QRect &place, QWidget *parent)
    : TPictureText(parent)
{
    setGeometry(place);
    m_text = text;
}

void TPictureText::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}
