// The registry on Linux: keys and values kept in the hive file, locking, atomic writes, bad files.
#include "platform/HiveFile.h"
#include "platform/Registry.h"

#include "TestFolder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

const std::string Key = "Software\\Kalvora\\Sudoku";

class Registry : public testing::Test
{
protected:
    TestFolder folder;
    fs::path hive = folder / "Sudoku.reg";
};

} // namespace

TEST_F(Registry, ValuesComeBackFromTheFileUnchanged)
{
    const std::vector<std::string> texts = {
        "\"w cudzysłowie\"", "C:\\Gry\\Sudoku\\", "dwa\nwiersze\r\n", "Zażółć gęślą jaźń", std::string(255, 'z'),
        "",
    };
    {
        RegistryAccessor registry(hive);
        ASSERT_TRUE(registry.OpenKey(Key, true));
        for (std::size_t i = 0; i < texts.size(); ++i)
            registry.WriteString("Tekst \"" + std::to_string(i) + "\\", texts[i]);
        registry.WriteString(std::string(255, 'N'), "długa nazwa");
        registry.WriteInteger("Ujemna", -5);
        registry.WriteInteger("Duza", 2147483647);
        registry.WriteInteger("Nadpisana", 1);
        registry.WriteInteger("nadpisana", 2); // names ignore letter case, as in the registry
    }
    RegistryAccessor registry(hive);
    ASSERT_TRUE(registry.OpenKey(Key, false));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string name = "Tekst \"" + std::to_string(i) + "\\";
        EXPECT_EQ(registry.GetDataType(name), RegistryValueType::String);
        EXPECT_EQ(registry.ReadString(name), texts[i]);
    }
    EXPECT_EQ(registry.ReadString(std::string(255, 'n')), "długa nazwa");
    EXPECT_EQ(registry.ReadInteger("Ujemna"), -5);
    EXPECT_EQ(registry.ReadInteger("Duza"), 2147483647);
    EXPECT_EQ(registry.ReadInteger("NADPISANA"), 2);
    EXPECT_EQ(registry.GetDataType("Ujemna"), RegistryValueType::DWord);
    EXPECT_FALSE(registry.ValueExists("Brak"));
    EXPECT_EQ(registry.GetDataType("Brak"), RegistryValueType::None);
    EXPECT_THROW(registry.ReadString("Brak"), RegistryError);
    EXPECT_THROW(registry.ReadString("Ujemna"), RegistryError);
    EXPECT_THROW(registry.ReadInteger("Tekst \"0\\"), RegistryError);
}

TEST_F(Registry, HandWrittenValuesOfEveryTypeSurviveAWrite)
{
    const std::string original = "Windows Registry Editor Version 5.00\n"
                                 "; zapisane ręcznie\n"
                                 "\n"
                                 "[HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku]\n"
                                 "\"Rozwijany\"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,00,00\n"
                                 "\"Bajty\"=hex:de,ad,be,ef\n"
                                 "\"Wiele\"=hex(7):61,00,00,00,62,00,00,00,00,00\n"
                                 "\"Duza\"=hex(b):01,02,03,04,05,06,07,08\n"
                                 "\"Tekst16\"=hex(1):5a,00,7c,01,00,00\n"
                                 "\"Liczba4\"=hex(4):0a,00,00,00\n"
                                 "\"Dziwny\"=hex(20):00\n"
                                 "niezrozumiały wiersz\n"
                                 "\n"
                                 "[HKEY_CURRENT_USER\\Software\\Inna firma]\n"
                                 "@=\"obca\"\n";
    WriteWholeFile(hive, original);
    RegistryAccessor registry(hive);
    ASSERT_TRUE(registry.OpenKey(Key, false));
    EXPECT_EQ(registry.GetDataType("Rozwijany"), RegistryValueType::ExpandString);
    EXPECT_EQ(registry.GetDataType("Bajty"), RegistryValueType::Binary);
    EXPECT_EQ(registry.GetDataType("Wiele"), RegistryValueType::MultiString);
    EXPECT_EQ(registry.GetDataType("Duza"), RegistryValueType::QWord);
    EXPECT_EQ(registry.GetDataType("Dziwny"), RegistryValueType::Other);
    EXPECT_EQ(registry.ReadString("Tekst16"), "Z\xC5\xBC");
    EXPECT_EQ(registry.ReadInteger("Liczba4"), 10);
    EXPECT_THROW(registry.ReadString("Rozwijany"), RegistryError);

    registry.WriteInteger("Nowa", 7);
    std::string expected = original;
    expected.insert(expected.find("\n\n[HKEY_CURRENT_USER\\Software\\Inna"), "\n\"Nowa\"=dword:00000007");
    EXPECT_EQ(ReadWholeFile(hive), expected);
}

TEST_F(Registry, KeysOpenRelativeOrFromTheRoot)
{
    RegistryAccessor registry(hive);
    EXPECT_FALSE(registry.OpenKey(Key, false));
    EXPECT_FALSE(fs::exists(hive)); // looking does not create anything
    ASSERT_TRUE(registry.OpenKey(Key, true));
    EXPECT_EQ(registry.CurrentPath(), Key);
    ASSERT_TRUE(registry.OpenKey("Lista", true));
    EXPECT_EQ(registry.CurrentPath(), Key + "\\Lista");
    registry.WriteInteger("IlePoz", 3);
    ASSERT_TRUE(registry.OpenKey("\\Software\\Kalvora", false)); // a parent exists through its child
    EXPECT_EQ(registry.CurrentPath(), "Software\\Kalvora");
    EXPECT_FALSE(registry.OpenKey("Brak", false));
    EXPECT_EQ(registry.CurrentPath(), "Software\\Kalvora"); // a failed open keeps the key
    EXPECT_FALSE(registry.OpenKey("Zla\\\\Nazwa", true));
    EXPECT_FALSE(registry.OpenKey("Nowy\nwiersz", true));
    registry.CloseKey();
    EXPECT_EQ(registry.CurrentPath(), "");
    ASSERT_TRUE(registry.OpenKey("software\\KALVORA\\sudoku\\lista", false));
    EXPECT_EQ(registry.ReadInteger("IlePoz"), 3);
}

TEST_F(Registry, DeletingAKeyTakesItsValuesAndSubkeys)
{
    RegistryAccessor registry(hive);
    ASSERT_TRUE(registry.OpenKey(Key + "\\Lista\\Glebiej", true));
    registry.WriteInteger("a", 1);
    ASSERT_TRUE(registry.OpenKey("\\" + Key + "\\Lista", true));
    registry.WriteInteger("_t1", 5);
    ASSERT_TRUE(registry.OpenKey("\\" + Key + "\\Listak", true)); // a name that merely begins alike
    registry.WriteInteger("b", 2);
    ASSERT_TRUE(registry.OpenKey("\\" + Key, false));
    EXPECT_TRUE(registry.DeleteKey("Lista"));
    EXPECT_FALSE(registry.DeleteKey("Lista"));
    registry.CloseKey();
    EXPECT_FALSE(registry.OpenKey(Key + "\\Lista", false));
    EXPECT_FALSE(registry.OpenKey(Key + "\\Lista\\Glebiej", false));
    ASSERT_TRUE(registry.OpenKey(Key + "\\Listak", false));
    EXPECT_EQ(registry.ReadInteger("b"), 2);
}

TEST_F(Registry, FailedWriteReportsTheNameAndKeepsEarlierWrites)
{
    RegistryAccessor registry(hive);
    ASSERT_TRUE(registry.OpenKey(Key, true));
    registry.WriteInteger("Przed", 1);
    // A folder where the temporary file must go makes the write fail, even for root.
    fs::create_directories(folder / "Sudoku.reg.tmp" / "zajete");
    try {
        registry.WriteString("Po", "x");
        FAIL() << "the write should have failed";
    } catch (const RegistryError& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'Po'");
    }
    EXPECT_FALSE(registry.ValueExists("Po")); // not even in this accessor's view
    EXPECT_THROW(registry.WriteInteger("Przed", 2), RegistryError);
    registry.CloseKey();
    fs::remove_all(folder / "Sudoku.reg.tmp");

    RegistryAccessor reader(hive);
    ASSERT_TRUE(reader.OpenKey(Key, false));
    EXPECT_EQ(reader.ReadInteger("Przed"), 1);
    EXPECT_FALSE(reader.ValueExists("Po"));
}

TEST_F(Registry, HiveInAFolderThatCannotBeMadeFailsOnTheFirstWrite)
{
    WriteWholeFile(folder / "plik", "not a folder");
    RegistryAccessor registry(folder / "plik" / "Kalvora" / "Sudoku.reg");
    EXPECT_FALSE(registry.OpenKey(Key, true));
    EXPECT_FALSE(registry.ValueExists("Path"));
    try {
        registry.WriteString("Version", "2.0.0.432");
        FAIL() << "the write should have failed";
    } catch (const RegistryError& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'Version'");
    }
}

TEST_F(Registry, UnreadableHiveIsKeptAsideBeforeTheFirstWrite)
{
    const std::string garbage = "to nie jest plik rejestru\n\x01\x02\xff\n";
    WriteWholeFile(hive, garbage);
    {
        RegistryAccessor registry(hive);
        EXPECT_FALSE(registry.OpenKey(Key, false));
        EXPECT_FALSE(registry.ValueExists("x"));
    }
    EXPECT_EQ(ReadWholeFile(hive), garbage); // reading leaves it alone
    EXPECT_FALSE(fs::exists(folder / "Sudoku.reg.corrupt"));
    {
        RegistryAccessor registry(hive);
        ASSERT_TRUE(registry.OpenKey(Key, true));
        registry.WriteInteger("x", 1);
    }
    EXPECT_EQ(ReadWholeFile(folder / "Sudoku.reg.corrupt"), garbage);
    EXPECT_FALSE(fs::exists(folder / "Sudoku.reg.corrupt.1")); // one copy, not one per write

    // A second bad file does not replace the first copy.
    WriteWholeFile(hive, "druga zepsuta wersja\n");
    {
        RegistryAccessor registry(hive);
        ASSERT_TRUE(registry.OpenKey(Key, true));
    }
    EXPECT_EQ(ReadWholeFile(folder / "Sudoku.reg.corrupt"), garbage);
    EXPECT_EQ(ReadWholeFile(folder / "Sudoku.reg.corrupt.1"), "druga zepsuta wersja\n");
    EXPECT_TRUE(hivefile::Parse(ReadWholeFile(hive)));
}

TEST_F(Registry, OversizedHiveIsKeptAsideWhole)
{
    std::string big = std::string(hivefile::Header) + "\n";
    big.resize(5u * 1024u * 1024u, 'x');
    WriteWholeFile(hive, big);
    RegistryAccessor registry(hive);
    ASSERT_TRUE(registry.OpenKey(Key, true));
    EXPECT_EQ(fs::file_size(folder / "Sudoku.reg.corrupt"), big.size());
    EXPECT_LT(fs::file_size(hive), 1000u);
}

TEST_F(Registry, DefaultHiveFollowsXdgConfigHome)
{
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string previous = saved ? saved : "";
    ::setenv("XDG_CONFIG_HOME", folder.Path().c_str(), 1);
    {
        RegistryAccessor registry;
        EXPECT_EQ(registry.HivePath(), folder / "Kalvora" / "Sudoku.reg");
        ASSERT_TRUE(registry.OpenKey(Key, true));
        registry.WriteString("Name", "Sudoku");
    }
    EXPECT_TRUE(fs::exists(folder / "Kalvora" / "Sudoku.reg"));
    if (saved)
        ::setenv("XDG_CONFIG_HOME", previous.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

TEST_F(Registry, TwoAccessorsInOneProgramSeeEachOthersWrites)
{
    RegistryAccessor first(hive);
    RegistryAccessor second(hive);
    ASSERT_TRUE(first.OpenKey(Key, true));
    ASSERT_TRUE(second.OpenKey(Key, true)); // must not wait for the first
    first.WriteInteger("a", 1);
    second.WriteInteger("b", 2);
    first.WriteInteger("c", 3);
    RegistryAccessor reader(hive);
    ASSERT_TRUE(reader.OpenKey(Key, false));
    EXPECT_EQ(reader.ReadInteger("a") + reader.ReadInteger("b") + reader.ReadInteger("c"), 6);
}

TEST_F(Registry, TwoProcessesWritingAtOnceLoseNothing)
{
    const pid_t a = SpawnProgram({HIVE_WRITER, hive.string(), "a", "200"});
    const pid_t b = SpawnProgram({HIVE_WRITER, hive.string(), "b", "200"});
    EXPECT_EQ(WaitForProgram(a), 0);
    EXPECT_EQ(WaitForProgram(b), 0);

    ASSERT_TRUE(hivefile::Parse(ReadWholeFile(hive)));
    RegistryAccessor registry(hive);
    ASSERT_TRUE(registry.OpenKey(Key + "\\Test", false));
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(registry.ReadInteger("a" + std::to_string(i)), i);
        EXPECT_EQ(registry.ReadInteger("b" + std::to_string(i)), i);
    }
    EXPECT_FALSE(fs::exists(folder / "Sudoku.reg.corrupt"));
    EXPECT_FALSE(fs::exists(folder / "Sudoku.reg.tmp"));
}
