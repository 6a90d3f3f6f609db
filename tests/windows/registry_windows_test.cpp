// What the registry accessor must get right on the real Windows registry (and Wine's).
#include "Registry.h"
#include "RegistryJournal.h"

#include "OwnHive.h"

#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Each test has a hive of its own: a private key stands in for HKEY_CURRENT_USER.
class RegistryWindows : public ::testing::Test
{
protected:
    // The raw handle of a key the accessor opened, to see what really reached the registry.
    static HKEY Raw(const std::wstring& key)
    {
        HKEY handle = nullptr;
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_ALL_ACCESS, &handle), ERROR_SUCCESS);
        return handle;
    }

    OwnHive m_hive;
};

const std::string Polish = "Zażółć gęślą jaźń ĄĆĘŁŃÓŚŹŻ";
const std::wstring PolishWide = L"Za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105 ja\u017A\u0144 "
                                L"\u0104\u0106\u0118\u0141\u0143\u00D3\u015A\u0179\u017B";

} // namespace

TEST_F(RegistryWindows, StoresTextAsUnicodeWithItsTerminatorWhateverTheCodePage)
{
    {
        RegistryAccessor registry;
        ASSERT_TRUE(registry.OpenKey("Software\\Kalvora\\Sudoku\\Lista", true));
        registry.WriteString("_g1", Polish);
        EXPECT_EQ(registry.ReadString("_g1"), Polish);
    }

    HKEY key = Raw(L"Software\\Kalvora\\Sudoku\\Lista");
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
    RegistryAccessor registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Kalvora\\Sudoku", true));
    registry.WriteString("Path", "C:\\Gry\\Sudoku.exe");
    registry.WriteInteger("IlePoz", 7);

    // Values of other types, as a hand edit or another program leaves them.
    HKEY key = Raw(L"Software\\Kalvora\\Sudoku");
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

TEST_F(RegistryWindows, ReadsTextStoredWithoutTerminatorOrEmptyOrCutByANul)
{
    RegistryAccessor registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Kalvora\\Sudoku", true));
    HKEY key = Raw(L"Software\\Kalvora\\Sudoku");
    const wchar_t bare[] = {L'a', L'b', L'c'};
    const wchar_t cut[] = L"Ala\0Ola"; // a hand-edited name with a NUL inside
    RegSetValueExW(key, L"Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>(bare), sizeof(bare));
    RegSetValueExW(key, L"Empty", 0, REG_SZ, nullptr, 0);
    RegSetValueExW(key, L"Cut", 0, REG_SZ, reinterpret_cast<const BYTE*>(cut), sizeof(cut));
    RegCloseKey(key);

    EXPECT_EQ(registry.ReadString("Bare"), "abc");
    EXPECT_EQ(registry.ReadString("Empty"), "");
    EXPECT_EQ(registry.ReadString("Cut"), "Ala");
    registry.WriteString("Blank", "");
    EXPECT_EQ(registry.ReadString("Blank"), "");
}

TEST_F(RegistryWindows, NegativeAndLargeIntegersKeepTheirBits)
{
    RegistryAccessor registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Kalvora\\Sudoku\\Lista", true));
    for (const std::int32_t value : {0, 1, -1, 754, 2147483647, -2147483647 - 1}) {
        registry.WriteInteger("_t1", value);
        EXPECT_EQ(registry.ReadInteger("_t1"), value);
    }
}

TEST_F(RegistryWindows, FailedWritesNameTheValue)
{
    RegistryAccessor registry;
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
        RegistryAccessor registry;
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
    HKEY key = Raw(L"Software\\Kalvora\\Sudoku\\Lista");
    setRules(key, L"D:P(A;;0x60019;;;WD)");
    {
        RegistryAccessor registry;
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
    RegistryAccessor registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Kalvora\\Sudoku\\Lista", true));
    {
        RegistryAccessor other;
        ASSERT_TRUE(other.DeleteKey("Software\\Kalvora\\Sudoku\\Lista"));
    }
    EXPECT_THROW(registry.WriteInteger("IlePoz", 1), RegistryError);
}

TEST_F(RegistryWindows, DeletesAKeyWithValuesAndSubkeysButNeverTheBase)
{
    RegistryAccessor registry;
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

// The accessor follows HKEY_CURRENT_USER wherever it points at the moment, as
// the tests' own hives need: what one hive holds, another does not see.
TEST_F(RegistryWindows, EachAccessorWorksOnTheHiveInForce)
{
    {
        RegistryAccessor registry;
        ASSERT_TRUE(registry.OpenKey("Software\\Kalvora\\Sudoku", true));
        registry.WriteString("Name", "pierwszy");
    }
    {
        const OwnHive other;
        RegistryAccessor registry;
        EXPECT_FALSE(registry.OpenKey("Software\\Kalvora\\Sudoku", false));
    }
    RegistryAccessor again;
    ASSERT_TRUE(again.OpenKey("Software\\Kalvora\\Sudoku", false));
    EXPECT_EQ(again.ReadString("Name"), "pierwszy");
}

namespace {

registryjournal::Stored Text(const std::string& text) { return {REG_SZ, text}; }
registryjournal::Stored Number(DWORD n) { return {REG_DWORD, std::string(reinterpret_cast<const char*>(&n), 4)}; }

void Put(HKEY key, const std::string& name, const registryjournal::Stored& value)
{
    std::wstring data;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(value.data.data());
    DWORD size = static_cast<DWORD>(value.data.size());
    if (value.type == REG_SZ) {
        data.assign(value.data.begin(), value.data.end()); // ASCII here
        bytes = reinterpret_cast<const BYTE*>(data.c_str());
        size = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    }
    ASSERT_EQ(RegSetValueExW(key, std::wstring(name.begin(), name.end()).c_str(), 0, value.type, bytes, size),
              ERROR_SUCCESS);
}

// The list's values as the registry holds them, read past the accessor.
std::string RawListed(HKEY key)
{
    std::string text;
    for (const char* name : {"_g1", "_t1", "_g2", "_t2", "_g3", "_t3", "IlePoz", "LastTime", "Journal"}) {
        BYTE data[512] = {};
        DWORD type = 0;
        DWORD size = sizeof(data);
        const std::string wideName(name);
        text += wideName + "=";
        if (RegQueryValueExW(key, std::wstring(wideName.begin(), wideName.end()).c_str(), nullptr, &type, data,
                             &size) != ERROR_SUCCESS)
            text += "-";
        else if (type == REG_SZ)
            for (const wchar_t* c = reinterpret_cast<const wchar_t*>(data); *c; ++c)
                text += static_cast<char>(*c);
        else if (type == REG_DWORD)
            text += std::to_string(static_cast<std::int32_t>(*reinterpret_cast<const DWORD*>(data)));
        else
            text += "?";
        text += " ";
    }
    return text;
}

std::string Listed(const RegistryAccessor& registry)
{
    std::string text;
    for (const char* name : {"_g1", "_t1", "_g2", "_t2", "_g3", "_t3", "IlePoz", "LastTime", "Journal"}) {
        text += std::string(name) + "=";
        switch (registry.GetDataType(name)) {
        case RegistryValueType::None: text += "-"; break;
        case RegistryValueType::String: text += registry.ReadString(name); break;
        case RegistryValueType::DWord: text += std::to_string(registry.ReadInteger(name)); break;
        default: text += "?"; break;
        }
        text += " ";
    }
    return text;
}

} // namespace

// A copy of the game killed in the middle of a batch leaves its journal and the
// values it had written; whoever opens the key next finishes the batch, unless
// the key has changed since (another program, an older game, a hand edit):
// then the journal goes and nothing else changes.
TEST_F(RegistryWindows, BatchLeftHalfWrittenIsFinishedByWhoeverOpensTheKeyNext)
{
    const char* const Lista = "Software\\Kalvora\\Sudoku\\Lista";
    // Ola's 50 goes in before Ala's 100.
    const std::vector<RegistryValueChange> batch = {
        RegistryValueChange::Integer("_t1", 50),    RegistryValueChange::Integer("_t2", 100),
        RegistryValueChange::String("_g1", "Ola"),  RegistryValueChange::String("_g2", "Ala"),
        RegistryValueChange::Integer("IlePoz", 2), RegistryValueChange::Integer("LastTime", 100)};
    const registryjournal::KeyValues before = {
        {"_g1", Text("Ala")}, {"_t1", Number(100)}, {"IlePoz", Number(1)}, {"LastTime", Number(100)}};
    const std::string finished = "_g1=Ola _t1=50 _g2=Ala _t2=100 _g3=- _t3=- IlePoz=2 LastTime=100 Journal=- ";
    const std::string journal = registryjournal::Encode(
        registryjournal::Prepare(batch, [&](const std::string&) { return before; }));
    struct Row
    {
        const char* meaning;
        std::string journal;
        std::size_t written; // values of the batch that reached the registry
        void (*since)(HKEY);
        bool finishes;
    };
    const Row rows[] = {
        {"killed right after the journal", journal, 0, nullptr, true},
        {"killed half-way", journal, 3, nullptr, true},
        {"killed before removing the journal", journal, batch.size(), nullptr, true},
        {"an older game added a result since", journal, 3,
         [](HKEY key) {
             Put(key, "_g3", Text("Ela"));
             Put(key, "_t3", Number(75));
         },
         false},
        {"a hand edit changed a value of the batch since", journal, 3, [](HKEY key) { Put(key, "_t2", Number(999)); },
         false},
        {"a damaged journal", journal.substr(0, journal.size() - 1) + "x", 3, nullptr, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.meaning);
        RegistryAccessor().DeleteKey("Software");
        {
            RegistryAccessor registry;
            ASSERT_TRUE(registry.OpenKey(Lista, true));
            registry.WriteValues({RegistryValueChange::String("_g1", "Ala"), RegistryValueChange::Integer("_t1", 100),
                                  RegistryValueChange::Integer("IlePoz", 1),
                                  RegistryValueChange::Integer("LastTime", 100)});
        }
        HKEY key = Raw(L"Software\\Kalvora\\Sudoku\\Lista");
        ASSERT_EQ(RegSetValueExW(key, L"Journal", 0, REG_BINARY, reinterpret_cast<const BYTE*>(row.journal.data()),
                                 static_cast<DWORD>(row.journal.size())),
                  ERROR_SUCCESS);
        for (std::size_t i = 0; i < row.written; ++i)
            Put(key, batch[i].name, *registryjournal::After(batch[i]));
        if (row.since)
            row.since(key);
        // What the key holds now, but for the journal.
        std::string left = RawListed(key);
        left.replace(left.find("Journal=?"), 9, "Journal=-");
        RegCloseKey(key);

        RegistryAccessor registry;
        ASSERT_TRUE(registry.OpenKey(Lista, false));
        EXPECT_EQ(Listed(registry), row.finishes ? finished : left);
    }

    // A value of that name that is not a journal is someone else's: left alone.
    HKEY key = Raw(L"Software\\Kalvora\\Sudoku\\Lista");
    Put(key, "Journal", Text("notatka"));
    RegCloseKey(key);
    RegistryAccessor registry;
    ASSERT_TRUE(registry.OpenKey(Lista, false));
    EXPECT_EQ(registry.ReadString("Journal"), "notatka");
}

// The installation record's batch writes its key and the list below it; its
// journal, in the record's key, is finished by whoever opens the list.
TEST_F(RegistryWindows, BatchOfAKeyAndItsSubkeyIsFinishedFromTheSubkey)
{
    {
        RegistryAccessor registry;
        ASSERT_TRUE(registry.OpenKey("Software\\Kalvora\\Sudoku\\Lista", true));
        registry.WriteInteger("IlePoz", 3);
    }
    std::vector<RegistryValueChange> batch = {RegistryValueChange::String("Version", "2.0.0.432"),
                                              RegistryValueChange::Integer("IlePoz", 0)};
    batch[1].key = "Lista";
    const std::string journal = registryjournal::Encode(registryjournal::Prepare(batch, [](const std::string& key) {
        return key.empty() ? registryjournal::KeyValues{} : registryjournal::KeyValues{{"IlePoz", Number(3)}};
    }));
    HKEY key = Raw(L"Software\\Kalvora\\Sudoku");
    ASSERT_EQ(RegSetValueExW(key, L"Journal", 0, REG_BINARY, reinterpret_cast<const BYTE*>(journal.data()),
                             static_cast<DWORD>(journal.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);

    RegistryAccessor registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Kalvora\\Sudoku\\Lista", false));
    EXPECT_EQ(registry.ReadInteger("IlePoz"), 0);
    ASSERT_TRUE(registry.OpenKey("\\Software\\Kalvora\\Sudoku", false));
    EXPECT_EQ(registry.ReadString("Version"), "2.0.0.432");
    EXPECT_FALSE(registry.ValueExists("Journal"));
}
