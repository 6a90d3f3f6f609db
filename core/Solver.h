// A fast sudoku solver: counts the completions of a diagram up to a limit.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "Board.h"

// Bitmask backtracking that always fills the cell with the fewest candidates
// first. Used to build and check the catalogue; a deal never needs it.
class Solver
{
public:
    // The 81 cells row by row, 0 for an empty cell.
    using Cells = std::array<std::uint8_t, 81>;

    explicit Solver(const Cells& givens);
    explicit Solver(const Board::Snapshot& givens);
    // 81 characters, '0' (or '.') for an empty cell. Anything else that is not
    // a digit makes the diagram inconsistent.
    static Solver FromText(std::string_view text);

    // False when the givens already break a rule (or a value is out of range).
    bool IsConsistent() const { return m_consistent; }

    // Number of completions, counting stops at limit (so 2 tells "more than one").
    int CountSolutions(int limit) const;
    // The first completion found, if there is one.
    std::optional<Cells> FirstSolution() const;

private:
    Solver() = default;
    void Place(int cell, int digit);

    Cells m_cells{};
    std::array<std::uint16_t, 9> m_rows{};
    std::array<std::uint16_t, 9> m_columns{};
    std::array<std::uint16_t, 9> m_boxes{};
    bool m_consistent = true;
};
