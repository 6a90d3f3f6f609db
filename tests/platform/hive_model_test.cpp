// The hive in memory and the batch journal: keys, values, and a batch left half-written finished or dropped.
#include "HiveModel.h"
#include "RegistryJournal.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

HiveModel Model(const std::string& text)
{
    auto hive = hivefile::Parse("Windows Registry Editor Version 5.00\n\n" + text);
    EXPECT_TRUE(hive);
    return HiveModel(hive ? std::move(*hive) : hivefile::Hive{});
}

// Every value of a key, as text in the order of their names: "name=value ...".
std::string Listed(const HiveModel& model, const std::string& key)
{
    auto values = model.ValuesOf(key);
    std::sort(values.begin(), values.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string text;
    for (const auto& [name, value] : values) {
        text += name + "=";
        if (value.type == hivefile::TypeDWord && value.data.size() == 4)
            text += std::to_string(static_cast<unsigned char>(value.data[0]));
        else if (value.type == hivefile::TypeString)
            text += value.data;
        else
            text += "?";
        text += " ";
    }
    return text;
}

std::string HexOf(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (const char c : bytes) {
        if (!hex.empty())
            hex += ',';
        hex += digits[static_cast<unsigned char>(c) >> 4];
        hex += digits[static_cast<unsigned char>(c) & 15];
    }
    return hex;
}

const char* const Lista = "Software\\Kalvora\\Sudoku\\Lista";

} // namespace

TEST(HiveModel, KeysExistThroughTheirSubkeysAndGoWithThem)
{
    HiveModel model = Model("[HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku\\Lista\\Glebiej]\n\"a\"=dword:00000001\n"
                            "[HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku\\Listak]\n\"b\"=dword:00000002\n"
                            "[HKEY_LOCAL_MACHINE\\Software\\Kalvora]\n\"c\"=\"obcy\"\n");
    EXPECT_TRUE(model.KeyExists(""));
    EXPECT_TRUE(model.KeyExists("software\\KALVORA"));
    EXPECT_TRUE(model.KeyExists(Lista));
    EXPECT_FALSE(model.KeyExists("Software\\Kalvora\\Sudoku\\Lis"));
    EXPECT_FALSE(model.DeleteKey("Software\\Inna"));
    EXPECT_TRUE(model.DeleteKey(Lista));
    EXPECT_FALSE(model.KeyExists("Software\\Kalvora\\Sudoku\\Lista\\Glebiej"));
    EXPECT_TRUE(model.KeyExists("Software\\Kalvora\\Sudoku\\Listak")); // a name that merely begins alike
    EXPECT_EQ(model.Hive().sections.back().path, "HKEY_LOCAL_MACHINE\\Software\\Kalvora"); // never looked into
}

TEST(HiveModel, ValuesReadAsTheRegistryReadsThem)
{
    HiveModel model = Model("[HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku\\Lista]\n"
                            "\"_g1\"=\"Ala\\0Ola\"\n"                    // a NUL typed into the text
                            "\"_g2\"=hex(1):41,00,00,00,42,00,00,00\n" // one in UTF-16
                            "\"_t1\"=hex(4):0a,00,00,00\n"
                            "\"_t2\"=hex(4):0a,00\n"
                            "\"_T3\"=dword:ffffffff\n");
    const auto text = [&](const char* name) { return HiveModel::TextOf(*model.Find(Lista, name)); };
    const auto number = [&](const char* name) { return HiveModel::IntegerOf(*model.Find(Lista, name)); };
    EXPECT_EQ(text("_g1"), "Ala");
    EXPECT_EQ(text("_g2"), "A");
    EXPECT_EQ(number("_t1"), 10);
    EXPECT_EQ(number("_t2"), std::nullopt);
    EXPECT_EQ(HiveModel::TypeOf(*model.Find(Lista, "_t2")), RegistryValueType::Other);
    EXPECT_EQ(number("_t3"), -1);
    EXPECT_EQ(text("_t3"), std::nullopt);

    model.Set(Lista, "_t3", HiveModel::IntegerValue(7)); // the spelling in the file stays
    EXPECT_EQ(model.Find(Lista, "_t3")->name, "_T3");
    model.Remove(Lista, "_g1");
    EXPECT_EQ(model.Find(Lista, "_g1"), nullptr);
    model.Set("Software\\Nowy", "x", HiveModel::StringValue("y"));
    EXPECT_EQ(HiveModel::TextOf(*model.Find("Software\\Nowy", "X")), "y");
}

// A copy of the game on Windows killed in the middle of a batch leaves the
// journal and some of the values; a hive exported from there with regedit and
// read here is finished as Windows would finish it.
TEST(HiveModel, BatchLeftHalfWrittenIsFinishedOrDropped)
{
    const std::string record = "[HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku]\n\"Version\"=\"1.0.0.0\"\n";
    const std::string list = "[HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku\\Lista]\n"
                             "\"_g1\"=\"Ala\"\n\"_t1\"=dword:00000064\n\"IlePoz\"=dword:00000001\n";
    const std::string before = record + list;
    // Ola's 50 before Ala's 100, and the record's version with it.
    std::vector<RegistryValueChange> batch = {
        RegistryValueChange::String("Version", "2.0.0.432"), RegistryValueChange::Integer("_t1", 50),
        RegistryValueChange::Integer("_t2", 100),           RegistryValueChange::String("_g1", "Ola"),
        RegistryValueChange::String("_g2", "Ala"),          RegistryValueChange::Integer("IlePoz", 2)};
    for (std::size_t i = 1; i < batch.size(); ++i)
        batch[i].key = "Lista";
    const HiveModel plain = Model(before);
    const std::string journal = registryjournal::Encode(registryjournal::Prepare(batch, [&](const std::string& key) {
        return plain.ValuesOf(key.empty() ? "Software\\Kalvora\\Sudoku" : Lista);
    }));
    const std::string finished = "IlePoz=2 _g1=Ola _g2=Ala _t1=50 _t2=100 ";

    struct Row
    {
        const char* meaning;
        std::string written; // values that reached the registry, and what changed since
        std::string journal;
        bool finishes;
    };
    const Row rows[] = {
        {"killed right after the journal", "", journal, true},
        {"killed half-way", "\"_t1\"=dword:00000032\n\"_t2\"=dword:00000064\n", journal, true},
        {"an older game added a result since", "\"_t1\"=dword:00000032\n\"_g3\"=\"Ela\"\n\"_t3\"=dword:0000004b\n",
         journal, false},
        {"a hand edit changed a value of the batch since", "\"_t1\"=dword:00000063\n", journal, false},
        {"a damaged journal", "\"_t1\"=dword:00000032\n", journal.substr(0, journal.size() - 2), false},
        {"no journal at all", "\"_t1\"=dword:00000032\n", "not one of ours", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.meaning);
        const bool ours = registryjournal::IsJournal(row.journal);
        // The journal in the key the batch was given, the record's.
        HiveModel model = Model(record + "\"Journal\"=" + (ours ? "hex:" + HexOf(row.journal) : "\"x\"") + "\n" +
                                list + row.written);
        const HiveModel left = model;
        model.CompleteJournals();
        const char* const Sudoku = "Software\\Kalvora\\Sudoku";
        EXPECT_EQ(model.Find(Sudoku, "Journal") != nullptr, !ours); // someone else's value stays
        EXPECT_EQ(Listed(model, Lista), row.finishes ? finished : Listed(left, Lista));
        EXPECT_EQ(HiveModel::TextOf(*model.Find("Software\\Kalvora\\Sudoku", "Version")),
                  row.finishes ? "2.0.0.432" : "1.0.0.0");
    }
}

// Any damage to a journal leaves it unread: every shortened copy, and every
// copy with one byte changed.
TEST(HiveModel, DamagedJournalIsNeverRead)
{
    std::vector<RegistryValueChange> batch = {RegistryValueChange::String("_g1", "Zażółć"),
                                              RegistryValueChange::Remove("_g2"),
                                              RegistryValueChange::Integer("IlePoz", 3)};
    batch[2].key = "Lista";
    const registryjournal::KeyValues values = {{"_g2", {hivefile::TypeString, "x"}}};
    const std::string journal =
        registryjournal::Encode(registryjournal::Prepare(batch, [&](const std::string&) { return values; }));
    const auto decoded = registryjournal::Decode(journal);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->keys, (std::vector<std::string>{"", "Lista"}));
    EXPECT_EQ(decoded->changes.size(), 3u);
    EXPECT_EQ(registryjournal::Encode(*decoded), journal);
    for (std::size_t size = 0; size < journal.size(); ++size)
        EXPECT_FALSE(registryjournal::Decode(journal.substr(0, size))) << size;
    for (std::size_t at = 0; at < journal.size(); ++at) {
        std::string changed = journal;
        changed[at] = static_cast<char>(changed[at] ^ 0x21);
        EXPECT_FALSE(registryjournal::Decode(changed)) << at;
    }
}
