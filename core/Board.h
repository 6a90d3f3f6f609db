// The 81 cells of a sudoku diagram, their fixed/open state and the three rules.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Outcome of checking a diagram against the rules.
enum class VerifyResult { Incomplete, Incorrect, Solved };

// Colour of a fixed cell's digit (red in the lowest byte, then green, then blue:
// a strong blue); an open cell's digit is black, 0.
inline constexpr std::uint32_t GivenColor = 16737792;

// Rows and columns are numbered 1 to 9, row 1 at the top, column 1 at the left.
// No operation fails: a change aimed at a fixed cell is ignored, and so is an
// address outside 1..9 or a value outside the cell's range (an address
// outside reads as an empty, fixed cell).
class Board
{
public:
    static constexpr int Size = 9;

    // The 81 values, [row - 1][column - 1].
    using Snapshot = std::array<std::array<int, Size>, Size>;

    // A new board is the welcome board: every cell empty and fixed.
    Board();

    // Every cell empty and open.
    void Clear();
    // The cell takes a digit 1..9 and becomes fixed.
    void SetGiven(int row, int column, int value);

    int Value(int row, int column) const;
    bool IsFixed(int row, int column) const;

    // Player's changes; each leaves a fixed cell as it is.
    void SetValue(int row, int column, int value); // 0..9
    void StepUp(int row, int column);              // 0 → 1 → … → 9 → 0
    void StepDown(int row, int column);            // 0 → 9 → … → 1 → 0

    // The reset: every open cell empty, givens kept.
    void ClearOpen();
    // After a solved diagram nothing can be changed until the next deal.
    void FixAll();

    Snapshot Values() const;
    VerifyResult Verify() const;
    // Any filling that obeys the rules is accepted; there is no stored solution.
    static VerifyResult Verify(const Snapshot& values);

    // "1".."9", or the blank of exactly four spaces for 0.
    static std::string CellText(int value);
    // A one-character digit reads as that digit; anything else (the blank too) as 0.
    static int TextValue(std::string_view text);

    static bool IsValidAddress(int row, int column);

private:
    struct Cell
    {
        int value = 0;
        bool fixed = true;
    };

    Cell* At(int row, int column);
    const Cell* At(int row, int column) const;

    std::array<Cell, Size * Size> m_cells;
};
