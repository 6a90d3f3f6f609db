// The 231 stored puzzles that every diagram of the game is dealt from.
#pragma once

#include <string_view>
#include <vector>

// One given of a puzzle: its cell (row and column 1..9) and its digit 1..9.
struct Given
{
    int row = 0;
    int column = 0;
    int digit = 0;

    friend bool operator==(const Given&, const Given&) = default;
};

// Read-only; an entry's index is its only identity. Every entry has between
// 20 and 38 givens, obeys the rules and has exactly one solution.
namespace PuzzleCatalogue {

inline constexpr int Count = 231;

// The givens of an entry, row by row from the top, each row from the left.
// Throws std::out_of_range for an index outside 0..Count-1.
std::vector<Given> Entry(int index);

// The entry as 81 characters, row by row: a digit for a given, '0' for an
// empty cell. Throws std::out_of_range like Entry.
std::string_view Text(int index);

} // namespace PuzzleCatalogue
