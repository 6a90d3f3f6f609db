// Checks over the whole puzzle catalogue: sizes, symmetry, rules, unique solutions.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>

#include "PuzzleCatalogue.h"
#include "Solver.h"

namespace {

bool IsHalfTurnSymmetric(std::string_view text)
{
    for (int cell = 0; cell < 81; ++cell)
        if ((text[cell] != '0') != (text[80 - cell] != '0'))
            return false;
    return true;
}

} // namespace

TEST(CatalogueTest, HoldsTheIntendedSpreadOfGivensAndSymmetry)
{
    ASSERT_EQ(PuzzleCatalogue::Count, 231);
    std::map<int, int> sizes;
    int symmetric = 0;
    long givens = 0;
    for (int index = 0; index < PuzzleCatalogue::Count; ++index) {
        const std::string_view text = PuzzleCatalogue::Text(index);
        ASSERT_EQ(text.size(), 81u) << index;
        const int count = static_cast<int>(PuzzleCatalogue::Entry(index).size());
        ++sizes[count];
        givens += count;
        symmetric += IsHalfTurnSymmetric(text);
    }
    const std::map<int, int> expected = {
        {20, 2}, {21, 2}, {22, 1}, {23, 1}, {24, 15}, {25, 15}, {26, 30}, {27, 22},
        {28, 75}, {29, 8}, {30, 11}, {31, 1}, {32, 46}, {34, 1}, {38, 1},
    };
    EXPECT_EQ(sizes, expected);
    EXPECT_EQ(symmetric, 222);
    EXPECT_EQ((givens + PuzzleCatalogue::Count / 2) / PuzzleCatalogue::Count, 28) << "28 givens on average";
}

TEST(CatalogueTest, EveryEntryObeysTheRulesAndHasExactlyOneSolution)
{
    for (int index = 0; index < PuzzleCatalogue::Count; ++index) {
        const Solver solver = Solver::FromText(PuzzleCatalogue::Text(index));
        EXPECT_TRUE(solver.IsConsistent()) << "entry " << index;
        EXPECT_EQ(solver.CountSolutions(2), 1) << "entry " << index;
    }
}

TEST(CatalogueTest, NoTwoEntriesAreAlike)
{
    std::set<std::string_view> seen;
    for (int index = 0; index < PuzzleCatalogue::Count; ++index)
        EXPECT_TRUE(seen.insert(PuzzleCatalogue::Text(index)).second) << "entry " << index << " repeats an earlier one";
}

TEST(CatalogueTest, KeepsTheFourKnownEntriesInTheirPlaces)
{
    const std::map<int, std::string> known = {
        {0, "054702031610008002200034000508010020009607100040050609000870003800900065170306940"},
        {1, "200709400080060050307004108100408002020000040400502001702800609050090020009103005"},
        {224, "000300000006008900010020070700000030005000800020000007030070010009800500000006000"},
        {230, "000000600000169000005000209040900030030000050020008070607000500000852000008000000"},
    };
    for (const auto& [index, text] : known)
        EXPECT_EQ(PuzzleCatalogue::Text(index), text) << "entry " << index;
}

TEST(CatalogueTest, GivensAreReadRowByRowFromTheText)
{
    // Row 1 of the first entry: . 5 4 7 . 2 . 3 1; row 9 ends 9 4 . (see the entry above).
    const std::vector<Given> givens = PuzzleCatalogue::Entry(0);
    ASSERT_EQ(givens.size(), 38u);
    EXPECT_EQ(givens.front(), (Given{1, 2, 5}));
    EXPECT_EQ(givens[6], (Given{2, 1, 6}));
    EXPECT_EQ(givens.back(), (Given{9, 8, 4}));

    for (int index = 0; index < PuzzleCatalogue::Count; ++index) {
        std::string rebuilt(81, '0');
        for (const Given& given : PuzzleCatalogue::Entry(index)) {
            ASSERT_GE(given.digit, 1);
            ASSERT_LE(given.digit, 9);
            rebuilt[(given.row - 1) * 9 + given.column - 1] = char('0' + given.digit);
        }
        EXPECT_EQ(rebuilt, PuzzleCatalogue::Text(index));
    }
}

TEST(CatalogueTest, RefusesIndicesOutsideTheCatalogue)
{
    for (int index : {-1, PuzzleCatalogue::Count, 1000}) {
        EXPECT_THROW(PuzzleCatalogue::Entry(index), std::out_of_range);
        EXPECT_THROW(PuzzleCatalogue::Text(index), std::out_of_range);
    }
}
