// Dealing a new diagram: an entry not yet dealt in this run, drawn at random.
#pragma once

#include <chrono>
#include <cstdint>
#include <random>

class Board;
class UsedPuzzleFlags;

// The generator is seeded afresh from the time of day passed in (milliseconds
// since midnight UTC), then draws from 0..230 until it meets an entry not yet
// dealt. Once every entry has been dealt, all flags are cleared first, so a
// deal never waits for ever. On return the board holds exactly the entry's
// givens as fixed cells, every other cell empty and open, and the entry is
// marked used. Returns the dealt index.
int DealPuzzle(Board& board, UsedPuzzleFlags& flags, std::uint32_t millisecondsSinceMidnightUtc);

// The seed a deal wants: milliseconds since the last midnight (UTC) of the
// time given, 0..86,399,999. The caller reads the clock.
std::uint32_t MillisecondsSinceMidnightUtc(std::chrono::system_clock::time_point now);

// The draw itself, for tests and tools that replay a deal: a value uniform in
// 0..bound-1 from a 32-bit Mersenne Twister, the same on every platform.
class DealRandom
{
public:
    explicit DealRandom(std::uint32_t seed);
    int Below(int bound);

private:
    std::mt19937 m_engine;
};
