// What screen readers are told about the game's own controls.
#pragma once

#include <initializer_list>

class QWidget;

// Makes Qt describe the game's controls to assistive technology: a picture
// button is a push button (hint or picture word as its name, a press action
// that clicks it), a link label is a link (its address as its name, a press
// action that opens it), a shadow label is text, a still picture is a heading named
// by the word it shows (or a graphic named by its accessible name), a picture
// text reads the words drawn on a window's picture, and the window's
// background is passed over. Called by the controls themselves; calling it
// again does nothing.
void InstallAccessibleInterfaces();

// For a label whose text another control reads out already (the best
// results read each time with its name): screen readers pass it over.
void HideFromScreenReaders(QWidget *widget);

// A message panel: screen readers announce it, with its texts, when it shows.
void ReadAsAlert(QWidget *panel);

// Screen readers read a window's controls in the order of their parent's
// children. This puts the given siblings last, in the given order; each is
// raised in turn, so a later one also lies above an earlier one.
void ReadInOrder(std::initializer_list<QWidget *> siblings);
