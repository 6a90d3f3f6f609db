// Counting completions: none, one, several, and givens that already break a rule.
#include <gtest/gtest.h>

#include <string>

#include "Board.h"
#include "PuzzleCatalogue.h"
#include "Solver.h"

namespace {

struct CountCase
{
    const char* name;
    std::string text;
    int limit;
    int expected;
    bool consistent;
};

const std::string KnownEntry = "054702031610008002200034000508010020009607100040050609000870003800900065170306940";

std::string With(std::string text, int cell, char digit)
{
    text[cell] = digit;
    return text;
}

const CountCase CountCases[] = {
    {"EmptyGridStopsAtTheLimit", std::string(81, '0'), 50, 50, true},
    {"KnownEntryHasOne", KnownEntry, 2, 1, true},
    {"DotsReadAsEmpty", std::string(81, '.'), 3, 3, true},
    {"DigitTwiceInARow", With(std::string(81, '0'), 8, '1').replace(0, 1, "1"), 2, 0, false},
    {"DigitTwiceInAColumn", With(With(std::string(81, '0'), 4, '7'), 76, '7'), 2, 0, false},
    {"DigitTwiceInABox", With(With(std::string(81, '0'), 30, '3'), 50, '3'), 2, 0, false},
    // Consistent givens without any completion: the top-left cell sees 1..8
    // in its row and 9 in its column.
    {"NoCompletion", "012345678" + std::string(9, '0') + "900000000" + std::string(54, '0'), 2, 0, true},
    {"LetterInTheText", With(KnownEntry, 0, 'x'), 2, 0, false},
    {"TextTooShort", KnownEntry.substr(1), 2, 0, false},
    {"LimitOfZero", KnownEntry, 0, 0, true},
};

class SolverCountTest : public testing::TestWithParam<CountCase>
{
};

} // namespace

TEST_P(SolverCountTest, CountsUpToTheLimit)
{
    const Solver solver = Solver::FromText(GetParam().text);
    EXPECT_EQ(solver.IsConsistent(), GetParam().consistent);
    EXPECT_EQ(solver.CountSolutions(GetParam().limit), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Diagrams, SolverCountTest, testing::ValuesIn(CountCases),
                         [](const testing::TestParamInfo<CountCase>& info) { return info.param.name; });

TEST(SolverTest, FirstSolutionObeysTheRulesAndKeepsTheGivens)
{
    for (int index : {0, 1, 224, 230}) {
        const std::string_view text = PuzzleCatalogue::Text(index);
        const auto solution = Solver::FromText(text).FirstSolution();
        ASSERT_TRUE(solution.has_value());
        Board::Snapshot grid{};
        for (int cell = 0; cell < 81; ++cell) {
            grid[cell / 9][cell % 9] = (*solution)[cell];
            if (text[cell] != '0') {
                EXPECT_EQ((*solution)[cell], text[cell] - '0') << "entry " << index << " cell " << cell;
            }
        }
        EXPECT_EQ(Board::Verify(grid), VerifyResult::Solved) << "entry " << index;
        EXPECT_EQ(Solver(*solution).CountSolutions(2), 1);
    }
    EXPECT_FALSE(Solver::FromText(With(std::string(81, '0'), 0, 'x')).FirstSolution().has_value());
}

TEST(SolverTest, ReadsASnapshotLikeTheText)
{
    Board::Snapshot grid{};
    for (int cell = 0; cell < 81; ++cell)
        grid[cell / 9][cell % 9] = KnownEntry[cell] - '0';
    EXPECT_EQ(Solver(grid).CountSolutions(2), 1);
    grid[0][0] = 6; // clashes with the 6 below it in column 1
    EXPECT_FALSE(Solver(grid).IsConsistent());
    grid[0][0] = -1;
    EXPECT_FALSE(Solver(grid).IsConsistent());
}
