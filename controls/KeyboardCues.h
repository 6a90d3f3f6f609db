// Focus cues that show only once the player uses the keyboard in a window, as on Windows.
#pragma once

#include <QEvent>

class QWidget;

// Each window has its own state: cues hidden (as it opens, unless it was
// opened from the keyboard) or shown. A navigation key pressed in the window
// (Tab, Shift+Tab, an arrow, Enter, Space, Escape, Delete, Backspace, Home,
// End, Page Up or Page Down) shows them; a mouse button or wheel used in it
// hides them again, so a player who uses the pointer never sees a focus mark.
// The digits a mouse player types into a hovered cell change nothing.
//
// Controls that draw a focus cue (the picture buttons, the links) look at
// KeyboardCuesShown() and receive KeyboardCuesChange when it changes.
void InstallKeyboardCues();

bool KeyboardCuesShown(const QWidget *widget);
// Sets the state of `widget`'s window and tells every control in it.
void ShowKeyboardCues(QWidget *widget, bool shown);

// Sent to every widget of a window whose cues were shown or hidden.
inline const QEvent::Type KeyboardCuesChange = static_cast<QEvent::Type>(QEvent::registerEventType());
