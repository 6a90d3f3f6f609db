// The fonts the game carries, and the family names its layouts use mapped onto them.
#pragma once

#include <QStringList>

// Registers every font under ":/fonts/" and maps "Garamond" onto EB Garamond,
// "MS Sans Serif" onto Liberation Sans, "Times New Roman" onto Liberation
// Serif and "Courier New" onto Liberation Mono. Call it right after creating
// the QApplication (in the program and in every window test); calling it again
// does nothing. Returns the families registered (empty if the fonts are missing).
QStringList RegisterBundledFonts();

// The part of the above that must come before the windows are created: the
// family mappings and every font that text is measured in while the windows
// are built, since labels that size themselves to their text keep that size
// (Liberation Sans for the menu and the guides, EB Garamond bold for the game
// window's panels, Liberation Serif bold for the results list). Liberation
// Mono (the game clock, a label of fixed size) and the regular Liberation
// Serif are left out: nothing measures or paints with them until a window
// other than the menu shows, so the program registers them with
// RegisterBundledFonts() once the menu is on the screen. Returns the families
// registered so far.
QStringList RegisterStartUpFonts();
