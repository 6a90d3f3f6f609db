// The installation record on the real registry: what the hive-file tests see in the file, seen here through Windows.
#include "Registry.h"
#include "BestResults.h"
#include "InstallationRecord.h"

#include "OwnHive.h"
#include "TestFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

const std::string Key = "Software\\Kalvora\\Sudoku";

class InstallationRecordWindows : public testing::Test
{
protected:
    OwnHive own;
    TestFolder folder;
    fs::path executable = folder / "sudoku.exe";

    void SetUp() override { WriteWholeFile(executable, "program"); }

    void Start(const fs::path& program, const std::string& version = "2.0.0.432")
    {
        RegistryAccessor registry;
        EnsureInstallationRecord(registry, program, version, "Sudoku");
    }

    // The raw key behind the test's hive, which stands in for HKEY_CURRENT_USER.
    HKEY RawKey(const std::string& key)
    {
        HKEY handle = nullptr;
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, std::wstring(key.begin(), key.end()).c_str(), 0, KEY_ALL_ACCESS,
                                &handle),
                  ERROR_SUCCESS);
        return handle;
    }
};

// Signalled when anything under a key is written.
class ChangeWatch
{
public:
    explicit ChangeWatch(HKEY key)
        : m_key(key)
        , m_event(CreateEventW(nullptr, TRUE, FALSE, nullptr))
    {
        EXPECT_EQ(RegNotifyChangeKeyValue(m_key, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, m_event,
                                          TRUE),
                  ERROR_SUCCESS);
    }
    ~ChangeWatch()
    {
        RegCloseKey(m_key);
        CloseHandle(m_event);
    }
    ChangeWatch(const ChangeWatch&) = delete;
    ChangeWatch& operator=(const ChangeWatch&) = delete;

    bool Changed() const { return WaitForSingleObject(m_event, 0) == WAIT_OBJECT_0; }

private:
    HKEY m_key;
    HANDLE m_event;
};

} // namespace

TEST_F(InstallationRecordWindows, SecondStartWritesNothing)
{
    // Also from a folder named with Polish letters, which the system's code page
    // cannot spell: the recorded path must still be found.
    for (const fs::path& program : {executable, folder / "Paweł/Pobrane/Gra ąęśćżźńół/sudoku.exe"}) {
        SCOPED_TRACE(testing::PrintToString(program.wstring()));
        fs::create_directories(program.parent_path());
        WriteWholeFile(program, "program");
        Start(program);
        BestResults().Add("gracz", 321);
        {
            ChangeWatch watch(RawKey(Key));
            Start(program);
            Start(executable.parent_path() / "kopia.exe", "9.9.9.9"); // another copy while the recorded file exists
            EXPECT_FALSE(watch.Changed());
        }
        // The watch does see a write, so its silence above means something.
        ChangeWatch watch(RawKey(Key));
        BestResults().Add("drugi", 400);
        EXPECT_TRUE(watch.Changed());
        EXPECT_EQ(BestResults().Entry(1)->seconds, 321);
        RegistryAccessor registry;
        ASSERT_TRUE(registry.OpenKey(Key, false));
        EXPECT_EQ(TestFolder::Utf8Path(registry.ReadString("Path")), program);
        registry.DeleteKey("\\Software");
    }
}

// A time stored as a REG_DWORD of the wrong size is skipped like any value of a
// wrong type, not raised as an error; the list is rebuilt without it.
TEST_F(InstallationRecordWindows, TimeOfTheWrongSizeIsSkipped)
{
    Start(executable);
    BestResults results;
    results.Add("Ala", 100);
    results.Add("Ola", 200);
    results.Add("Ela", 300);
    HKEY key = RawKey(Key + "\\Lista");
    const BYTE two[] = {5, 0};
    RegSetValueExW(key, L"_t2", 0, REG_DWORD, two, sizeof(two));
    RegCloseKey(key);

    EXPECT_EQ(results.Count(), 2);
    EXPECT_EQ(results.Entry(2)->name, "Ela");
    EXPECT_FALSE(results.Entry(3));
    EXPECT_TRUE(results.Admits(5000));
    results.Add("Iza", 50);
    EXPECT_EQ(results.Entry(1)->name, "Iza");
    EXPECT_EQ(results.Entry(3)->name, "Ela");
    EXPECT_EQ(results.Count(), 3);
}

TEST_F(InstallationRecordWindows, PathOfAnotherTypeIsReplacedByAPlainString)
{
    const std::wstring path = executable.wstring();
    const std::string narrow = executable.string(); // ASCII: also a valid REG_BINARY text
    struct Case
    {
        const char* meaning;
        DWORD type;
        std::vector<BYTE> data;
    };
    const Case cases[] = {
        {"expandable string", REG_EXPAND_SZ,
         std::vector<BYTE>(reinterpret_cast<const BYTE*>(path.c_str()),
                           reinterpret_cast<const BYTE*>(path.c_str() + path.size() + 1))},
        {"raw bytes", REG_BINARY, std::vector<BYTE>(narrow.begin(), narrow.end())},
        {"several strings", REG_MULTI_SZ,
         std::vector<BYTE>(reinterpret_cast<const BYTE*>(path.c_str()),
                           reinterpret_cast<const BYTE*>(path.c_str() + path.size() + 1))},
    };
    for (const auto& c : cases) {
        Start(executable);
        HKEY key = RawKey(Key);
        RegSetValueExW(key, L"Path", 0, c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
        RegCloseKey(key);

        Start(executable);
        RegistryAccessor registry;
        ASSERT_TRUE(registry.OpenKey(Key, false));
        EXPECT_EQ(registry.GetDataType("Path"), RegistryValueType::String) << c.meaning;
        EXPECT_EQ(registry.ReadString("Path"), narrow) << c.meaning;
    }
}
