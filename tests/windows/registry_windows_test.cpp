// What the registry accessor must get right on the real Windows registry (and Wine's).
#include "Registry.h"

#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Each test gets an explicit hive of its own, which on Windows is a private key
// of the current user; the key is removed afterwards.
class RegistryWindows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static std::atomic<int> counter{0};
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_hive = std::filesystem::temp_directory_path()
            / (std::string("sudoku-") + info->name() + "-" + std::to_string(GetCurrentProcessId()) + "-"
               + std::to_string(counter++) + ".reg");
    }

    void TearDown() override
    {
        RegistryAccessor registry(m_hive);
        registry.DeleteKey("Software");
    }

    // The raw handle of a key the accessor opened, to see what really reached the registry.
    static HKEY Raw(const std::wstring& hiveKey, const std::wstring& key)
    {
        HKEY handle = nullptr;
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (hiveKey + L"\\" + key).c_str(), 0, KEY_ALL_ACCESS, &handle),
                  ERROR_SUCCESS);
        return handle;
    }

    std::wstring HiveKey() const
    {
        std::wstring name = std::filesystem::absolute(m_hive).lexically_normal().wstring();
        for (auto& c : name) {
            if (c == L'\\')
                c = L'/';
        }
        return L"Software\\Kalvora\\Sudoku hives\\" + name;
    }

    std::filesystem::path m_hive;
};

const std::string Polish = "Zażółć gęślą jaźń ĄĆĘŁŃÓŚŹŻ";
const std::wstring PolishWide = L"Za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105 ja\u017A\u0144 "
                                L"\u0104\u0106\u0118\u0141\u0143\u00D3\u015A\u0179\u017B";

} // namespace

TEST_F(RegistryWindows, StoresTextAsUnicodeWithItsTerminatorWhateverTheCodePage)
{
    {
        RegistryAccessor registry(m_hive);
        ASSERT_TRUE(registry.OpenKey("Software\\Kalvora\\Sudoku\\Lista", true));
        registry.WriteString("_g1", Polish);
        EXPECT_EQ(registry.ReadString("_g1"), Polish);
    }

    HKEY key = Raw(HiveKey(), L"Software\\Kalvora\\Sudoku\\Lista");
    DWORD type = 0;
    wchar_t data[64] = {};
    DWORD size = sizeof(data);
    ASSERT_EQ(RegQueryValueExW(key, L"_g1", nullptr, &type, reinterpret_cast<BYTE*>(data), &size), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, (PolishWide.size() + 1) * sizeof(wchar_t));
    EXPECT_EQ(std::wstring(data), PolishWide);
}

TEST_F(RegistryWindows, TellsEveryValueTypeApartAndReadsOnlyItsOwn)
{
    RegistryAccessor registry(m_hive);
    ASSERT_TRUE(registry.OpenKey("Software\\Kalvora\\Sudoku", true));
    registry.WriteString("Path", "C:\\Gry\\Sudoku.exe");
    registry.WriteInteger("IlePoz", 7);

    // Values of other types, as a hand edit or another program leaves them.
    HKEY key = Raw(HiveKey(), L"Software\\Kalvora\\Sudoku");
    const wchar_t expand[] = L"%ProgramFiles%\\Sudoku.exe";
    const wchar_t multi[] = L"a\0b\0";
    const unsigned char bytes[] = {1, 2, 3};
    const unsigned long long wide = 5;
    const DWORD number = 3;
    RegSetValueExW(key, L"Expand", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(expand), sizeof(expand));
    RegSetValueExW(key, L"Multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), sizeof(multi));
    RegSetValueExW(key, L"Bytes", 0, REG_BINARY, bytes, sizeof(bytes));
    RegSetValueExW(key, L"Four", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&number), sizeof(number));
    RegSetValueExW(key, L"Wide", 0, REG_QWORD, reinterpret_cast<const BYTE*>(&wide), sizeof(wide));
    RegSetValueExW(key, L"ShortDword", 0, REG_DWORD, bytes, 2);
    RegSetValueExW(key, L"LongDword", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&wide), sizeof(wide));
    RegSetValueExW(key, L"Link", 0, REG_LINK, bytes, sizeof(bytes));
    RegCloseKey(key);

    struct Row
    {
        const char* name;
        RegistryValueType type;
        bool readsAsString;
        bool readsAsInteger;
    };
    const Row rows[] = {
        {"Path", RegistryValueType::String, true, false},
        {"IlePoz", RegistryValueType::DWord, false, true},
        {"Expand", RegistryValueType::ExpandString, false, false},
        {"Multi", RegistryValueType::MultiString, false, false},
        {"Bytes", RegistryValueType::Binary, false, false},
        {"Four", RegistryValueType::Binary, false, false}, // four bytes are not an integer
        {"Wide", RegistryValueType::QWord, false, false},
        {"ShortDword", RegistryValueType::Other, false, false}, // a REG_DWORD of the wrong size
        {"LongDword", RegistryValueType::Other, false, false},
        {"Link", RegistryValueType::Other, false, false},
        {"Missing", RegistryValueType::None, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(registry.GetDataType(row.name), row.type);
        EXPECT_EQ(registry.ValueExists(row.name), row.type != RegistryValueType::None);
        if (row.readsAsString)
            EXPECT_NO_THROW(registry.ReadString(row.name));
        else
            EXPECT_THROW(registry.ReadString(row.name), RegistryError);
        if (row.readsAsInteger)
            EXPECT_NO_THROW(registry.ReadInteger(row.name));
        else
            EXPECT_THROW(registry.ReadInteger(row.name), RegistryError);
    }
    EXPECT_EQ(registry.ReadString("Path"), "C:\\Gry\\Sudoku.exe");
    EXPECT_EQ(registry.ReadInteger("IlePoz"), 7);
}

TEST_F(RegistryWindows, ReadsTextStoredWithoutTerminatorOrEmpty)
{
    RegistryAccessor registry(m_hive);
    ASSERT_TRUE(registry.OpenKey("Software\\Kalvora\\Sudoku", true));
    HKEY key = Raw(HiveKey(), L"Software\\Kalvora\\Sudoku");
    const wchar_t bare[] = {L'a', L'b', L'c'};
    RegSetValueExW(key, L"Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>(bare), sizeof(bare));
    RegSetValueExW(key, L"Empty", 0, REG_SZ, nullptr, 0);
    RegCloseKey(key);

    EXPECT_EQ(registry.ReadString("Bare"), "abc");
    EXPECT_EQ(registry.ReadString("Empty"), "");
    registry.WriteString("Blank", "");
    EXPECT_EQ(registry.ReadString("Blank"), "");
}

TEST_F(RegistryWindows, NegativeAndLargeIntegersKeepTheirBits)
{
    RegistryAccessor registry(m_hive);
    ASSERT_TRUE(registry.OpenKey("Software\\Kalvora\\Sudoku\\Lista", true));
    for (const std::int32_t value : {0, 1, -1, 754, 2147483647, -2147483647 - 1}) {
        registry.WriteInteger("_t1", value);
        EXPECT_EQ(registry.ReadInteger("_t1"), value);
    }
}

TEST_F(RegistryWindows, FailedWritesNameTheValue)
{
    RegistryAccessor registry(m_hive);
    // No key open: nowhere to write.
    try {
        registry.WriteInteger("IlePoz", 0);
        FAIL() << "a write without an open key succeeded";
    } catch (const RegistryError& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'IlePoz'");
    }
    // Text that is not UTF-8 cannot be stored faithfully.
    ASSERT_TRUE(registry.OpenKey("Software\\Kalvora\\Sudoku", true));
    try {
        registry.WriteString("Name", std::string("Sudoku\xff", 7));
        FAIL() << "invalid text was stored";
    } catch (const RegistryError& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'Name'");
    }
    EXPECT_FALSE(registry.ValueExists("Name"));
}

TEST_F(RegistryWindows, AKeyTheUserMayOnlyReadIsReadAndEveryWriteToItFails)
{
    {
        RegistryAccessor registry(m_hive);
        ASSERT_TRUE(registry.OpenKey("Software\\Kalvora\\Sudoku\\Lista", true));
        registry.WriteInteger("IlePoz", 3);
    }
    // Its rules let the user read it (and change the rules back afterwards), nothing more.
    const auto setRules = [](HKEY key, const wchar_t* sddl) {
        PSECURITY_DESCRIPTOR rules = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &rules, nullptr));
        EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, rules), ERROR_SUCCESS);
        LocalFree(rules);
    };
    HKEY key = Raw(HiveKey(), L"Software\\Kalvora\\Sudoku\\Lista");
    setRules(key, L"D:P(A;;0x60019;;;WD)");
    {
        RegistryAccessor registry(m_hive);
        for (const bool canCreate : {false, true}) {
            ASSERT_TRUE(registry.OpenKey("\\Software\\Kalvora\\Sudoku\\Lista", canCreate));
            EXPECT_EQ(registry.ReadInteger("IlePoz"), 3);
            try {
                registry.WriteInteger("IlePoz", 4);
                ADD_FAILURE() << "a key the user may only read was written";
            } catch (const RegistryError& error) {
                EXPECT_STREQ(error.what(), "Failed to set data for 'IlePoz'");
            }
        }
        EXPECT_EQ(registry.ReadInteger("IlePoz"), 3);
    }
    setRules(key, L"D:P(A;;KA;;;WD)");
    RegCloseKey(key);
}

TEST_F(RegistryWindows, WritesToAKeyDeletedMeanwhileFail)
{
    RegistryAccessor registry(m_hive);
    ASSERT_TRUE(registry.OpenKey("Software\\Kalvora\\Sudoku\\Lista", true));
    {
        RegistryAccessor other(m_hive);
        ASSERT_TRUE(other.DeleteKey("Software\\Kalvora\\Sudoku\\Lista"));
    }
    EXPECT_THROW(registry.WriteInteger("IlePoz", 1), RegistryError);
}

TEST_F(RegistryWindows, DeletesAKeyWithValuesAndSubkeysButNeverTheBase)
{
    RegistryAccessor registry(m_hive);
    ASSERT_TRUE(registry.OpenKey("Software\\Kalvora\\Sudoku\\Lista\\Deeper", true));
    registry.WriteInteger("x", 1);
    ASSERT_TRUE(registry.OpenKey("\\Software\\Kalvora\\Sudoku", false));
    registry.WriteString("Name", "Sudoku");

    EXPECT_FALSE(registry.DeleteKey(""));
    EXPECT_FALSE(registry.DeleteKey("\\"));
    EXPECT_TRUE(registry.ValueExists("Name"));

    EXPECT_TRUE(registry.DeleteKey("Lista"));
    EXPECT_FALSE(registry.DeleteKey("Lista"));
    EXPECT_FALSE(registry.OpenKey("Lista", false));
    EXPECT_EQ(registry.CurrentPath(), "Software\\Kalvora\\Sudoku");
    EXPECT_TRUE(registry.ValueExists("Name"));
}

TEST_F(RegistryWindows, ExplicitHivesAreKeptApart)
{
    const auto otherHive = m_hive.parent_path() / ("other-" + m_hive.filename().string());
    {
        RegistryAccessor registry(m_hive);
        ASSERT_TRUE(registry.OpenKey("Software\\Kalvora\\Sudoku", true));
        registry.WriteString("Name", "pierwszy");
    }
    {
        RegistryAccessor registry(otherHive);
        EXPECT_FALSE(registry.OpenKey("Software\\Kalvora\\Sudoku", false));
    }
    RegistryAccessor again(m_hive);
    ASSERT_TRUE(again.OpenKey("Software\\Kalvora\\Sudoku", false));
    EXPECT_EQ(again.ReadString("Name"), "pierwszy");
    RegistryAccessor cleanup(otherHive);
    cleanup.DeleteKey("Software");
}
