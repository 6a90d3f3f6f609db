// Which catalogue entries have been dealt in this run of the game.
#pragma once

#include <array>
#include <cstdint>

#include "PuzzleCatalogue.h"

// All clear when created; nothing of it is saved, so every run of the game
// starts with every entry available. Indices outside the catalogue are
// ignored by MarkUsed and read as not used.
class UsedPuzzleFlags
{
public:
    bool IsUsed(int index) const;
    void MarkUsed(int index);

    int UsedCount() const;
    bool AllUsed() const { return UsedCount() == PuzzleCatalogue::Count; }
    // Makes every entry available again; the deal does this once every
    // entry has been dealt.
    void ClearAll();

private:
    std::array<std::int32_t, PuzzleCatalogue::Count> m_flags{};
};
