// The program's six windows: created once at start-up in a fixed order, destroyed at exit.
#include "ProgramWindows.h"

#include "TFSudoku.h"
#include "TF_Wyniki.h"
#include "TFPodglad.h"
#include "TFPrzyklad.h"
#include "TFRady.h"
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

    QObject::connect(FSudoku, &TFSudoku::FormClosed, Form1, &TForm1::UnlockMenu);
    QObject::connect(F_Wyniki, &TF_Wyniki::FormClosed, FSudoku, [] { FSudoku->setEnabled(true); });
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
