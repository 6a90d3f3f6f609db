// The fonts the game carries, and the family names its layouts use mapped onto them.
#pragma once

#include <QStringList>

// Registers every font under ":/fonts/" and maps "Garamond" onto EB Garamond,
// "MS Sans Serif" onto Liberation Sans, "Times New Roman" onto Liberation
// Serif and "Courier New" onto Liberation Mono. Call it right after creating
// the QApplication (in the program and in every window test); calling it again
// does nothing. Returns the families registered (empty if the fonts are missing).
QStringList RegisterBundledFonts();
