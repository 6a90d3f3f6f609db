// The game clock: one second per tick, hours without an upper limit.
#include "GameClock.h"

#include <limits>

#include "TimeText.h"

void GameClock::Reset()
{
    m_hours = 0;
    m_minutes = 0;
    m_seconds = 0;
}

void GameClock::Tick()
{
    // At the very last representable reading the clock stops rather than wrap.
    if (m_hours == std::numeric_limits<std::int32_t>::max() && m_minutes == 59 && m_seconds == 59)
        return;
    ++m_seconds;
    if (m_seconds == 60) {
        ++m_minutes;
        m_seconds = 0;
    }
    if (m_minutes == 60) {
        ++m_hours;
        m_minutes = 0;
    }
}

std::string GameClock::Text() const
{
    return TimeText(m_hours, m_minutes, m_seconds);
}

std::int32_t GameClock::TotalSeconds() const
{
    const std::int64_t total = std::int64_t{m_hours} * 3600 + m_minutes * 60 + m_seconds;
    constexpr std::int64_t largest = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(total < largest ? total : largest);
}
