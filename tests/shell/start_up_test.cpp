// The start-up duties: the installation record, the version text of an executable, the About texts.
#include "AtomicFile.h"
#include "HiveFile.h"
#include "Registry.h"
#include "BestResults.h"
#include "AboutTexts.h"
#include "InstallationRecord.h"

#include "OwnHive.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

const std::string Key = "Software\\Kalvora\\Sudoku";

class InstallationRecord : public testing::Test
{
protected:
    OwnHive own;
#ifndef _WIN32
    fs::path hive = own.File();
#endif
    TestFolder folder;
    fs::path executable = folder / "sudoku";

    void SetUp() override { WriteWholeFile(executable, "program"); }

    void Start(const fs::path& program, const std::string& version = "2.0.0.432")
    {
        RegistryAccessor registry;
        EnsureInstallationRecord(registry, program, version, "Sudoku");
        EXPECT_EQ(registry.CurrentPath(), ""); // released in every case
    }

    std::string Text(const std::string& key, const std::string& name)
    {
        RegistryAccessor registry;
        EXPECT_TRUE(registry.OpenKey(key, false));
        return registry.ReadString(name);
    }

    std::int32_t Integer(const std::string& key, const std::string& name)
    {
        RegistryAccessor registry;
        EXPECT_TRUE(registry.OpenKey(key, false));
        return registry.ReadInteger(name);
    }
};

// The record's Path as the game writes it: UTF-8, whatever the system's code page.
std::string Utf8(const fs::path& path)
{
    const auto text = path.u8string();
    return std::string(text.begin(), text.end());
}

#ifndef _WIN32
std::string RunProgram(const std::string& program)
{
    std::string output;
    if (FILE* pipe = ::popen(program.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        ::pclose(pipe);
    }
    return output;
}
#endif

} // namespace

TEST_F(InstallationRecord, FirstStartWritesTheRecordAndAnEmptyList)
{
    Start(executable);
    EXPECT_EQ(Text(Key, "Version"), "2.0.0.432");
    EXPECT_EQ(Text(Key, "Name"), "Sudoku");
    EXPECT_EQ(Text(Key, "Path"), Utf8(executable));
    EXPECT_EQ(Integer(Key + "\\Lista", "LastTime"), 0);
    EXPECT_EQ(Integer(Key + "\\Lista", "IlePoz"), 0);
#ifndef _WIN32 // the order shows only in the hive file
    const std::string text = hivefile::FileText(ReadWholeFile(hive));
    // Written in the order of the record: Version, Name, Path; LastTime, IlePoz.
    EXPECT_LT(text.find("\"Version\""), text.find("\"Name\""));
    EXPECT_LT(text.find("\"Name\""), text.find("\"Path\""));
    EXPECT_LT(text.find("\"LastTime\""), text.find("\"IlePoz\""));
#endif
}

TEST_F(InstallationRecord, SecondStartWritesNothing)
{
    // Also from a folder named with Polish letters, as a player's downloads are.
    for (const fs::path& program : {executable, folder / "Paweł/Pobrane/Gra ąęśćżźńół/sudoku.exe"}) {
    SCOPED_TRACE(Utf8(program));
    fs::create_directories(program.parent_path());
    WriteWholeFile(program, "program");
    Start(program);
    EXPECT_EQ(Text(Key, "Path"), Utf8(program));
    BestResults results;
    results.Add("gracz", 321);
#ifndef _WIN32 // on Windows the keys' last-write times tell (tests/windows)
    struct stat before{};
    ASSERT_EQ(::stat(hive.c_str(), &before), 0);
    const std::string text = ReadWholeFile(hive);
#endif

    Start(program);
    // Another copy of the game in another folder leaves the record as well.
    const fs::path copy = folder / "kopia";
    WriteWholeFile(copy, "program");
    Start(copy, "9.9.9.9");

#ifndef _WIN32
    struct stat after{};
    ASSERT_EQ(::stat(hive.c_str(), &after), 0);
    EXPECT_EQ(ReadWholeFile(hive), text);
    EXPECT_EQ(after.st_ino, before.st_ino); // not even rewritten with the same text
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
#endif
    EXPECT_EQ(results.Entry(1)->seconds, 321);
    EXPECT_EQ(Text(Key, "Path"), Utf8(program)); // found, not taken over by the copy
    EXPECT_EQ(Text(Key, "Version"), "2.0.0.432");
    RegistryAccessor().DeleteKey("Software");
    }
}

TEST_F(InstallationRecord, RecordIsRewrittenWhenPathDoesNotNameAFile)
{
    struct Case
    {
        const char* meaning;
        void (*spoil)(RegistryAccessor&, const fs::path& folder);
    };
    const Case cases[] = {
        {"program deleted", [](RegistryAccessor& r, const fs::path& f) { r.WriteString("Path", Utf8(f / "usuniety")); }},
        {"Path is a folder", [](RegistryAccessor& r, const fs::path& f) { r.WriteString("Path", Utf8(f)); }},
        {"Path empty", [](RegistryAccessor& r, const fs::path&) { r.WriteString("Path", ""); }},
        {"Path is a number", [](RegistryAccessor& r, const fs::path&) { r.WriteInteger("Path", 1); }},
        {"Path missing", [](RegistryAccessor& r, const fs::path&) {
             r.DeleteKey("\\" + Key);
             r.OpenKey("\\" + Key + "\\Lista", true);
             r.WriteString("_g1", "stary");
             r.WriteInteger("_t1", 100);
         }},
    };
    for (const auto& c : cases) {
        Start(executable);
        {
            BestResults results;
            results.Add("stary", 100);
            RegistryAccessor registry;
            ASSERT_TRUE(registry.OpenKey(Key, false));
            registry.WriteString("Version", "1.0.0.0");
            c.spoil(registry, folder.Path());
        }
        {
            // An older game reset the counters on a reinstall and left the entry.
            RegistryAccessor registry;
            ASSERT_TRUE(registry.OpenKey(Key + "\\Lista", false));
            registry.WriteInteger("IlePoz", 0);
        }
        Start(executable);
        EXPECT_EQ(Text(Key, "Path"), Utf8(executable)) << c.meaning;
        EXPECT_EQ(Text(Key, "Version"), "2.0.0.432") << c.meaning;
        // The reinstalled game keeps the player's result, its counters rebuilt from it.
        EXPECT_EQ(Integer(Key + "\\Lista", "IlePoz"), 1) << c.meaning;
        EXPECT_EQ(Integer(Key + "\\Lista", "LastTime"), 100) << c.meaning;
        EXPECT_EQ(BestResults().Entry(1)->name, "stary") << c.meaning;
        BestResults().Add("nowy", 900); // a slow result no longer overwrites place 1
        EXPECT_EQ(BestResults().Entry(1)->name, "stary") << c.meaning;
        EXPECT_EQ(BestResults().Entry(2)->name, "nowy") << c.meaning;
        BestResults().ClearAll();
    }
}

#ifndef _WIN32 // these three edit the hive file or run helpers through a shell; tests/windows has their like
TEST_F(InstallationRecord, ExpandableStringPathIsReplacedByAPlainOne)
{
    fs::create_directories(hive.parent_path());
    WriteWholeFile(hive, "Windows Registry Editor Version 5.00\n\n"
                         "[HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku]\n"
                         "\"Path\"=hex(2):" +
                             [&] {
                                 std::string bytes;
                                 for (unsigned char c : executable.string()) {
                                     char pair[8];
                                     std::snprintf(pair, sizeof pair, "%02x,00,", c);
                                     bytes += pair;
                                 }
                                 return bytes + "00,00";
                             }() +
                             "\n");
    Start(executable);
    RegistryAccessor registry;
    ASSERT_TRUE(registry.OpenKey(Key, false));
    EXPECT_EQ(registry.GetDataType("Path"), RegistryValueType::String);
    EXPECT_EQ(registry.ReadString("Path"), executable.string());
}

TEST_F(InstallationRecord, WriteThatFailsStopsTheRecordAndReleasesTheHive)
{
    WriteWholeFile(folder / "plik", "");
    RegistryAccessor registry(folder / "plik" / "Sudoku.reg");
    try {
        EnsureInstallationRecord(registry, executable, "2.0.0.432", "Sudoku");
        FAIL() << "the write should have failed";
    } catch (const RegistryError& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'Version'");
    }
    EXPECT_EQ(registry.CurrentPath(), "");

    fs::create_directories(atomicfile::TemporaryPath(hive) / "zajete");
    EXPECT_THROW(Start(executable), RegistryError);
    fs::remove_all(atomicfile::TemporaryPath(hive));
    Start(executable); // the hive was released: a later start gets it
    EXPECT_EQ(Text(Key, "Name"), "Sudoku");
}

TEST(VersionText, ComesFromTheExecutableItself)
{
    EXPECT_EQ(RunProgram(PROBE_WITH_VERSION), "2.0.0.432\nSudoku  v. 2.0.0.432\n");
    EXPECT_EQ(RunProgram(PROBE_WITHOUT_VERSION), "0.0.0.0\nSudoku  v. 0.0.0.0\n");
}
#endif

TEST(AboutTexts, VersionLineAndMakersNotice)
{
    EXPECT_EQ(AboutVersionLine("Sudoku", "2.0.0.432"), "Sudoku  v. 2.0.0.432");
    const std::string notice = MakerNoticeLine(2031);
    EXPECT_TRUE(notice.ends_with(" 2006 - 2031")) << notice;
    EXPECT_NE(notice.find("Kalvora"), std::string::npos);
}
