// What screen readers are told about the game's own controls.
#include "Accessibility.h"

#include "TImage.h"
#include "TImageButton.h"
#include "TPictureText.h"
#include "TSensitiveLabel.h"
#include "TShadowLabel.h"
#include "TShapedForm.h"

#include <QAccessibleWidget>
#include <QStringList>

#include <functional>

namespace {

constexpr const char *HiddenProperty = "hiddenFromScreenReaders";
constexpr const char *AlertProperty = "readAsAlert";

// A push button: the name is the hint (or the picture word), the picture word
// adds itself as the description when the hint says something else.
class ImageButtonAccessible : public QAccessibleWidget
{
public:
    explicit ImageButtonAccessible(TImageButton *button)
        : QAccessibleWidget(button, QAccessible::Button)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Description)
            return QAccessibleWidget::text(t);
        // Not the hint again, which is the name already.
        if (!widget()->accessibleDescription().isEmpty())
            return widget()->accessibleDescription();
        const QString word = button()->PictureWord();
        return word != widget()->accessibleName() ? word : QString();
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString &action) override
    {
        if (action == pressAction())
            button()->click();
    }

    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    TImageButton *button() const { return static_cast<TImageButton *>(widget()); }
};

// A link: named by the address it shows, with a press action that opens it.
class LinkAccessible : public QAccessibleWidget
{
public:
    explicit LinkAccessible(TSensitiveLabel *link)
        : QAccessibleWidget(link, QAccessible::Link)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<TSensitiveLabel *>(widget())->text();
        return QAccessibleWidget::text(t);
    }

    // Tab reaches it, though Qt's own focus chain does not.
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.focusable = true;
        return state;
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString &action) override
    {
        if (action == pressAction())
            static_cast<TSensitiveLabel *>(widget())->click();
    }

    QStringList keyBindingsForAction(const QString &) const override { return {}; }
};

// A caption read as its lines, without the blanks that place them and
// without accelerator marks.
QString readableCaption(QString caption, bool accelerator)
{
    caption.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    caption.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (accelerator) {
        QString plain;
        for (qsizetype i = 0; i < caption.size(); ++i) {
            if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size())
                ++i;
            plain += caption.at(i);
        }
        caption = plain;
    }
    QStringList lines = caption.split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = line.simplified();
    lines.removeAll(QString());
    return lines.join(QLatin1Char('\n'));
}

// Static text: a shadow label's caption or the words of a picture.
class TextAccessible : public QAccessibleWidget
{
public:
    TextAccessible(QWidget *widget, QAccessible::Role role, std::function<QString()> words)
        : QAccessibleWidget(widget, role)
        , m_words(std::move(words))
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return m_words();
        return QAccessibleWidget::text(t);
    }

private:
    std::function<QString()> m_words;
};

// Passed over by screen readers: never showing, no role of its own.
class HiddenAccessible : public QAccessibleWidget
{
public:
    explicit HiddenAccessible(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::NoRole)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        state.offscreen = true;
        return state;
    }
};

QAccessibleInterface *createInterface(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (widget->property(HiddenProperty).toBool())
        return new HiddenAccessible(widget);
    if (widget->property(AlertProperty).toBool())
        return new QAccessibleWidget(widget, QAccessible::AlertMessage);
    // A window's background picture: its words are read from picture texts.
    if (className == QLatin1String("TShapedForm"))
        return new HiddenAccessible(widget);
    // The game's own windows (drawn on a shaped background) are application
    // windows, named by their title.
    if (widget->isWindow() && className == QLatin1String(object->metaObject()->className()) &&
        widget->findChild<TShapedForm *>(QString(), Qt::FindDirectChildrenOnly))
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (className == QLatin1String("TImageButton"))
        return new ImageButtonAccessible(static_cast<TImageButton *>(widget));
    if (className == QLatin1String("TSensitiveLabel"))
        return new LinkAccessible(static_cast<TSensitiveLabel *>(widget));
    if (className == QLatin1String("TShadowLabel")) {
        auto *label = static_cast<TShadowLabel *>(widget);
        return new TextAccessible(label, QAccessible::StaticText,
                                  [label] { return readableCaption(label->text(), label->ShowAccelChar()); });
    }
    if (className == QLatin1String("TPictureText")) {
        auto *words = static_cast<TPictureText *>(widget);
        return new TextAccessible(words, QAccessible::StaticText, [words] { return words->text(); });
    }
    if (className == QLatin1String("TImage")) {
        // A picture of a word reads as a heading; any other picture is a
        // graphic named by its accessible name.
        auto *image = static_cast<TImage *>(widget);
        const bool word = !image->PictureWord().isEmpty();
        return new TextAccessible(image, word ? QAccessible::Heading : QAccessible::Graphic,
                                  [image] { return image->PictureWord(); });
    }
    return nullptr;
}

}  // namespace

void InstallAccessibleInterfaces()
{
    static const bool installed = [] {
        QAccessible::installFactory(createInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

namespace {

// Qt's own widget interfaces may come later than ours and would answer first
// for a plain label; installed again, ours is asked first.
void askOursFirst()
{
    InstallAccessibleInterfaces();
    QAccessible::removeFactory(createInterface);
    QAccessible::installFactory(createInterface);
}

}  // namespace

void HideFromScreenReaders(QWidget *widget)
{
    askOursFirst();
    widget->setProperty(HiddenProperty, true);
}

void ReadAsAlert(QWidget *panel)
{
    askOursFirst();
    panel->setProperty(AlertProperty, true);
}

void ReadInOrder(std::initializer_list<QWidget *> siblings)
{
    for (QWidget *sibling : siblings)
        sibling->raise();
}
