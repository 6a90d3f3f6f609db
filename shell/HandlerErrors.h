// How the program reports an error that escapes one of its windows' handlers.
#pragma once

#include <QApplication>
#include <exception>

// Shows the error's message in the application's error box (captioned with
// the application title) and returns: the program carries on.
void ReportHandlerError(const std::exception &error);

// The game's application object: an error raised inside any event handler
// (a failed registry write, say) is reported as above instead of ending the
// program.
class SudokuApplication : public QApplication
{
    Q_OBJECT

public:
    SudokuApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};
