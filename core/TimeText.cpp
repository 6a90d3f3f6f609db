// Writing a time as hours, minutes and seconds.
#include "TimeText.h"

#include <cstdio>

namespace {

std::string TwoDigitsAtLeast(std::int64_t value)
{
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%02lld", static_cast<long long>(value));
    return buffer;
}

} // namespace

std::string TimeText(std::int32_t hours, std::int32_t minutes, std::int32_t seconds)
{
    return TwoDigitsAtLeast(hours) + ":" + TwoDigitsAtLeast(minutes) + ":" + TwoDigitsAtLeast(seconds);
}

std::string TimeText(std::int32_t seconds)
{
    // Widened first: the magnitude of the smallest 32-bit value does not fit.
    const std::int64_t total = seconds;
    const std::int64_t magnitude = total < 0 ? -total : total;
    const std::string text = TwoDigitsAtLeast(magnitude / 3600) + ":" + TwoDigitsAtLeast(magnitude / 60 % 60) + ":"
        + TwoDigitsAtLeast(magnitude % 60);
    return total < 0 ? "-" + text : text;
}
