// The registry on Linux: keys and values kept in the hive file, locking, atomic writes, bad files.
#include "AtomicFile.h"
#include "HiveFile.h"
#include "Registry.h"
#include "RegistryJournal.h"

#include "TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iconv.h>
#include <optional>

namespace fs = std::filesystem;

namespace {

const std::string Key = "Software\\Kalvora\\Sudoku";

#ifdef WINE_RUN
// A Windows program run under Wine in the tests' own prefix, with a Polish
// locale, so that console output comes in code page 852; nothing when it fails.
std::optional<std::string> RunUnderWine(const std::string& arguments)
{
    const std::string command =
        "LC_ALL=pl_PL.UTF-8 '" WINE_RUN "' '" WINE_PREFIX "' " + arguments + " </dev/null 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return std::nullopt;
    std::string output;
    char buffer[4096];
    while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, got);
    if (::pclose(pipe) != 0)
        return std::nullopt;
    std::erase(output, '\r');
    return output;
}

std::string WindowsPath(const fs::path& path)
{
    std::string text = "Z:" + path.string();
    std::replace(text.begin(), text.end(), '/', '\\');
    return "'" + text + "'";
}

std::string FromCodePage852(const std::string& text)
{
    const iconv_t converter = ::iconv_open("UTF-8", "CP852");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return text;
    std::string in = text;
    std::string out(text.size() * 3, '\0');
    char* from = in.data();
    char* to = out.data();
    std::size_t left = in.size();
    std::size_t room = out.size();
    ::iconv(converter, &from, &left, &to, &room);
    ::iconv_close(converter);
    out.resize(out.size() - room);
    return out;
}
#endif

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
                                 "\"ZNulem\"=\"przed\\0po\"\n"
                                 "\"ZNulem16\"=hex(1):41,00,00,00,42,00,00,00\n"
                                 "\"Liczba4\"=hex(4):0a,00,00,00\n"
                                 "\"Liczba2\"=hex(4):0a,00\n"
                                 "\"Dziwny\"=hex(20):00\n"
                                 "niezrozumiały wiersz\n"
                                 "\n"
                                 "[HKEY_CURRENT_USER\\Software\\Inna firma]\n"
                                 "@=\"obca\"\n";
    // As typed by hand, and as regedit exports it; either way it is written back in regedit's form.
    for (const std::string& file : {original, hivefile::Utf16FileBytes(original)}) {
    SCOPED_TRACE(file.substr(0, 2));
    WriteWholeFile(hive, file);
    RegistryAccessor registry(hive);
    ASSERT_TRUE(registry.OpenKey(Key, false));
    EXPECT_EQ(registry.GetDataType("Rozwijany"), RegistryValueType::ExpandString);
    EXPECT_EQ(registry.GetDataType("Bajty"), RegistryValueType::Binary);
    EXPECT_EQ(registry.GetDataType("Wiele"), RegistryValueType::MultiString);
    EXPECT_EQ(registry.GetDataType("Duza"), RegistryValueType::QWord);
    EXPECT_EQ(registry.GetDataType("Dziwny"), RegistryValueType::Other);
    EXPECT_EQ(registry.ReadString("Tekst16"), "Z\xC5\xBC");
    // A hand-edited name with a NUL inside reads as the text before it.
    EXPECT_EQ(registry.ReadString("ZNulem"), "przed");
    EXPECT_EQ(registry.ReadString("ZNulem16"), "A");
    EXPECT_EQ(registry.ReadInteger("Liczba4"), 10);
    EXPECT_EQ(registry.GetDataType("Liczba2"), RegistryValueType::Other); // too short for an integer
    EXPECT_THROW(registry.ReadString("Rozwijany"), RegistryError);

    registry.WriteInteger("Nowa", 7);
    std::string expected = original + "\n";
    expected.insert(expected.find("\n\n[HKEY_CURRENT_USER\\Software\\Inna"), "\n\"Nowa\"=dword:00000007");
    EXPECT_EQ(ReadWholeFile(hive), hivefile::Utf16FileBytes(expected));
    }
}

// A key regedit exported on Windows while a batch was half-written carries its
// journal: it reads finished here too, and the next write leaves the journal out.
TEST_F(Registry, BatchHalfWrittenOnWindowsReadsFinished)
{
    const registryjournal::KeyValues before = {{"IlePoz", {hivefile::TypeDWord, std::string("\1\0\0\0", 4)}}};
    const std::string journal = registryjournal::Encode(registryjournal::Prepare(
        {RegistryValueChange::String("_g1", "Ola"), RegistryValueChange::Integer("IlePoz", 2)},
        [&](const std::string&) { return before; }));
    hivefile::Hive exported;
    hivefile::Value written = {"IlePoz", hivefile::TypeDWord, hivefile::Spelling::DWord, {}, 2};
    hivefile::Value pending = {"Journal", hivefile::TypeBinary, hivefile::Spelling::Hex, journal, 0};
    exported.sections.push_back({"HKEY_CURRENT_USER\\" + Key + "\\Lista", {written, pending}});
    WriteWholeFile(hive, hivefile::Export(exported));
    {
        RegistryAccessor registry(hive);
        ASSERT_TRUE(registry.OpenKey(Key + "\\Lista", false));
        EXPECT_EQ(registry.ReadString("_g1"), "Ola");
        EXPECT_FALSE(registry.ValueExists("Journal"));
    }
    EXPECT_EQ(ReadWholeFile(hive), hivefile::Export(exported)); // reading wrote nothing
    RegistryAccessor registry(hive);
    ASSERT_TRUE(registry.OpenKey(Key + "\\Lista", false));
    registry.WriteInteger("LastTime", 5);
    const std::string text = hivefile::FileText(ReadWholeFile(hive));
    EXPECT_EQ(text.find("Journal"), std::string::npos);
    EXPECT_NE(text.find("\"_g1\"=\"Ola\""), std::string::npos);
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

    // A removed value takes with it an earlier line of its name, kept as text,
    // which would otherwise read as the value once more.
    registry.CloseKey();
    WriteWholeFile(hive, "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\" + Key + "]\n"
                         "\"_g4\"=\"x\"\njunk\n\"_G4\"=\"y\"\n");
    ASSERT_TRUE(registry.OpenKey(Key, false));
    EXPECT_EQ(registry.ReadString("_g4"), "y");
    registry.WriteValues({RegistryValueChange::Remove("_g4")});
    registry.CloseKey();
    RegistryAccessor reader(hive);
    ASSERT_TRUE(reader.OpenKey(Key, false));
    EXPECT_FALSE(reader.ValueExists("_g4"));
    EXPECT_NE(hivefile::FileText(ReadWholeFile(hive)).find("\r\njunk\r\n"), std::string::npos);
}

TEST_F(Registry, FailedWriteReportsTheNameAndKeepsEarlierWrites)
{
    RegistryAccessor registry(hive);
    // No key open: nowhere to write (not the hive's root).
    try {
        registry.WriteInteger("IlePoz", 0);
        FAIL() << "a write without an open key succeeded";
    } catch (const RegistryError& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'IlePoz'");
    }
    ASSERT_TRUE(registry.OpenKey(Key, true));
    registry.WriteInteger("Przed", 1);
    // A folder where the temporary file must go makes the write fail, even for root.
    fs::create_directories(atomicfile::TemporaryPath(hive) / "zajete");
    try {
        registry.WriteString("Po", "x");
        FAIL() << "the write should have failed";
    } catch (const RegistryError& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'Po'");
    }
    EXPECT_FALSE(registry.ValueExists("Po")); // not even in this accessor's view
    EXPECT_THROW(registry.WriteInteger("Przed", 2), RegistryError);
    // A batch is stored whole or not at all; its failure names its first value.
    try {
        registry.WriteValues({RegistryValueChange::Remove("Przed"), RegistryValueChange::String("Po", "x")});
        FAIL() << "the batch should have failed";
    } catch (const RegistryError& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'Przed'");
    }
    EXPECT_EQ(registry.ReadInteger("Przed"), 1);
    registry.CloseKey();
    fs::remove_all(atomicfile::TemporaryPath(hive));

    RegistryAccessor reader(hive);
    ASSERT_TRUE(reader.OpenKey(Key, false));
    EXPECT_EQ(reader.ReadInteger("Przed"), 1);
    EXPECT_FALSE(reader.ValueExists("Po"));
    reader.WriteValues({RegistryValueChange::Remove("Przed"), RegistryValueChange::String("Po", "x"),
                        RegistryValueChange::Integer("Liczba", -3), RegistryValueChange::Remove("Brak")});
    EXPECT_FALSE(reader.ValueExists("Przed"));
    EXPECT_EQ(reader.ReadString("Po"), "x");
    EXPECT_EQ(reader.ReadInteger("Liczba"), -3);
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
    big.resize(9u * 1024u * 1024u, 'x');
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
    EXPECT_FALSE(fs::exists(atomicfile::TemporaryPath(hive)));
}

// A hive written here is imported by regedit on Windows (Wine's here) with every
// letter intact, and a key regedit exports is read here with every value: the
// player carries the list between the two systems with regedit alone.
TEST_F(Registry, TravelsToAndFromWindowsThroughRegedit)
{
#ifndef WINE_RUN
    GTEST_SKIP() << "Wine is not installed";
#else
    const std::string zofia = "Zofia \xC5\x81\xC4\x99" "cka";
    const std::string turtle = "\xC5\xBB\xC3\xB3\xC5\x82w \"\xC4\x86ma\" \\ \xC5\x9A";
    {
        RegistryAccessor registry(hive);
        ASSERT_TRUE(registry.OpenKey(Key, true));
        registry.WriteString("Name", "Sudoku");
        registry.WriteString("Path", "C:\\Gry\\Sudoku\\sudoku.exe");
        ASSERT_TRUE(registry.OpenKey("Lista", true));
        registry.WriteValues({RegistryValueChange::Integer("_t1", 120), RegistryValueChange::Integer("_t2", 754),
                              RegistryValueChange::String("_g1", zofia), RegistryValueChange::String("_g2", turtle),
                              RegistryValueChange::Integer("LastTime", 754), RegistryValueChange::Integer("IlePoz", 2),
                              RegistryValueChange::Integer("Ujemna", -1)});
    }
    RunUnderWine("reg delete 'HKCU\\Software\\Kalvora' /f");
    ASSERT_TRUE(RunUnderWine("regedit /S " + WindowsPath(hive)));

    const auto listed = RunUnderWine("reg query 'HKCU\\Software\\Kalvora\\Sudoku' /s");
    ASSERT_TRUE(listed);
    const std::string query = FromCodePage852(*listed);
    for (const std::string& line : std::vector<std::string>{
             "    Name    REG_SZ    Sudoku\n",
             "    Path    REG_SZ    C:\\Gry\\Sudoku\\sudoku.exe\n",
             "    _g1    REG_SZ    " + zofia + "\n",
             "    _g2    REG_SZ    " + turtle + "\n",
             "    _t1    REG_DWORD    0x78\n",
             "    _t2    REG_DWORD    0x2f2\n",
             "    IlePoz    REG_DWORD    0x2\n",
             "    Ujemna    REG_DWORD    0xffffffff\n",
         })
        EXPECT_NE(query.find(line), std::string::npos) << line << "in:\n" << query;

    // Values that only Windows wrote, then the whole key as regedit exports it.
    ASSERT_TRUE(RunUnderWine("reg add 'HKCU\\Software\\Kalvora\\Sudoku\\Lista' /v _g3 /t REG_SZ /d Lucja /f"));
    ASSERT_TRUE(RunUnderWine("reg add 'HKCU\\Software\\Kalvora\\Sudoku\\Lista' /v _t3 /t REG_DWORD /d 900 /f"));
    ASSERT_TRUE(RunUnderWine("reg add 'HKCU\\Software\\Kalvora\\Sudoku' /v Katalog /t REG_EXPAND_SZ /d '%APPDATA%' /f"));
    const fs::path exported = folder / "eksport.reg";
    ASSERT_TRUE(RunUnderWine("regedit /E " + WindowsPath(exported) + " 'HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku'"));
    ASSERT_EQ(ReadWholeFile(exported).substr(0, 2), "\xFF\xFE"); // UTF-16LE, as regedit writes

    RegistryAccessor registry(exported);
    ASSERT_TRUE(registry.OpenKey(Key, false));
    EXPECT_EQ(registry.ReadString("Name"), "Sudoku");
    EXPECT_EQ(registry.ReadString("Path"), "C:\\Gry\\Sudoku\\sudoku.exe");
    EXPECT_EQ(registry.GetDataType("Katalog"), RegistryValueType::ExpandString);
    ASSERT_TRUE(registry.OpenKey("Lista", false));
    EXPECT_EQ(registry.ReadString("_g1"), zofia);
    EXPECT_EQ(registry.ReadString("_g2"), turtle);
    EXPECT_EQ(registry.ReadString("_g3"), "Lucja");
    EXPECT_EQ(registry.ReadInteger("_t1"), 120);
    EXPECT_EQ(registry.ReadInteger("_t2"), 754);
    EXPECT_EQ(registry.ReadInteger("_t3"), 900);
    EXPECT_EQ(registry.ReadInteger("LastTime"), 754);
    EXPECT_EQ(registry.ReadInteger("IlePoz"), 2);
    EXPECT_EQ(registry.ReadInteger("Ujemna"), -1);
#endif
}
