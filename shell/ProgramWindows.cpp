// The program's six windows: created once at start-up in a fixed order, destroyed at exit.
#include "ProgramWindows.h"

#include "TFPodglad.h"
#include "TFPrzyklad.h"
#include "TFRady.h"
#include "TFSudoku.h"
#include "TF_Wyniki.h"
#include "TForm1.h"

namespace {

template <typename Window>
void create(Window *&pointer, const std::function<void(QWidget *)> &created)
{
    pointer = new Window;
    if (created)
        created(pointer);
}

template <typename Window>
void destroy(Window *&pointer)
{
    delete pointer;
    pointer = nullptr;
}

}  // namespace

void CreateProgramWindows(const std::function<void(QWidget *)> &created)
{
    create(Form1, created);
    create(FPodglad, created);
    create(FRady, created);
    create(FPrzyklad, created);
    create(FSudoku, created);
    create(F_Wyniki, created);

    // Who opens whom; each opened window unlocks its opener when it closes.
    Form1->setWindows(FPodglad, FRady, FPrzyklad, FSudoku);
    FPrzyklad->setTipsWindow(FRady);
    FSudoku->setResultsWindow(F_Wyniki);
}

void DestroyProgramWindows()
{
    destroy(F_Wyniki);
    destroy(FSudoku);
    destroy(FPrzyklad);
    destroy(FRady);
    destroy(FPodglad);
    destroy(Form1);
}
