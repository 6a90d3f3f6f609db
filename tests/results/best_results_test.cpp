// The best-results list in the current user's hive (a file on Linux, the registry on Windows): admission, ranking, all-or-nothing insertion, repair, readings.
#include "AtomicFile.h"
#include "HiveFile.h"
#include "Registry.h"
#include "BestResults.h"

#include "OwnHive.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const std::string ListKey = "Software\\Kalvora\\Sudoku\\Lista";

class Results : public testing::Test
{
protected:
    OwnHive own;
#ifndef _WIN32
    TestFolder folder;
    fs::path hive = own.File();
    void SetUp() override { fs::create_directories(hive.parent_path()); }
#endif
    BestResults results;

    // Writes the list's values directly, as a hand edit or an older program would.
    template <typename Write>
    void Edit(Write write)
    {
        RegistryAccessor registry;
        ASSERT_TRUE(registry.OpenKey(ListKey, true));
        write(registry);
    }

    std::int32_t Integer(const std::string& name)
    {
        RegistryAccessor registry;
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

    // Every value of the list as stored, type and data, for comparing two states exactly.
    std::string Stored()
    {
        RegistryAccessor registry;
        if (!registry.OpenKey(ListKey, false))
            return "no list";
        std::string text;
        std::vector<std::string> names = {"IlePoz", "LastTime"};
        for (int n = 1; n <= 10; ++n) {
            names.push_back("_g" + std::to_string(n));
            names.push_back("_t" + std::to_string(n));
        }
        for (const auto& name : names) {
            text += name + "=";
            switch (registry.GetDataType(name)) {
            case RegistryValueType::None: text += "-"; break;
            case RegistryValueType::String: text += registry.ReadString(name); break;
            case RegistryValueType::DWord: text += std::to_string(registry.ReadInteger(name)); break;
            default: text += "?"; break;
            }
            text += "\n";
        }
        return text;
    }

    void FillWith(const std::vector<std::int32_t>& times)
    {
        results.ClearAll();
        for (std::size_t i = 0; i < times.size(); ++i)
            results.Add("gracz " + std::to_string(i + 1), times[i]);
    }
};

} // namespace

TEST_F(Results, FillingListTakesAnyTimeAtItsPlaceByTime)
{
    results.Initialise();
    EXPECT_EQ(results.Count(), 0);
    const std::vector<std::int32_t> times = {754, 0, 2147483647, 30, 86399, 1, 754, 5000, 12, 99};
    for (std::size_t i = 0; i < times.size(); ++i) {
        EXPECT_TRUE(results.Admits(times[i]));
        results.Add("gracz " + std::to_string(i + 1), times[i]);
        EXPECT_EQ(results.Count(), static_cast<int>(i + 1));
        EXPECT_EQ(Integer("IlePoz"), static_cast<int>(i + 1));
    }
    EXPECT_EQ(Times(), (std::vector<std::int32_t>{0, 1, 12, 30, 99, 754, 754, 5000, 86399, 2147483647}));
    EXPECT_EQ(results.Entry(6)->name, "gracz 1"); // the earlier of two equal times stays ahead
    EXPECT_EQ(results.Entry(7)->name, "gracz 7");
    EXPECT_EQ(Integer("LastTime"), 2147483647);

    // Place 1 is the best time, not the first to come.
    FillWith({900, 120, 600, 60});
    EXPECT_EQ(Times(), (std::vector<std::int32_t>{60, 120, 600, 900, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(Integer("_t1"), 60); // stored so, not only read so
    EXPECT_EQ(Integer("LastTime"), 900);
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
TEST_F(Results, InsertionCompactsValidEntriesAndDropsThePlacesAfterThem)
{
    FillWith({100, 200, 300, 400, 500, 600, 700, 800, 900, 1000});
    Edit([](RegistryAccessor& registry) {
        registry.WriteInteger("_g2", 5);        // a name that is a number
        registry.WriteString("_t5", "500");     // a time that is text
        registry.DeleteKey("Nieistniejacy");    // harmless
    });
    {
        // A name stored as an expandable string does not count either.
        std::string text = hivefile::FileText(ReadWholeFile(hive));
        const std::string from = "\"_g7\"=\"gracz 7\"";
        text.replace(text.find(from), from.size(), "\"_g7\"=hex(2):41,00,00,00");
        WriteWholeFile(hive, text);
    }
    // Seven valid entries are read as a list of seven.
    EXPECT_EQ(Times(), (std::vector<std::int32_t>{100, 300, 400, 600, 800, 900, 1000, -1, -1, -1}));
    EXPECT_EQ(results.Count(), 7);
    EXPECT_TRUE(results.Admits(5000));

    results.Add("nowy", 50);
    // Seven valid old entries and the new one fill places 1-8; nothing is listed twice.
    EXPECT_EQ(Times(), (std::vector<std::int32_t>{50, 100, 300, 400, 600, 800, 900, 1000, -1, -1}));
    EXPECT_EQ(results.Entry(1)->name, "nowy");
    EXPECT_EQ(results.Entry(8)->name, "gracz 10");
    EXPECT_EQ(Integer("LastTime"), 1000);
    EXPECT_EQ(Integer("IlePoz"), 8);
    EXPECT_EQ(results.Count(), 8);
    RegistryAccessor registry;
    ASSERT_TRUE(registry.OpenKey(ListKey, false));
    for (const char* name : {"_g9", "_t9", "_g10", "_t10"})
        EXPECT_FALSE(registry.ValueExists(name)) << name;
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
        RegistryAccessor registry;
        ASSERT_TRUE(registry.OpenKey(ListKey, false));
        EXPECT_FALSE(registry.ValueExists("Obcy")); // the whole key went
    }
    EXPECT_TRUE(results.Admits(99999));
    results.Add("pierwszy", 99999);
    EXPECT_EQ(results.Entry(1)->name, "pierwszy");
    EXPECT_EQ(results.Count(), 1);
}

TEST_F(Results, CountersThatDisagreeWithTheEntriesAreRebuiltFromThem)
{
    struct Case
    {
        const char* meaning;
        void (*edit)(RegistryAccessor&);
    };
    const Case cases[] = {
        {"IlePoz 11", [](RegistryAccessor& r) { r.WriteInteger("IlePoz", 11); }},
        {"IlePoz negative", [](RegistryAccessor& r) { r.WriteInteger("IlePoz", -1); }},
        {"IlePoz as text", [](RegistryAccessor& r) { r.WriteString("IlePoz", "3"); }},
        {"IlePoz 0 after a reinstall", [](RegistryAccessor& r) {
             r.WriteInteger("LastTime", 0);
             r.WriteInteger("IlePoz", 0);
         }},
        {"IlePoz more than the entries", [](RegistryAccessor& r) { r.WriteInteger("IlePoz", 7); }},
        {"LastTime as text", [](RegistryAccessor& r) { r.WriteString("LastTime", "0"); }},
        {"LastTime below the longest time", [](RegistryAccessor& r) { r.WriteInteger("LastTime", 50); }},
        {"both missing", [](RegistryAccessor& r) {
             r.WriteValues({RegistryValueChange::Remove("IlePoz"), RegistryValueChange::Remove("LastTime")});
         }},
    };
    for (const auto& c : cases) {
        FillWith({400, 120, 300});
        Edit(c.edit);
        EXPECT_EQ(results.Count(), 3) << c.meaning;
        EXPECT_TRUE(results.Admits(5000)) << c.meaning;
        EXPECT_EQ(Times(), (std::vector<std::int32_t>{120, 300, 400, -1, -1, -1, -1, -1, -1, -1})) << c.meaning;
        results.Add("gracz", 5000);
        EXPECT_EQ(results.Entry(4)->name, "gracz") << c.meaning; // the slowest, at the end
        EXPECT_EQ(Integer("IlePoz"), 4) << c.meaning;
        EXPECT_EQ(Integer("LastTime"), 5000) << c.meaning;
    }

    // A full list read with a count of 3 is full all the same.
    FillWith({100, 200, 300, 400, 500, 600, 700, 800, 900, 1000});
    Edit([](RegistryAccessor& r) { r.WriteInteger("IlePoz", 3); });
    EXPECT_EQ(results.Count(), 10);
    EXPECT_FALSE(results.Admits(1000));
    results.Add("wolny", 2000); // not admitted, but the counters are mended
    EXPECT_EQ(Integer("IlePoz"), 10);
    EXPECT_EQ(Times().back(), 1000);

    // No list at all: an empty one.
    Edit([](RegistryAccessor& r) { r.DeleteKey("\\Software\\Kalvora\\Sudoku\\Lista"); });
    EXPECT_EQ(results.Count(), 0);
    EXPECT_TRUE(results.Admits(1));
    results.Add("pierwszy", 1);
    EXPECT_EQ(results.Entry(1)->name, "pierwszy");
    EXPECT_EQ(Integer("IlePoz"), 1);
    EXPECT_EQ(Integer("LastTime"), 1);
}

TEST_F(Results, ReadingsRankTheValidEntriesAndWriteNothing)
{
    // Stored in the order they came, as an older game kept a filling list.
    Edit([](RegistryAccessor& registry) {
        registry.WriteValues({RegistryValueChange::String("_g1", "a"), RegistryValueChange::Integer("_t1", 400),
                              RegistryValueChange::String("_g2", "b"), RegistryValueChange::Integer("_t2", 120),
                              RegistryValueChange::String("_g3", "c"), RegistryValueChange::Integer("_t3", 300),
                              RegistryValueChange::String("_g7", "siódmy"), RegistryValueChange::Integer("_t7", 77),
                              RegistryValueChange::Integer("IlePoz", 3), RegistryValueChange::Integer("LastTime", 400)});
    });
    const std::string before = Stored();
    EXPECT_EQ(Times(), (std::vector<std::int32_t>{77, 120, 300, 400, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(results.Entry(1)->name, "siódmy");
    EXPECT_EQ(results.Entry(4)->name, "a");
    EXPECT_EQ(results.Count(), 4);
    EXPECT_FALSE(results.Entry(0));
    EXPECT_FALSE(results.Entry(11));
    EXPECT_TRUE(results.Admits(1));
    EXPECT_EQ(Stored(), before);
}

TEST_F(Results, InitialiseRebuildsTheCountersAndKeepsEveryEntry)
{
    results.Initialise();
    EXPECT_EQ(Integer("IlePoz"), 0);
    EXPECT_EQ(Integer("LastTime"), 0);

    // A reinstall over a list whose counters an older game had reset.
    FillWith({10, 30, 20});
    Edit([](RegistryAccessor& r) {
        r.WriteInteger("LastTime", 0);
        r.WriteInteger("IlePoz", 0);
        r.WriteString("_g3", "trzeci");
        r.WriteInteger("_t3", 15);
        r.WriteString("_g6", "szósty bez czasu");
    });
    results.Initialise();
    EXPECT_EQ(Integer("IlePoz"), 3);
    EXPECT_EQ(Integer("LastTime"), 20);
    EXPECT_EQ(Integer("_t2"), 15); // stored ranked
    EXPECT_EQ(results.Entry(2)->name, "trzeci");
    {
        RegistryAccessor registry;
        ASSERT_TRUE(registry.OpenKey(ListKey, false));
        EXPECT_FALSE(registry.ValueExists("_g6")); // an invalid place is dropped
    }
    const std::string rebuilt = Stored();
    results.Initialise();
    EXPECT_EQ(Stored(), rebuilt);
    results.Add("nowy", 5);
    EXPECT_EQ(Times(), (std::vector<std::int32_t>{5, 10, 15, 20, -1, -1, -1, -1, -1, -1}));
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

    // IlePoz 11 is mended from the three valid entries, 2, 3 and 4.
    EXPECT_TRUE(results.Admits(1));
    EXPECT_EQ(results.Count(), 3);
    EXPECT_EQ(results.Entry(1)->seconds, -10);
    EXPECT_EQ(results.Entry(2)->name, longName);
    EXPECT_EQ(results.Entry(3)->name, "\xff\xfe\xc3");
    for (int n : {4, 5, 6, 7, 8, 9, 10})
        EXPECT_FALSE(results.Entry(n)) << n;
    EXPECT_EQ(ReadWholeFile(hive), text.str()); // reading wrote nothing

    // The installation record rebuilds the list; then a game ends.
    results.Initialise();
    results.Add("nowy", 5);
    const std::string after = ReadWholeFile(hive);
    ASSERT_TRUE(hivefile::Parse(after));
    EXPECT_EQ(after.substr(0, 2), "\xFF\xFE"); // written anew as regedit writes
    EXPECT_FALSE(fs::exists(atomicfile::KeptPath(hive, 0)));
    // Lines that are no value are kept; the invalid places went with the rebuild.
    const std::string afterText = hivefile::FileText(after);
    for (std::size_t i = 19; i < lines.size(); ++i)
        EXPECT_NE(afterText.find(lines[i] + "\r\n"), std::string::npos) << lines[i].substr(0, 40);
    EXPECT_EQ(afterText.find("\"_t5\""), std::string::npos);
    EXPECT_EQ(Times(), (std::vector<std::int32_t>{-10, 5, 32, 48, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(results.Entry(3)->name, longName);
    EXPECT_EQ(results.Entry(4)->name, "\xff\xfe\xc3"); // bytes that are not UTF-8 survive the UTF-16 file
}

#endif

// A result that fails to be stored, whatever place it was going to, leaves the
// list exactly as it was: no name is paired with another player's time.
TEST_F(Results, FailedAddLeavesTheListExactlyAsItWas)
{
    FillWith({100, 200, 300, 400, 500, 600, 700, 800, 900, 1000});
    const std::string before = Stored();
    for (int place = 1; place <= 10; ++place) {
        const std::int32_t t = place * 100 - 50;
#ifdef _WIN32
        // A name the registry cannot hold (not UTF-8) fails before the times
        // from this place on are written.
        const std::string name = "nowy \xff";
        const std::string failure = "Failed to set data for '_g" + std::to_string(place) + "'";
#else
        // A folder where the temporary hive should go: the save fails.
        const std::string name = "nowy";
        const std::string failure = "Failed to set data for '_t" + std::to_string(place) + "'";
        const std::string file = ReadWholeFile(hive);
        fs::create_directories(atomicfile::TemporaryPath(hive) / "zajete");
#endif
        try {
            results.Add(name, t);
            ADD_FAILURE() << "the write should have failed at place " << place;
        } catch (const RegistryError& error) {
            EXPECT_EQ(error.what(), failure);
        }
#ifndef _WIN32
        fs::remove_all(atomicfile::TemporaryPath(hive));
        EXPECT_EQ(ReadWholeFile(hive), file) << place;
#endif
        EXPECT_EQ(Stored(), before) << place;
    }
}

void ExpectFailure(const std::function<void()>& change, const std::string& name)
{
    try {
        change();
        ADD_FAILURE() << "the change raised no error";
    } catch (const RegistryError& error) {
        EXPECT_EQ(error.what(), "Failed to set data for '" + name + "'");
    }
}

// No list, and none can be made: an absent list, which admits nothing; a
// result admitted before the hive failed is not lost in silence.
TEST_F(Results, HiveThatRefusesWritesWithoutAListHasNone)
{
    own.RefuseWrites();
    EXPECT_FALSE(results.Admits(1));
    EXPECT_EQ(results.Count(), 0);
    EXPECT_FALSE(results.Entry(1));
    ExpectFailure([&] { results.Add("gracz", 1); }, "Lista");
    ExpectFailure([&] { results.ClearAll(); }, "Lista");
    EXPECT_THROW(results.Initialise(), RegistryError);
}

// Reading goes on, every change fails and says so, nothing stored is lost.
TEST_F(Results, HiveThatRefusesWritesKeepsTheListAndEveryChangeFailsAloud)
{
    FillWith({100, 200, 300});
    const std::string before = Stored();
    own.RefuseWrites();
    EXPECT_EQ(results.Count(), 3);
    EXPECT_TRUE(results.Admits(50));
    ExpectFailure([&] { results.Add("nowy", 50); }, "_t1");
    ExpectFailure([&] { results.ClearAll(); }, "Lista"); // the key cannot be deleted
    EXPECT_EQ(Stored(), before);
}

#ifndef _WIN32
TEST_F(Results, UnreachableHiveIsAnAbsentList)
{
    WriteWholeFile(folder / "plik", "");
    BestResults nowhere{folder / "plik" / "Sudoku.reg"};
    EXPECT_FALSE(nowhere.Admits(1));
    EXPECT_EQ(nowhere.Count(), 0);
    EXPECT_FALSE(nowhere.Entry(1));
    EXPECT_THROW(nowhere.Add("gracz", 1), RegistryError);
    EXPECT_THROW(nowhere.Initialise(), RegistryError);
    EXPECT_THROW(nowhere.ClearAll(), RegistryError);

    // A list that can no longer be opened after it admitted a result.
    ASSERT_TRUE(results.Admits(1));
    fs::remove(hive);
    fs::create_directories(hive / "zajete");
    try {
        results.Add("gracz", 1);
        ADD_FAILURE() << "the result went nowhere in silence";
    } catch (const RegistryError& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'Lista'");
    }
}
#endif

TEST_F(Results, TwoProcessesAddingAtOnceKeepTheTenBestOfAll)
{
    results.Initialise();
    const pid_t odd = SpawnProgram({RESULTS_ADDER, own.Name(), "1", "200"});
    const pid_t even = SpawnProgram({RESULTS_ADDER, own.Name(), "2", "200"});
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
