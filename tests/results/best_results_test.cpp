// The best-results list on a real hive file: admission, appending, the full-list insertion, readings.
#include "platform/HiveFile.h"
#include "platform/Registry.h"
#include "results/BestResults.h"

#include "../platform/TestFolder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace fs = std::filesystem;

namespace {

const std::string ListKey = "Software\\Kalvora\\Sudoku\\Lista";

class Results : public testing::Test
{
protected:
    TestFolder folder;
    fs::path hive = folder / "Sudoku.reg";
    BestResults results{hive};

    // Writes the list's values directly, as a hand edit or an older program would.
    template <typename Write>
    void Edit(Write write)
    {
        RegistryAccessor registry(hive);
        ASSERT_TRUE(registry.OpenKey(ListKey, true));
        write(registry);
    }

    std::int32_t Integer(const std::string& name)
    {
        RegistryAccessor registry(hive);
        EXPECT_TRUE(registry.OpenKey(ListKey, false));
        return registry.ReadInteger(name);
    }

    std::vector<std::int32_t> Times()
    {
        std::vector<std::int32_t> times;
        for (int n = 1; n <= 10; ++n)
            times.push_back(results.Entry(n) ? results.Entry(n)->seconds : -1);
        return times;
    }

    void FillWith(const std::vector<std::int32_t>& times)
    {
        results.Initialise();
        for (std::size_t i = 0; i < times.size(); ++i)
            results.Add("gracz " + std::to_string(i + 1), times[i]);
    }
};

} // namespace

TEST_F(Results, FillingListTakesAnyTimeInArrivalOrder)
{
    results.Initialise();
    EXPECT_EQ(results.Count(), 0);
    const std::vector<std::int32_t> times = {754, 0, 2147483647, 30, 86399, 1, 754, 5000, 12, 99};
    for (std::size_t i = 0; i < times.size(); ++i) {
        EXPECT_TRUE(results.Admits(times[i]));
        results.Add("gracz " + std::to_string(i + 1), times[i]);
        EXPECT_EQ(results.Count(), static_cast<int>(i + 1));
    }
    EXPECT_EQ(Times(), times);
    EXPECT_EQ(results.Entry(3)->name, "gracz 3");
    EXPECT_EQ(Integer("LastTime"), 2147483647);
}

TEST_F(Results, FullListAdmitsOnlyBetterTimesAndSortsOnInsertion)
{
    FillWith({500, 100, 900, 300, 700, 200, 800, 400, 600, 1000});
    EXPECT_EQ(Integer("LastTime"), 1000);
    EXPECT_FALSE(results.Admits(1000)); // a tie with the slowest does not enter
    EXPECT_FALSE(results.Admits(5000));
    EXPECT_TRUE(results.Admits(999));

    results.Add("nowy", 250);
    EXPECT_EQ(Times(), (std::vector<std::int32_t>{100, 200, 250, 300, 400, 500, 600, 700, 800, 900}));
    EXPECT_EQ(results.Entry(3)->name, "nowy");
    EXPECT_EQ(results.Entry(1)->name, "gracz 2");
    EXPECT_EQ(Integer("LastTime"), 900);
    EXPECT_EQ(results.Count(), 10);
}

TEST_F(Results, EqualTimesKeepTheirOrderAndTheNewcomerComesLast)
{
    FillWith({300, 100, 300, 200, 300, 400, 500, 600, 700, 800});
    results.Add("nowy", 300);
    EXPECT_EQ(Times(), (std::vector<std::int32_t>{100, 200, 300, 300, 300, 300, 400, 500, 600, 700}));
    EXPECT_EQ(results.Entry(3)->name, "gracz 1");
    EXPECT_EQ(results.Entry(4)->name, "gracz 3");
    EXPECT_EQ(results.Entry(5)->name, "gracz 5");
    EXPECT_EQ(results.Entry(6)->name, "nowy");
}

TEST_F(Results, TimesOfTenMillionSecondsAndMoreSortByNumber)
{
    // Seven-digit text keys would put 10,000,000 before 9,999,999.
    FillWith({20'000'000, 9'999'999, 10'000'000, 5, 123'456'789, 8, 7, 6, 1'000'000'000, 2'000'000'000});
    results.Add("nowy", 9);
    EXPECT_EQ(Times(), (std::vector<std::int32_t>{5, 6, 7, 8, 9, 9'999'999, 10'000'000, 20'000'000, 123'456'789,
                                                  1'000'000'000}));
    EXPECT_EQ(Integer("LastTime"), 1'000'000'000);
}

#ifndef _WIN32 // edits the hive file; the Windows registry has none
TEST_F(Results, InsertionCompactsValidEntriesAndLeavesThePlacesAfterThem)
{
    FillWith({100, 200, 300, 400, 500, 600, 700, 800, 900, 1000});
    Edit([](RegistryAccessor& registry) {
        registry.WriteInteger("_g2", 5);        // a name that is a number
        registry.WriteString("_t5", "500");     // a time that is text
        registry.DeleteKey("Nieistniejacy");    // harmless
    });
    {
        // A name stored as an expandable string does not count either.
        std::string text = ReadWholeFile(hive);
        const std::string from = "\"_g7\"=\"gracz 7\"";
        text.replace(text.find(from), from.size(), "\"_g7\"=hex(2):41,00,00,00");
        WriteWholeFile(hive, text);
    }
    EXPECT_FALSE(results.Entry(2));
    EXPECT_FALSE(results.Entry(5));
    EXPECT_FALSE(results.Entry(7));

    results.Add("nowy", 50);
    // Seven valid old entries and the new one fill places 1-8; 9 and 10 keep theirs.
    EXPECT_EQ(Times(), (std::vector<std::int32_t>{50, 100, 300, 400, 600, 800, 900, 1000, 900, 1000}));
    EXPECT_EQ(results.Entry(1)->name, "nowy");
    EXPECT_EQ(results.Entry(9)->name, "gracz 9");
    EXPECT_EQ(Integer("LastTime"), 1000);
    EXPECT_EQ(results.Count(), 10);
}
#endif

TEST_F(Results, ClearAllEmptiesTheListAndTheNextResultIsFirst)
{
    FillWith({100, 200, 300, 400, 500, 600, 700, 800, 900, 1000});
    Edit([](RegistryAccessor& registry) { registry.WriteString("Obcy", "x"); });
    results.ClearAll();
    EXPECT_EQ(results.Count(), 0);
    EXPECT_EQ(Integer("LastTime"), 0);
    EXPECT_EQ(Times(), std::vector<std::int32_t>(10, -1));
    {
        RegistryAccessor registry(hive);
        ASSERT_TRUE(registry.OpenKey(ListKey, false));
        EXPECT_FALSE(registry.ValueExists("Obcy")); // the whole key went
    }
    EXPECT_TRUE(results.Admits(99999));
    results.Add("pierwszy", 99999);
    EXPECT_EQ(results.Entry(1)->name, "pierwszy");
    EXPECT_EQ(results.Count(), 1);
}

TEST_F(Results, BrokenCountersAdmitNothingAndAddWritesNothing)
{
    struct Case
    {
        const char* meaning;
        void (*edit)(RegistryAccessor&);
    };
    const Case cases[] = {
        {"no list at all", [](RegistryAccessor& r) { r.DeleteKey("\\Software\\Kalvora\\Sudoku\\Lista"); }},
        {"IlePoz 11", [](RegistryAccessor& r) { r.WriteInteger("IlePoz", 11); }},
        {"IlePoz negative", [](RegistryAccessor& r) { r.WriteInteger("IlePoz", -1); }},
        {"IlePoz as text", [](RegistryAccessor& r) { r.WriteString("IlePoz", "3"); }},
        {"LastTime as text", [](RegistryAccessor& r) { r.WriteString("LastTime", "0"); }},
        {"LastTime missing", [](RegistryAccessor& r) {
             r.DeleteKey("\\Software\\Kalvora\\Sudoku\\Lista");
             r.OpenKey("\\Software\\Kalvora\\Sudoku\\Lista", true);
             r.WriteInteger("IlePoz", 0);
         }},
    };
    for (const auto& c : cases) {
        results.ClearAll();
        Edit(c.edit);
        EXPECT_FALSE(results.Admits(1)) << c.meaning; // opening creates a missing list key, nothing more
        const std::string before = ReadWholeFile(hive);
        results.Add("gracz", 1);
        EXPECT_FALSE(results.Entry(1)) << c.meaning;
        EXPECT_EQ(ReadWholeFile(hive), before) << c.meaning;
    }
}

TEST_F(Results, ResultsWindowReadingsGoByValidityAlone)
{
    results.Initialise();
    results.Add("a", 400);
    results.Add("b", 120);
    results.Add("c", 300);
    EXPECT_EQ(results.Entry(1)->seconds, 400);
    EXPECT_EQ(results.Entry(2)->seconds, 120);
    EXPECT_EQ(results.Entry(3)->seconds, 300);
    EXPECT_FALSE(results.Entry(4));

    Edit([](RegistryAccessor& registry) {
        registry.WriteString("_g7", "siódmy");
        registry.WriteInteger("_t7", 77);
    });
    EXPECT_EQ(results.Count(), 3);
    ASSERT_TRUE(results.Entry(7));
    EXPECT_EQ(results.Entry(7)->name, "siódmy");
    EXPECT_EQ(results.Entry(7)->seconds, 77);
    EXPECT_FALSE(results.Entry(0));
    EXPECT_FALSE(results.Entry(11));
}

TEST_F(Results, InitialiseResetsCountersButKeepsEntries)
{
    FillWith({10, 20, 30});
    results.Initialise();
    EXPECT_EQ(results.Count(), 0);
    EXPECT_EQ(Integer("LastTime"), 0);
    EXPECT_EQ(results.Entry(3)->seconds, 30);
    results.Add("nowy", 5);
    EXPECT_EQ(results.Entry(1)->name, "nowy"); // new results overwrite from place 1
    EXPECT_EQ(results.Entry(2)->seconds, 20);
}

#ifndef _WIN32 // the hive file itself; the Windows registry has none
TEST_F(Results, HandWrittenHiveReadsAsSpecifiedAndLosesNothingWhenWritten)
{
    const std::string longName(100'000, 'L');
    const std::string garbageLine = std::string(300'000, '#');
    const std::vector<std::string> lines = {
        "Windows Registry Editor Version 5.00",
        "",
        "[HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku\\Lista]",
        "\"IlePoz\"=dword:0000000b",
        "\"LastTime\"=dword:00000064",
        "\"_g1\"=dword:00000001",
        "\"_t1\"=dword:00000010",
        "\"_g2\"=\"ujemny\"",
        "\"_t2\"=dword:fffffff6",
        "\"_g3\"=\"" + longName + "\"",
        "\"_t3\"=dword:00000020",
        "\"_g4\"=\"\xff\xfe\xc3\"",
        "\"_t4\"=dword:00000030",
        "\"_g5\"=\"tekst\"",
        "\"_t5\"=\"40\"",
        "\"_g6\"=hex(2):41,00,00,00",
        "\"_t6\"=dword:00000050",
        "\"_g7\"=\"bajty\"",
        "\"_t7\"=hex:01,00,00,00",
        "to nie jest wiersz rejestru",
        garbageLine,
        "\"_g8\"=\"zly zapis",
        "\xc5\xbc\xff\xfe",
    };
    std::ostringstream text;
    for (const auto& line : lines)
        text << line << "\r\n";
    WriteWholeFile(hive, text.str());

    EXPECT_FALSE(results.Admits(1)); // IlePoz 11
    EXPECT_EQ(results.Count(), 11);
    EXPECT_FALSE(results.Entry(1));
    EXPECT_EQ(results.Entry(2)->seconds, -10);
    EXPECT_EQ(results.Entry(3)->name, longName);
    EXPECT_EQ(results.Entry(4)->name, "\xff\xfe\xc3");
    for (int n : {5, 6, 7, 8, 9, 10})
        EXPECT_FALSE(results.Entry(n)) << n;
    EXPECT_EQ(ReadWholeFile(hive), text.str()); // reading wrote nothing

    // The installation record resets the counters; then a game ends.
    results.Initialise();
    results.Add("nowy", 5);
    const std::string after = ReadWholeFile(hive);
    ASSERT_TRUE(hivefile::Parse(after));
    EXPECT_FALSE(fs::exists(folder / "Sudoku.reg.corrupt"));
    for (std::size_t i = 5; i < lines.size(); ++i)
        if (lines[i].rfind("\"_g1\"", 0) != 0 && lines[i].rfind("\"_t1\"", 0) != 0) {
            EXPECT_NE(after.find(lines[i] + "\n"), std::string::npos) << lines[i].substr(0, 40);
        }
    EXPECT_EQ(results.Entry(1)->name, "nowy");
    EXPECT_EQ(results.Entry(2)->seconds, -10);
}

TEST_F(Results, FailedWriteReachesTheCallerAndKeepsTheList)
{
    FillWith({100, 200});
    const std::string before = ReadWholeFile(hive);
    fs::create_directories(folder / "Sudoku.reg.tmp" / "zajete");
    try {
        results.Add("nowy", 50);
        FAIL() << "the write should have failed";
    } catch (const RegistryError& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for '_g3'");
    }
    fs::remove_all(folder / "Sudoku.reg.tmp");
    EXPECT_EQ(ReadWholeFile(hive), before);
    EXPECT_EQ(results.Count(), 2);
}

TEST_F(Results, UnreachableHiveIsAnAbsentList)
{
    WriteWholeFile(folder / "plik", "");
    BestResults nowhere{folder / "plik" / "Sudoku.reg"};
    EXPECT_FALSE(nowhere.Admits(1));
    EXPECT_EQ(nowhere.Count(), 0);
    EXPECT_FALSE(nowhere.Entry(1));
    nowhere.Add("gracz", 1);
    EXPECT_THROW(nowhere.Initialise(), RegistryError);
    EXPECT_THROW(nowhere.ClearAll(), RegistryError);
}
#endif

TEST_F(Results, TwoProcessesAddingAtOnceKeepTheTenBestOfAll)
{
    results.Initialise();
    const pid_t odd = SpawnProgram({RESULTS_ADDER, hive.string(), "1", "200"});
    const pid_t even = SpawnProgram({RESULTS_ADDER, hive.string(), "2", "200"});
    EXPECT_EQ(WaitForProgram(odd), 0);
    EXPECT_EQ(WaitForProgram(even), 0);

#ifndef _WIN32
    ASSERT_TRUE(hivefile::Parse(ReadWholeFile(hive)));
#endif
    EXPECT_EQ(Times(), (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(results.Entry(n)->name, "gracz " + std::to_string(n));
    EXPECT_EQ(results.Count(), 10);
    EXPECT_EQ(Integer("LastTime"), 10);
}
