// Huge and damaged hive files written by hand: the game reads what it can, never crashes, and keeps the file.
#include "Isolated.h"
#include "TempFolder.h"

#include "AtomicFile.h"
#include "HiveFile.h"
#include "Registry.h"
#include "BestResults.h"

#include <gtest/gtest.h>

#include <random>

namespace fs = std::filesystem;
using namespace reliability;

namespace {

const std::string ListHeader = "Windows Registry Editor Version 5.00\n\n"
                               "[HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku\\Lista]\n"
                               "\"IlePoz\"=dword:00000002\n"
                               "\"LastTime\"=dword:00000064\n"
                               "\"_g1\"=\"Ala\"\n"
                               "\"_t1\"=dword:00000032\n";
const std::string ListTail = "\"_g2\"=\"Ola\"\n"
                             "\"_t2\"=dword:00000064\n";

std::string Garbage(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string text(size, '\0');
    for (char& c : text)
        c = static_cast<char>(random() % 256);
    return text;
}

void ExpectNothingReadable(const fs::path& hive)
{
    BestResults list(hive);
    EXPECT_EQ(list.Count(), 0);
    for (int n = 1; n <= BestResults::Capacity; ++n)
        EXPECT_FALSE(list.Entry(n)) << n;
    EXPECT_TRUE(list.Admits(10)) << "the list starts afresh; the unreadable file is kept aside";
}

// The first write keeps the unreadable file aside whole and starts a fresh hive.
void ExpectKeptAsideOnFirstWrite(const fs::path& hive, const std::string& original)
{
    BestResults list(hive);
    list.Initialise();
    EXPECT_EQ(fs::file_size(atomicfile::KeptPath(hive, 0)), original.size());
    EXPECT_TRUE(ReadAll(atomicfile::KeptPath(hive, 0)) == original) << "the kept copy differs";
    EXPECT_EQ(list.Count(), 0);
    ASSERT_TRUE(list.Admits(10));
    list.Add("Ala", 10);
    EXPECT_EQ(list.Entry(1).value_or(BestResults::Item{}).name, "Ala");
}

TEST(HugeHive, FiftyMegabytesOfGarbage)
{
    TempFolder temp;
    const fs::path hive = temp.path() / "Sudoku.reg";
    const std::string garbage = Garbage(50u << 20, 1);
    ASSERT_TRUE(WriteFile(hive, garbage));
    ExpectNothingReadable(hive);
    ExpectKeptAsideOnFirstWrite(hive, garbage);
}

TEST(HugeHive, FiftyMegabytesOfGarbageBehindAValidHeader)
{
    TempFolder temp;
    const fs::path hive = temp.path() / "Sudoku.reg";
    const std::string text = ListHeader + Garbage(50u << 20, 2) + "\n" + ListTail;
    ASSERT_TRUE(WriteFile(hive, text));
    ExpectNothingReadable(hive);
    ExpectKeptAsideOnFirstWrite(hive, text);
}

TEST(HugeHive, TenMegabyteLineAmongTheResults)
{
    TempFolder temp;
    const fs::path hive = temp.path() / "Sudoku.reg";
    const std::string text = ListHeader + std::string(10u << 20, 'x') + "\n" + ListTail;
    ASSERT_TRUE(WriteFile(hive, text));
    ExpectNothingReadable(hive);
    ExpectKeptAsideOnFirstWrite(hive, text);
}

TEST(HugeHive, LongJunkLineWithinTheSizeLimitLeavesTheResultsReadable)
{
    TempFolder temp;
    const fs::path hive = temp.path() / "Sudoku.reg";
    const std::string junk(3u << 20, 'x');
    ASSERT_TRUE(WriteFile(hive, ListHeader + junk + "\n" + ListTail));
    BestResults list(hive);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Entry(2).value_or(BestResults::Item{}).name, "Ola");
    ASSERT_TRUE(list.Admits(70));
    list.Add("Ela", 70);
    EXPECT_EQ(list.Entry(2).value_or(BestResults::Item{}).name, "Ela");
    EXPECT_EQ(list.Entry(3).value_or(BestResults::Item{}).name, "Ola");
    // The junk line is written back as it was, and the file (twice as large in
    // UTF-16) is still read.
    EXPECT_NE(hivefile::FileText(ReadAll(hive)).find("\r\n" + junk + "\r\n"), std::string::npos);
    EXPECT_EQ(BestResults(hive).Count(), 3);
}

TEST(HugeHive, NameOfAHundredThousandCharactersWrittenByHand)
{
    TempFolder temp;
    const fs::path hive = temp.path() / "Sudoku.reg";
    std::string name;
    while (name.size() < 100000)
        name += "Żółw ";
    name.resize(100000);
    std::string list = "Windows Registry Editor Version 5.00\n\n"
                       "[HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku\\Lista]\n"
                       "\"IlePoz\"=dword:0000000a\n\"LastTime\"=dword:000003e8\n";
    for (int n = 1; n <= 10; ++n)
        list += "\"_g" + std::to_string(n) + "\"=\"" + (n == 1 ? name : "gracz") + "\"\n\"_t" + std::to_string(n) +
                "\"=dword:" + (n == 10 ? "000003e8" : "00000064") + "\n";
    ASSERT_TRUE(WriteFile(hive, list));

    BestResults results(hive);
    const auto first = results.Entry(1);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->name, name);
    // Sorting the full list carries the long name along unchanged.
    ASSERT_TRUE(results.Admits(5));
    results.Add("Ala", 5);
    EXPECT_EQ(results.Entry(1).value_or(BestResults::Item{}).name, "Ala");
    EXPECT_EQ(results.Entry(2).value_or(BestResults::Item{}).name, name);
    EXPECT_EQ(results.Count(), 10);
}

} // namespace
