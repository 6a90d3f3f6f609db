// Colour values as the game's layouts write them: 32-bit, red in the low byte; top bit set = a system colour.
#pragma once

#include <QColor>
#include <cstdint>

class QWidget;

// System colours the layouts name (the low byte is the system colour index).
namespace SystemColor {
inline constexpr std::uint32_t ButtonFace = 0x8000000F;
inline constexpr std::uint32_t WindowText = 0x80000008;
inline constexpr std::uint32_t Window = 0x80000005;
inline constexpr std::uint32_t GrayText = 0x80000011;
inline constexpr std::uint32_t ButtonHighlight = 0x80000014;
inline constexpr std::uint32_t ButtonShadow = 0x80000010;
inline constexpr std::uint32_t InfoBackground = 0x80000018;
inline constexpr std::uint32_t InfoText = 0x80000017;
}  // namespace SystemColor

// 11199675 gives red 187, green 228, blue 170. System colours resolve through
// the application palette (button face, window text, grey text, highlight ...);
// an unknown system index gives black.
QColor ColorFromValue(std::uint32_t value);

// A locked window (disabled while another one is up) keeps its look: labels
// are not greyed out, picture buttons keep their pictures; only controls
// switched off themselves show it.
void KeepLookWhenDisabled(QWidget *window);
