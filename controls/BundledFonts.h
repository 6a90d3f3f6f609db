// The fonts the game carries, and the family names its layouts use mapped onto them.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// Registers every font under ":/fonts/" and makes the layouts' families mean
// the bundled fonts: "Garamond" is EB Garamond, "MS Sans Serif" Liberation
// Sans, "Times New Roman" Liberation Serif and "Courier New" Liberation Mono.
// Call it right after creating the QApplication (in the program and in every
// window test); calling it again does nothing. Returns the families
// registered (empty if the fonts are missing).
//
// The layouts' names are never asked of the system: Windows has an "MS Sans
// Serif" bitmap font, Times New Roman and Courier New of its own, and another
// program may have installed a "Garamond". So every widget given a font of a
// layout family is given the bundled family instead, by its own name, as
// soon as that font is registered (widgets made before are given it when it
// is; fonts painted without a widget go through WithBundledFamily), and the
// family names stay mapped as substitutes for anything else.
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

// The bundled family that stands for a layout's family ("Garamond" gives
// "EB Garamond"); any other family is given back as it is.
QString BundledFamily(const QString &family);
// `font`, asking for the bundled family in place of a layout's family (once
// that family is registered).
QFont WithBundledFamily(QFont font);
