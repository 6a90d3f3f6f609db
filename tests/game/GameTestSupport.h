// Helpers shared by the game window's tests: answering modal dialogs, finding controls, replaying deals.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "DealPuzzle.h"
#include "PuzzleCatalogue.h"

// Answers the next modal dialog as soon as it is up: `answer` gets the dialog.
// Polls instead of assuming the dialog is already shown when the timer fires.
inline void answerNextDialog(std::function<void(QWidget*)> answer, int attemptsLeft = 500)
{
    QTimer::singleShot(attemptsLeft == 500 ? 0 : 10, qApp, [answer, attemptsLeft] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            answer(dialog);
            return;
        }
        if (attemptsLeft > 0)
            answerNextDialog(answer, attemptsLeft - 1);
    });
}

// The dialog's push button with this text, or null.
inline QAbstractButton* dialogButton(QWidget* dialog, const QString& text)
{
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        if (button->text().remove(QLatin1Char('&')) == text)
            return button;
    return nullptr;
}

inline void clickDialogButton(QWidget* dialog, const QString& text)
{
    QAbstractButton* button = dialogButton(dialog, text);
    if (!button) {
        qWarning("no button \"%s\" in the dialog", qPrintable(text));
        dialog->close();
        return;
    }
    QTest::mouseClick(button, Qt::LeftButton);
}

// All the texts of a dialog's labels, joined by newlines (a message box's text is one of them).
inline QString dialogTexts(QWidget* dialog)
{
    QStringList texts;
    for (QLabel* label : dialog->findChildren<QLabel*>())
        if (!label->text().isEmpty())
            texts << label->text();
    return texts.join(QLatin1Char('\n'));
}

// A time of day whose deal draws `index` first (with no entry dealt yet).
inline std::uint32_t seedDealing(int index)
{
    for (std::uint32_t seed = 0;; ++seed)
        if (DealRandom(seed).Below(PuzzleCatalogue::Count) == index)
            return seed;
}
