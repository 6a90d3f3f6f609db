// The game's modal dialogs with Polish buttons.
#include "StandardDialogs.h"

#include "BundledFonts.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// The game breaks lines in its messages with a lone carriage return.
QString withLineFeeds(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

void centreOnScreen(QWidget *dialog, QWidget *parent)
{
    QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    dialog->adjustSize();
    QRect frame = dialog->frameGeometry();
    frame.moveCenter(screen->geometry().center());
    dialog->move(frame.topLeft());
}

// The name prompt speaks in the game's default control font (the bundled
// stand-in for MS Sans Serif at 8 points), whatever the system's dialog font:
// under Wine that one falls back to a font in which the name field stayed
// blank. The message boxes keep the system's own message font and look.
void useGameFont(QWidget *dialog)
{
    QFont font(BundledFamily(QStringLiteral("MS Sans Serif")));
    font.setPixelSize(11);
    dialog->setFont(font);
}

// Runs the dialog to its answer; the window it was asked over then has the
// keys again, also where no window manager hands them back.
int answerOf(QDialog &dialog, QWidget *parent)
{
    const int answer = dialog.exec();
    if (parent && parent->window()->isVisible())
        parent->window()->activateWindow();
    return answer;
}

}  // namespace

bool AskYesNo(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Information, title, withLineFeeds(text), QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(QStringLiteral("Tak"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("Nie"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    answerOf(box, parent);
    return box.clickedButton() == yes;
}

QString AskText(QWidget *parent, const QString &caption, const QString &prompt,
                const QString &initial, int maxLength, bool *accepted)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("AskTextDialog"));
    dialog.setWindowTitle(caption);
    dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    useGameFont(&dialog);

    auto *layout = new QVBoxLayout(&dialog);
    auto *label = new QLabel(withLineFeeds(prompt), &dialog);
    auto *edit = new QLineEdit(&dialog);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    edit->setText(initial);
    edit->setMinimumWidth(240);
    label->setBuddy(edit);
    auto *buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Anuluj"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(edit);
    layout->addWidget(buttons);

    centreOnScreen(&dialog, parent);
    edit->setFocus();
    edit->selectAll();

    const bool ok = answerOf(dialog, parent) == QDialog::Accepted;
    if (accepted)
        *accepted = ok;
    return ok ? edit->text() : initial;
}

void ShowError(QWidget *parent, const QString &message)
{
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), withLineFeeds(message),
                    QMessageBox::NoButton, parent);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    answerOf(box, parent);
}
