// Counting sudoku completions by bitmask backtracking, most constrained cell first.
#include "Solver.h"

#include <bit>

namespace {

constexpr std::uint16_t AllDigits = 0x1FF; // bit d-1 stands for digit d

constexpr int BoxOf(int cell)
{
    return (cell / 27) * 3 + (cell % 9) / 3;
}

// The search state: digits still free in every row, column and box.
struct Search
{
    Solver::Cells cells;
    std::array<std::uint16_t, 9> rowFree;
    std::array<std::uint16_t, 9> columnFree;
    std::array<std::uint16_t, 9> boxFree;
    int limit;
    int found = 0;
    std::optional<Solver::Cells> first;

    std::uint16_t Candidates(int cell) const
    {
        return rowFree[cell / 9] & columnFree[cell % 9] & boxFree[BoxOf(cell)];
    }

    void Set(int cell, int digit)
    {
        const std::uint16_t bit = std::uint16_t(1u << (digit - 1));
        cells[cell] = static_cast<std::uint8_t>(digit);
        rowFree[cell / 9] &= std::uint16_t(~bit);
        columnFree[cell % 9] &= std::uint16_t(~bit);
        boxFree[BoxOf(cell)] &= std::uint16_t(~bit);
    }

    void Unset(int cell, int digit)
    {
        const std::uint16_t bit = std::uint16_t(1u << (digit - 1));
        cells[cell] = 0;
        rowFree[cell / 9] |= bit;
        columnFree[cell % 9] |= bit;
        boxFree[BoxOf(cell)] |= bit;
    }

    void Run()
    {
        int best = -1;
        int bestCount = 10;
        std::uint16_t bestCandidates = 0;
        for (int cell = 0; cell < 81; ++cell) {
            if (cells[cell] != 0)
                continue;
            const std::uint16_t candidates = Candidates(cell);
            const int count = std::popcount(candidates);
            if (count < bestCount) {
                best = cell;
                bestCount = count;
                bestCandidates = candidates;
                if (count <= 1)
                    break;
            }
        }
        if (best < 0) {
            if (found++ == 0)
                first = cells;
            return;
        }
        for (std::uint16_t rest = bestCandidates; rest != 0 && found < limit; rest &= std::uint16_t(rest - 1)) {
            const int digit = std::countr_zero(rest) + 1;
            Set(best, digit);
            Run();
            Unset(best, digit);
        }
    }
};

} // namespace

Solver::Solver(const Cells& givens)
{
    m_rows.fill(AllDigits);
    m_columns.fill(AllDigits);
    m_boxes.fill(AllDigits);
    for (int cell = 0; cell < 81; ++cell) {
        if (givens[cell] > 9)
            m_consistent = false;
        else if (givens[cell] != 0)
            Place(cell, givens[cell]);
    }
}

Solver::Solver(const Board::Snapshot& givens)
    : Solver([&givens] {
        Cells cells{};
        for (int row = 0; row < 9; ++row)
            for (int column = 0; column < 9; ++column) {
                const int value = givens[row][column];
                cells[row * 9 + column] = static_cast<std::uint8_t>(value >= 0 && value <= 9 ? value : 10);
            }
        return cells;
    }())
{
}

Solver Solver::FromText(std::string_view text)
{
    Cells cells{};
    bool readable = text.size() == 81;
    for (std::size_t i = 0; readable && i < 81; ++i) {
        const char c = text[i];
        if (c == '.')
            cells[i] = 0;
        else if (c >= '0' && c <= '9')
            cells[i] = static_cast<std::uint8_t>(c - '0');
        else
            readable = false;
    }
    Solver solver(cells);
    solver.m_consistent = solver.m_consistent && readable;
    return solver;
}

void Solver::Place(int cell, int digit)
{
    const std::uint16_t bit = std::uint16_t(1u << (digit - 1));
    const int box = BoxOf(cell);
    if (!(m_rows[cell / 9] & bit) || !(m_columns[cell % 9] & bit) || !(m_boxes[box] & bit))
        m_consistent = false;
    m_cells[cell] = static_cast<std::uint8_t>(digit);
    m_rows[cell / 9] &= std::uint16_t(~bit);
    m_columns[cell % 9] &= std::uint16_t(~bit);
    m_boxes[box] &= std::uint16_t(~bit);
}

int Solver::CountSolutions(int limit) const
{
    if (!m_consistent || limit <= 0)
        return 0;
    Search search{m_cells, m_rows, m_columns, m_boxes, limit, 0, std::nullopt};
    search.Run();
    return search.found < limit ? search.found : limit;
}

std::optional<Solver::Cells> Solver::FirstSolution() const
{
    if (!m_consistent)
        return std::nullopt;
    Search search{m_cells, m_rows, m_columns, m_boxes, 1, 0, std::nullopt};
    search.Run();
    return search.first;
}
