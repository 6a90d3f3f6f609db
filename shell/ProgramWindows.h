// The program's six windows: created once at start-up in a fixed order, destroyed at exit.
#pragma once

#include <functional>

class QWidget;

// Creates Form1, FPodglad, FRady, FPrzyklad, FSudoku and F_Wyniki, in this
// order, each completely before the next, sets their global pointers and
// tells each opener the windows it opens (the menu: preview, tips, example and
// game; the example: tips; the game: results).
// `created` (if given) is told about each window right after it exists.
// None of the windows is shown.
void CreateProgramWindows(const std::function<void(QWidget *)> &created = {});

// Destroys the six windows (last created first) and clears the pointers.
void DestroyProgramWindows();
