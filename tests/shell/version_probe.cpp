// Prints what the About panel would show for this executable; built with and without the version note.
#include "AboutTexts.h"
#include "U_WspolneFunkcje.h"

#include <cstdio>

int main()
{
    std::printf("%s\n%s\n", FileVersionText().c_str(), AboutVersionLine("Sudoku", FileVersionText()).c_str());
    return 0;
}
