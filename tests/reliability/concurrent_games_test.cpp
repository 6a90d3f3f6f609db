// Four copies of the game storing results at once: the list ends with exactly the ten best, none lost or doubled.
#include "TempFolder.h"
#include "Isolated.h"

#include "HiveFile.h"
#include "BestResults.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace fs = std::filesystem;
using namespace reliability;

TEST(ConcurrentGames, FourGamesStoringFallingTimesKeepTheTenBest)
{
    TempFolder temp;
    const fs::path hive = temp.path() / "Sudoku.reg";
    BestResults(hive).Initialise();

    // Falling times dealt round the four games, so that each keeps beating the
    // list while the others rewrite it.
    constexpr int Games = 4;
    constexpr int Results = 48;
    std::vector<pid_t> children;
    for (int game = 0; game < Games; ++game) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                BestResults list(hive);
                for (int i = game; i < Results; i += Games) {
                    const int t = 1000 - i;
                    if (list.Admits(t))
                        list.Add("gracz " + std::to_string(t), t);
                }
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }

    ASSERT_TRUE(hivefile::Parse(ReadAll(hive)));
    BestResults list(hive);
    EXPECT_EQ(list.Count(), BestResults::Capacity);
    std::set<std::string> names;
    for (int n = 1; n <= BestResults::Capacity; ++n) {
        const auto item = list.Entry(n);
        ASSERT_TRUE(item) << "entry " << n;
        const int want = 1000 - (Results - n); // the ten shortest times, ascending
        EXPECT_EQ(item->seconds, want) << "entry " << n;
        EXPECT_EQ(item->name, "gracz " + std::to_string(want));
        names.insert(item->name);
    }
    EXPECT_EQ(names.size(), 10u);
}
