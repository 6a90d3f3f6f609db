// Entry point of the sudoku game: the application, its six windows and the message loop.
#include "controls/BundledFonts.h"
#include "shell/HandlerErrors.h"
#include "shell/ProgramWindows.h"
#include "shell/TForm1.h"

int main(int argc, char *argv[])
{
    SudokuApplication app(argc, argv);
    RegisterBundledFonts();
    QApplication::setApplicationDisplayName(QStringLiteral("Sudoku"));
    // The menu decides when the program ends, not the last visible window.
    QApplication::setQuitOnLastWindowClosed(false);

    CreateProgramWindows();
    QObject::connect(Form1, &TForm1::FormClosed, &app, &QApplication::quit);
    Form1->show();
    const int result = app.exec();
    DestroyProgramWindows();
    return result;
}
