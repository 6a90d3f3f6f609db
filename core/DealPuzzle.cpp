// Dealing a catalogue entry not yet dealt in this run onto the board.
#include "DealPuzzle.h"

#include "Board.h"
#include "PuzzleCatalogue.h"
#include "UsedPuzzleFlags.h"

DealRandom::DealRandom(std::uint32_t seed)
    : m_engine(seed)
{
}

int DealRandom::Below(int bound)
{
    // Rejection keeps every value equally likely; the standard distributions
    // are not guaranteed to give the same sequence on every platform.
    if (bound <= 1)
        return 0;
    const std::uint32_t range = static_cast<std::uint32_t>(bound);
    const std::uint32_t limit = std::uint32_t(0) - (std::uint32_t(0) - range) % range; // a multiple of range, mod 2^32
    for (;;) {
        const std::uint32_t value = static_cast<std::uint32_t>(m_engine());
        if (limit == 0 || value < limit)
            return static_cast<int>(value % range);
    }
}

std::uint32_t MillisecondsSinceMidnightUtc(std::chrono::system_clock::time_point now)
{
    using namespace std::chrono;
    const auto sinceEpoch = duration_cast<milliseconds>(now.time_since_epoch());
    // floor, so that a time before 1970 still lands within its own day
    const auto sinceMidnight = sinceEpoch - floor<days>(sinceEpoch);
    return static_cast<std::uint32_t>(sinceMidnight.count());
}

int DealPuzzle(Board& board, UsedPuzzleFlags& flags, std::uint32_t millisecondsSinceMidnightUtc)
{
    // With every entry dealt there would be nothing left to draw.
    if (flags.AllUsed())
        flags.ClearAll();

    DealRandom random(millisecondsSinceMidnightUtc);
    int index = random.Below(PuzzleCatalogue::Count);
    while (flags.IsUsed(index))
        index = random.Below(PuzzleCatalogue::Count);
    flags.MarkUsed(index);

    board.Clear();
    for (const Given& given : PuzzleCatalogue::Entry(index))
        board.SetGiven(given.row, given.column, given.digit);
    return index;
}
