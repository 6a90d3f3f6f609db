// The game's modal dialogs, with Polish buttons: a yes/no question, a text prompt and an error box.
#pragma once

#include <QString>

class QWidget;

// A modal message box with the information icon and the buttons "Tak" and
// "Nie", in the system's own message font and look; true for "Tak". Closing
// the box counts as "Nie".
bool AskYesNo(QWidget *parent, const QString &title, const QString &text);

// A modal text prompt with "OK" and "Anuluj", centred on the screen, in the
// game's 11-pixel control font, the whole initial text selected, at most
// `maxLength` characters (0 or less: no limit).
// Returns the text on "OK"; on "Anuluj" returns `initial` and sets *accepted to false.
QString AskText(QWidget *parent, const QString &caption, const QString &prompt,
                const QString &initial, int maxLength, bool *accepted = nullptr);

// The application's error box: captioned with the application's title
// (QApplication::applicationDisplayName()), the critical icon and "OK", in
// the system's own message font and look.
void ShowError(QWidget *parent, const QString &message);
