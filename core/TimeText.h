// The text of a time in seconds: hours, minutes and seconds of at least two digits.
#pragma once

#include <cstdint>
#include <string>

// 754 → "00:12:34", 360000 → "100:00:00". Hours have no upper limit. A negative
// time (only a hand-edited results list can hold one) keeps its sign in front:
// -5 → "-00:00:05".
std::string TimeText(std::int32_t seconds);

// The same text from its three fields.
std::string TimeText(std::int32_t hours, std::int32_t minutes, std::int32_t seconds);
