// Dealing from the catalogue with injected times of day: no repeats, fresh boards, an even spread.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

#include "Board.h"
#include "DealPuzzle.h"
#include "PuzzleCatalogue.h"
#include "UsedPuzzleFlags.h"

namespace {

// The entry that a run's first deal at 00:00:00.000 gets.
constexpr int FirstDealAtMidnight = 32;

// A day has 86,400,000 milliseconds; step through it like a player dealing now and then.
std::uint32_t TimeOfDeal(int n)
{
    return static_cast<std::uint32_t>((std::uint64_t(n) * 7919 * 1009 + 12345) % 86400000);
}

// The board holds exactly the entry's givens as fixed cells, the rest empty and open.
void ExpectBoardHoldsEntry(const Board& board, int index)
{
    const std::string_view text = PuzzleCatalogue::Text(index);
    int fixed = 0;
    for (int row = 1; row <= 9; ++row)
        for (int column = 1; column <= 9; ++column) {
            const int expected = text[(row - 1) * 9 + column - 1] - '0';
            ASSERT_EQ(board.Value(row, column), expected) << "entry " << index << " cell " << row << column;
            ASSERT_EQ(board.IsFixed(row, column), expected != 0) << "entry " << index << " cell " << row << column;
            fixed += expected != 0;
        }
    ASSERT_EQ(fixed, static_cast<int>(PuzzleCatalogue::Entry(index).size()));
}

// Fills every open cell and fixes the board, as a solved game leaves it.
void PlayToTheEnd(Board& board)
{
    for (int row = 1; row <= 9; ++row)
        for (int column = 1; column <= 9; ++column)
            if (!board.IsFixed(row, column))
                board.SetValue(row, column, (row + column) % 9 + 1);
    board.FixAll();
}

} // namespace

TEST(DealTest, DealsEveryEntryOnceThenStartsAgain)
{
    Board board;
    UsedPuzzleFlags flags;
    std::set<int> dealt;
    for (int n = 0; n < PuzzleCatalogue::Count; ++n) {
        PlayToTheEnd(board);
        const int index = DealPuzzle(board, flags, TimeOfDeal(n));
        ASSERT_GE(index, 0);
        ASSERT_LT(index, PuzzleCatalogue::Count);
        EXPECT_TRUE(dealt.insert(index).second) << "entry " << index << " dealt twice";
        EXPECT_TRUE(flags.IsUsed(index));
        EXPECT_EQ(flags.UsedCount(), n + 1);
        ExpectBoardHoldsEntry(board, index);
    }
    EXPECT_EQ(dealt.size(), 231u);
    EXPECT_TRUE(flags.AllUsed());

    // The 232nd deal: every entry is available again, and the board is fresh.
    PlayToTheEnd(board);
    const int index = DealPuzzle(board, flags, TimeOfDeal(231));
    ExpectBoardHoldsEntry(board, index);
    EXPECT_EQ(flags.UsedCount(), 1);
    EXPECT_TRUE(flags.IsUsed(index));
}

TEST(DealTest, NothingOfThePreviousDiagramSurvives)
{
    // The welcome board, a half-played board and a solved one: after a deal
    // only the new entry's givens are left.
    Board board;
    UsedPuzzleFlags flags;
    ExpectBoardHoldsEntry(board, DealPuzzle(board, flags, 1000));

    for (int row = 1; row <= 9; ++row)
        for (int column = 1; column <= 9; ++column)
            board.StepDown(row, column);
    ExpectBoardHoldsEntry(board, DealPuzzle(board, flags, 2000));

    PlayToTheEnd(board);
    ExpectBoardHoldsEntry(board, DealPuzzle(board, flags, 3000));
}

TEST(DealTest, TheSameTimeOfDayGivesTheSameDeal)
{
    Board first;
    Board second;
    UsedPuzzleFlags firstFlags;
    UsedPuzzleFlags secondFlags;
    for (std::uint32_t time : {0u, 1u, 43200000u, 86399999u}) {
        const int index = DealPuzzle(first, firstFlags, time);
        EXPECT_EQ(DealPuzzle(second, secondFlags, time), index);
        EXPECT_EQ(first.Values(), second.Values());
    }
    // Pinned, so that a change of the draw shows up.
    UsedPuzzleFlags fresh;
    EXPECT_EQ(DealPuzzle(first, fresh, 0), FirstDealAtMidnight);
}

TEST(DealTest, FirstDealSpreadsEvenlyOverTheCatalogue)
{
    // 23,100 first deals at consecutive milliseconds: about 100 per entry.
    // The seeds are fixed, so the outcome never changes from run to run; the
    // bounds sit some five standard deviations out and still catch a skewed
    // or truncated draw.
    std::vector<int> counts(PuzzleCatalogue::Count, 0);
    Board board;
    for (std::uint32_t time = 0; time < 23100; ++time) {
        UsedPuzzleFlags flags;
        ++counts[DealPuzzle(board, flags, 36000000 + time)];
    }
    const auto [least, most] = std::minmax_element(counts.begin(), counts.end());
    EXPECT_GT(*least, 50);
    EXPECT_LT(*most, 150);

    double chiSquare = 0;
    for (int count : counts)
        chiSquare += (count - 100.0) * (count - 100.0) / 100.0;
    EXPECT_LT(chiSquare, 330.0) << "230 degrees of freedom";
}

TEST(DealTest, LaterDealsSpreadEvenlyOverTheRemainingEntries)
{
    // With 200 entries dealt, only the other 31 can come, each about equally often.
    UsedPuzzleFlags used;
    for (int index = 0; index < 200; ++index)
        used.MarkUsed((index * 5) % PuzzleCatalogue::Count);
    ASSERT_EQ(used.UsedCount(), 200);

    std::vector<int> counts(PuzzleCatalogue::Count, 0);
    Board board;
    for (std::uint32_t time = 0; time < 3100; ++time) {
        UsedPuzzleFlags flags = used;
        ++counts[DealPuzzle(board, flags, time * 3)];
    }
    for (int index = 0; index < PuzzleCatalogue::Count; ++index) {
        if (used.IsUsed(index))
            EXPECT_EQ(counts[index], 0) << "entry " << index << " was dealt again";
        else
            EXPECT_TRUE(counts[index] > 50 && counts[index] < 150) << "entry " << index << ": " << counts[index];
    }
}

TEST(DealTest, DrawStaysWithinItsBound)
{
    DealRandom random(42);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        const int value = random.Below(7);
        ASSERT_GE(value, 0);
        ASSERT_LT(value, 7);
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 7u);
    EXPECT_EQ(random.Below(1), 0);
    EXPECT_EQ(random.Below(0), 0);
}

TEST(DealTest, SeedIsTheTimeOfDayInMilliseconds)
{
    using namespace std::chrono;
    const sys_days day = year{2026} / December / 8;
    EXPECT_EQ(MillisecondsSinceMidnightUtc(day), 0u);
    EXPECT_EQ(MillisecondsSinceMidnightUtc(day + hours{1} + minutes{2} + seconds{3} + milliseconds{456}), 3723456u);
    EXPECT_EQ(MillisecondsSinceMidnightUtc(day - milliseconds{1}), 86399999u);
    EXPECT_EQ(MillisecondsSinceMidnightUtc(day + microseconds{999}), 0u) << "whole milliseconds only";
    EXPECT_EQ(MillisecondsSinceMidnightUtc(sys_days{year{1969} / December / 31} + hours{23}), 82800000u);
}

TEST(UsedPuzzleFlagsTest, StartClearAndIgnoreIndicesOutsideTheCatalogue)
{
    UsedPuzzleFlags flags;
    EXPECT_EQ(flags.UsedCount(), 0);
    for (int index : {-1, PuzzleCatalogue::Count, 5000}) {
        flags.MarkUsed(index);
        EXPECT_FALSE(flags.IsUsed(index));
    }
    EXPECT_EQ(flags.UsedCount(), 0);
    flags.MarkUsed(230);
    flags.MarkUsed(230);
    EXPECT_EQ(flags.UsedCount(), 1);
    flags.ClearAll();
    EXPECT_FALSE(flags.IsUsed(230));
}
