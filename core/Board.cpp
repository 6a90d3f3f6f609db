// The board's cells and the three rules of sudoku.
#include "Board.h"

Board::Board() = default;

bool Board::IsValidAddress(int row, int column)
{
    return row >= 1 && row <= Size && column >= 1 && column <= Size;
}

Board::Cell* Board::At(int row, int column)
{
    return IsValidAddress(row, column) ? &m_cells[(row - 1) * Size + (column - 1)] : nullptr;
}

const Board::Cell* Board::At(int row, int column) const
{
    return IsValidAddress(row, column) ? &m_cells[(row - 1) * Size + (column - 1)] : nullptr;
}

void Board::Clear()
{
    for (Cell& cell : m_cells)
        cell = Cell{0, false};
}

void Board::SetGiven(int row, int column, int value)
{
    if (Cell* cell = At(row, column); cell && value >= 1 && value <= 9)
        *cell = Cell{value, true};
}

int Board::Value(int row, int column) const
{
    const Cell* cell = At(row, column);
    return cell ? cell->value : 0;
}

bool Board::IsFixed(int row, int column) const
{
    // Outside the board nothing can be changed, so it reads as fixed.
    const Cell* cell = At(row, column);
    return cell ? cell->fixed : true;
}

void Board::SetValue(int row, int column, int value)
{
    if (Cell* cell = At(row, column); cell && !cell->fixed && value >= 0 && value <= 9)
        cell->value = value;
}

void Board::StepUp(int row, int column)
{
    if (Cell* cell = At(row, column); cell && !cell->fixed)
        cell->value = (cell->value + 1) % 10;
}

void Board::StepDown(int row, int column)
{
    if (Cell* cell = At(row, column); cell && !cell->fixed)
        cell->value = (cell->value + 9) % 10;
}

void Board::ClearOpen()
{
    for (Cell& cell : m_cells)
        if (!cell.fixed)
            cell.value = 0;
}

void Board::FixAll()
{
    for (Cell& cell : m_cells)
        cell.fixed = true;
}

Board::Snapshot Board::Values() const
{
    Snapshot values{};
    for (int row = 0; row < Size; ++row)
        for (int column = 0; column < Size; ++column)
            values[row][column] = m_cells[row * Size + column].value;
    return values;
}

VerifyResult Board::Verify() const
{
    return Verify(Values());
}

VerifyResult Board::Verify(const Snapshot& values)
{
    for (const auto& row : values)
        for (int value : row)
            if (value < 1 || value > 9)
                return VerifyResult::Incomplete;

    // counters[group][digit - 1]: how often the digit occurs in row, column
    // or box number `group`. Every group is checked; none stops the others.
    using Counters = std::array<std::array<int, Size>, Size>;
    auto allOnce = [](const Counters& counters) {
        for (const auto& group : counters)
            for (int count : group)
                if (count != 1)
                    return false;
        return true;
    };

    Counters rows{};
    Counters columns{};
    Counters boxes{};
    for (int row = 0; row < Size; ++row) {
        for (int column = 0; column < Size; ++column) {
            const int digit = values[row][column] - 1;
            ++rows[row][digit];
            ++columns[column][digit];
            ++boxes[(row / 3) * 3 + column / 3][digit];
        }
    }
    const bool rowsHold = allOnce(rows);
    const bool columnsHold = allOnce(columns);
    const bool boxesHold = allOnce(boxes);
    return rowsHold && columnsHold && boxesHold ? VerifyResult::Solved : VerifyResult::Incorrect;
}

std::string Board::CellText(int value)
{
    if (value >= 1 && value <= 9)
        return std::string(1, static_cast<char>('0' + value));
    return "    ";
}

int Board::TextValue(std::string_view text)
{
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '9')
        return text[0] - '0';
    return 0;
}
