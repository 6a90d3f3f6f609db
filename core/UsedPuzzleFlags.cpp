// The per-run flags of dealt catalogue entries.
#include "UsedPuzzleFlags.h"

#include <algorithm>

bool UsedPuzzleFlags::IsUsed(int index) const
{
    return index >= 0 && index < PuzzleCatalogue::Count && m_flags[index] != 0;
}

void UsedPuzzleFlags::MarkUsed(int index)
{
    if (index >= 0 && index < PuzzleCatalogue::Count)
        m_flags[index] = 1;
}

int UsedPuzzleFlags::UsedCount() const
{
    return static_cast<int>(std::count_if(m_flags.begin(), m_flags.end(), [](std::int32_t flag) { return flag != 0; }));
}

void UsedPuzzleFlags::ClearAll()
{
    m_flags.fill(0);
}
