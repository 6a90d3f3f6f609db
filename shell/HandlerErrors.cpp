// How the program reports an error that escapes one of its windows' handlers.
#include "HandlerErrors.h"

#include "StandardDialogs.h"

void ReportHandlerError(const std::exception &error)
{
    ShowError(QApplication::activeWindow(), QString::fromUtf8(error.what()));
}

SudokuApplication::SudokuApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool SudokuApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        ReportHandlerError(error);
        return true;
    }
}
