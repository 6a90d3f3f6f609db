// The board's operations and the verdict of Verify on full, partial and broken diagrams.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "Board.h"
#include "PuzzleCatalogue.h"
#include "Solver.h"

namespace {

// The unique solution of the first catalogue entry.
Board::Snapshot SolvedGrid()
{
    const auto cells = *Solver::FromText(PuzzleCatalogue::Text(0)).FirstSolution();
    Board::Snapshot grid{};
    for (int cell = 0; cell < 81; ++cell)
        grid[cell / 9][cell % 9] = cells[cell];
    return grid;
}

Board OpenBoardWith(const Board::Snapshot& values)
{
    Board board;
    board.Clear();
    for (int row = 1; row <= 9; ++row)
        for (int column = 1; column <= 9; ++column)
            board.SetValue(row, column, values[row - 1][column - 1]);
    return board;
}

struct VerifyCase
{
    const char* name;
    Board::Snapshot (*make)();
    VerifyResult expected;
};

const VerifyCase VerifyCases[] = {
    {"AllEmpty", [] { return Board::Snapshot{}; }, VerifyResult::Incomplete},
    {"SolvedGrid", SolvedGrid, VerifyResult::Solved},
    {"OneCellEmpty",
     [] {
         Board::Snapshot grid = SolvedGrid();
         grid[8][8] = 0;
         return grid;
     },
     VerifyResult::Incomplete},
    {"OneCellEmptyAndRulesBroken",
     [] {
         // Completeness is checked first: broken rules elsewhere do not matter.
         Board::Snapshot grid{};
         for (auto& row : grid)
             row.fill(5);
         grid[4][4] = 0;
         return grid;
     },
     VerifyResult::Incomplete},
    {"TwiceInARowOnly",
     [] {
         // Two cells of one column inside one box swap: every column and box
         // still holds each digit once, but two rows now repeat a digit.
         Board::Snapshot grid = SolvedGrid();
         std::swap(grid[0][0], grid[1][0]);
         return grid;
     },
     VerifyResult::Incorrect},
    {"TwiceInAColumnOnly",
     [] {
         Board::Snapshot grid = SolvedGrid();
         std::swap(grid[6][7], grid[6][8]);
         return grid;
     },
     VerifyResult::Incorrect},
    {"TwiceInABoxOnly",
     [] {
         // A Latin square: rows and columns in order, boxes not.
         Board::Snapshot grid{};
         for (int row = 0; row < 9; ++row)
             for (int column = 0; column < 9; ++column)
                 grid[row][column] = (row + column) % 9 + 1;
         return grid;
     },
     VerifyResult::Incorrect},
    {"ValueOutOfRange",
     [] {
         Board::Snapshot grid = SolvedGrid();
         grid[3][3] = 10;
         return grid;
     },
     VerifyResult::Incomplete},
};

class VerifyTest : public testing::TestWithParam<VerifyCase>
{
};

} // namespace

TEST_P(VerifyTest, GivesTheExpectedVerdict)
{
    const Board::Snapshot values = GetParam().make();
    EXPECT_EQ(Board::Verify(values), GetParam().expected);
    // The board refuses a value above 9, which leaves that cell empty.
    EXPECT_EQ(OpenBoardWith(values).Verify(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Diagrams, VerifyTest, testing::ValuesIn(VerifyCases),
                         [](const testing::TestParamInfo<VerifyCase>& info) { return info.param.name; });

TEST(BoardTest, AcceptsEveryCompletionOfAPuzzleWithSeveral)
{
    // Empty the four corners of a rectangle whose digits can trade places
    // (a/b over b/a, two rows of one band): the givens admit both fillings.
    const Board::Snapshot solved = SolvedGrid();
    for (int r1 = 0; r1 < 9; ++r1)
        for (int r2 = r1 + 1; r2 < r1 / 3 * 3 + 3; ++r2)
            for (int c1 = 0; c1 < 9; ++c1)
                for (int c2 = c1 + 1; c2 < 9; ++c2) {
                    if (solved[r1][c1] != solved[r2][c2] || solved[r1][c2] != solved[r2][c1])
                        continue;
                    Board board;
                    board.Clear();
                    for (int row = 0; row < 9; ++row)
                        for (int column = 0; column < 9; ++column) {
                            const bool corner = (row == r1 || row == r2) && (column == c1 || column == c2);
                            if (!corner)
                                board.SetGiven(row + 1, column + 1, solved[row][column]);
                        }
                    ASSERT_EQ(Solver(board.Values()).CountSolutions(3), 2);

                    for (bool swapped : {false, true}) {
                        const int a = solved[r1][c1];
                        const int b = solved[r1][c2];
                        board.SetValue(r1 + 1, c1 + 1, swapped ? b : a);
                        board.SetValue(r2 + 1, c2 + 1, swapped ? b : a);
                        board.SetValue(r1 + 1, c2 + 1, swapped ? a : b);
                        board.SetValue(r2 + 1, c1 + 1, swapped ? a : b);
                        EXPECT_EQ(board.Verify(), VerifyResult::Solved) << "swapped " << swapped;
                    }
                    return;
                }
    FAIL() << "no rectangle of trading digits in the grid";
}

TEST(BoardTest, StartsAsTheWelcomeBoardEmptyAndFixed)
{
    const Board board;
    for (int row = 1; row <= 9; ++row)
        for (int column = 1; column <= 9; ++column) {
            EXPECT_EQ(board.Value(row, column), 0);
            EXPECT_TRUE(board.IsFixed(row, column));
        }
}

TEST(BoardTest, StepsThroughTheDigitsAndTheBlankInBothDirections)
{
    Board board;
    board.Clear();
    std::string upwards;
    for (int i = 0; i < 11; ++i) {
        upwards += std::to_string(board.Value(2, 3));
        board.StepUp(2, 3);
    }
    EXPECT_EQ(upwards, "01234567890");

    board.SetValue(2, 3, 0);
    std::string downwards;
    for (int i = 0; i < 11; ++i) {
        downwards += std::to_string(board.Value(2, 3));
        board.StepDown(2, 3);
    }
    EXPECT_EQ(downwards, "09876543210");
}

TEST(BoardTest, NoPlayerChangeReachesAFixedCell)
{
    Board board;
    board.Clear();
    board.SetGiven(5, 5, 7);
    board.SetValue(1, 1, 3);

    board.SetValue(5, 5, 2);
    board.StepUp(5, 5);
    board.StepDown(5, 5);
    board.ClearOpen();
    EXPECT_EQ(board.Value(5, 5), 7);
    EXPECT_TRUE(board.IsFixed(5, 5));
    EXPECT_EQ(board.Value(1, 1), 0) << "the reset empties open cells";
    EXPECT_FALSE(board.IsFixed(1, 1));

    board.SetValue(1, 1, 4);
    board.FixAll();
    board.SetValue(1, 1, 9);
    board.StepUp(1, 1);
    board.StepDown(1, 1);
    board.ClearOpen();
    EXPECT_EQ(board.Value(1, 1), 4) << "after FixAll nothing changes";
    EXPECT_TRUE(board.IsFixed(1, 1));
    EXPECT_EQ(board.Value(5, 5), 7);

    board.Clear();
    EXPECT_EQ(board.Value(1, 1), 0) << "until the next deal empties the board";
    EXPECT_FALSE(board.IsFixed(5, 5));
}

TEST(BoardTest, IgnoresAddressesAndValuesOutsideTheBoard)
{
    Board board;
    board.Clear();
    const Board::Snapshot before = board.Values();
    for (auto [row, column] : {std::pair{0, 1}, {1, 0}, {10, 5}, {5, 10}, {-1, -1}}) {
        board.SetGiven(row, column, 5);
        board.SetValue(row, column, 5);
        board.StepUp(row, column);
        board.StepDown(row, column);
        EXPECT_EQ(board.Value(row, column), 0);
    }
    board.SetGiven(3, 3, 0);
    board.SetGiven(3, 4, 10);
    board.SetValue(3, 5, -1);
    board.SetValue(3, 6, 10);
    EXPECT_EQ(board.Values(), before);
    EXPECT_FALSE(board.IsFixed(3, 3));
}

TEST(BoardTest, CellTextAndTextValueRoundTrip)
{
    EXPECT_EQ(Board::CellText(0), "    ");
    for (int value = 1; value <= 9; ++value) {
        EXPECT_EQ(Board::CellText(value), std::string(1, char('0' + value)));
        EXPECT_EQ(Board::TextValue(Board::CellText(value)), value);
    }
    EXPECT_EQ(Board::CellText(10), "    ");
    EXPECT_EQ(Board::CellText(-3), "    ");

    for (const char* text : {"    ", "", " ", "12", "5 ", " 5", "x", "0"})
        EXPECT_EQ(Board::TextValue(text), 0) << '"' << text << '"';
}
