// Shared set-up of the shell's window tests: the game's application object, its fonts and title.
#pragma once

#include "BundledFonts.h"
#include "HandlerErrors.h"

#include <QAccessible>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

// Finds a window's child by the name the layouts give it; fails the test when missing.
template <typename T>
T *Child(const QWidget *window, const char *name)
{
    T *child = window->findChild<T *>(QString::fromLatin1(name));
    if (!child)
        qFatal("%s has no child %s", qPrintable(window->objectName()), name);
    return child;
}

// The names a screen reader reads among a widget's children, in order, and their roles.
inline QList<QPair<QString, QAccessible::Role>> Readable(QWidget *parent)
{
    QList<QPair<QString, QAccessible::Role>> read;
    QAccessibleInterface *parentInterface = QAccessible::queryAccessibleInterface(parent);
    for (int i = 0; i < parentInterface->childCount(); ++i) {
        QAccessibleInterface *child = parentInterface->child(i);
        if (!child->state().invisible)
            read.append({child->text(QAccessible::Name), child->role()});
    }
    return read;
}

// What a modal message box said before the test closed it.
struct SeenBox
{
    QString title;
    QString text;
};

// Closes the next modal message box as soon as it shows and records it.
// Gives up after about five seconds.
inline void AnswerNextBox(SeenBox *seen, int triesLeft = 500)
{
    QTimer::singleShot(10, [seen, triesLeft] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            seen->title = box->windowTitle();
            seen->text = box->text();
            box->accept();
        } else if (triesLeft > 0) {
            AnswerNextBox(seen, triesLeft - 1);
        }
    });
}

#define SHELL_TEST_MAIN(TestClass)                                        \
    int main(int argc, char *argv[])                                      \
    {                                                                     \
        SudokuApplication app(argc, argv);                                \
        RegisterBundledFonts();                                           \
        QApplication::setApplicationDisplayName(QStringLiteral("Sudoku")); \
        QApplication::setQuitOnLastWindowClosed(false);                   \
        TestClass test;                                                   \
        return QTest::qExec(&test, argc, argv);                           \
    }
