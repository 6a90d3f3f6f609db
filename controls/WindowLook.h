// The windows' own colours, and the finishing touches every window's layout gets after loading.
#pragma once

#include <QFont>
#include <cstdint>

class QWidget;

// The windows' own colours (red in the low byte); the balloon hint takes the
// colour of the window the player is working in (the game window's is the tips' blue).
namespace WindowColour {
inline constexpr std::uint32_t Menu = 11199675;     // light green
inline constexpr std::uint32_t Preview = 10809855;  // light yellow
inline constexpr std::uint32_t Tips = 16574645;     // light blue
inline constexpr std::uint32_t Example = 12569087;  // light pink
}  // namespace WindowColour

// Layouts give font sizes in points as designed at 96 dots per inch (8, 10 and
// 12 points are 11, 13 and 16 pixels high); the windows are drawn in pixels
// and must not grow on screens with other settings.
QFont PixelFont(QFont font);
// Applies PixelFont to `root` and to every descendant with a font of its own.
void UsePixelFontHeights(QWidget *root);
// Widens or heightens every plain label under `root` whose lines come out
// larger than its laid-out box, keeping the edge its alignment holds. The
// boxes fit the texts as drawn on Linux; Windows hints letters to whole
// pixels, which makes a long line a few pixels wider, and a label never cuts
// its text. A label that already fits keeps its box exactly, and so does one
// whose bundled font is not registered yet (see RegisterStartUpFonts).
void LetLabelsHoldTheirText(QWidget *root);
