// How long the player has been working on the current diagram, counted in timer ticks.
#pragma once

#include <cstdint>
#include <string>

// Counts one second per Tick; it never reads the system time itself, so a
// window that is busy when its timer fires makes the clock lag, not jump.
class GameClock
{
public:
    void Reset();
    void Tick();

    // "00:00:00", "01:00:00", "100:00:00".
    std::string Text() const;
    // The time of a finished diagram; saturates at the largest 32-bit value
    // rather than wrapping after some 68 years of play.
    std::int32_t TotalSeconds() const;

    std::int32_t Hours() const { return m_hours; }
    std::int32_t Minutes() const { return m_minutes; }
    std::int32_t Seconds() const { return m_seconds; }

private:
    std::int32_t m_hours = 0;
    std::int32_t m_minutes = 0;
    std::int32_t m_seconds = 0;
};
