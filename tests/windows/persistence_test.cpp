// Run twice, with the wineserver restarted in between: the player's record and
// results must outlive the registry server, which a volatile key would not.
#include "Registry.h"
#include "BestResults.h"

#include <gtest/gtest.h>

namespace {
const std::string Name = "Łucja Żółtowska";
}

TEST(Persistence, WritesTheRecordAndAResult)
{
    {
        RegistryAccessor registry;
        registry.DeleteKey("Software\\Kalvora\\Sudoku");
        ASSERT_TRUE(registry.OpenKey("Software\\Kalvora\\Sudoku", true));
        registry.WriteString("Name", "Sudoku");
    }
    BestResults results;
    results.ClearAll();
    ASSERT_TRUE(results.Admits(754));
    results.Add(Name, 754);
}

TEST(Persistence, ReadsThemBackInTheNextRun)
{
    {
        RegistryAccessor registry;
        ASSERT_TRUE(registry.OpenKey("Software\\Kalvora\\Sudoku", false));
        EXPECT_EQ(registry.ReadString("Name"), "Sudoku");
    }
    BestResults results;
    EXPECT_EQ(results.Count(), 1);
    const auto entry = results.Entry(1);
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->name, Name);
    EXPECT_EQ(entry->seconds, 754);

    RegistryAccessor registry;
    EXPECT_TRUE(registry.DeleteKey("Software\\Kalvora\\Sudoku"));
}
