// Any bytes as the journal of a batch left half-written: reading never fails badly, and the hive ends up either as it was or with the whole batch in it.
// Built twice: as the fuzz target, and (SUDOKU_JOURNAL_SEEDS) as the program that writes its seeds.
#include "HiveValues.h"

#include "HiveModel.h"
#include "RegistryJournal.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

const char* const Record = "Software\\Kalvora\\Sudoku";

// A record and a list of three, with the journal in the record's key.
HiveModel Hive(const std::string& journal)
{
    auto hive = hivefile::Parse("Windows Registry Editor Version 5.00\n\n"
                                "[HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku]\n"
                                "\"Version\"=\"2.0.0.432\"\n\"Name\"=\"Sudoku\"\n"
                                "[HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku\\Lista]\n"
                                "\"IlePoz\"=dword:00000003\n\"LastTime\"=dword:0000012c\n"
                                "\"_g1\"=\"Ola\"\n\"_t1\"=dword:00000064\n\"_g2\"=\"Ala\"\n\"_t2\"=dword:000000c8\n"
                                "\"_g3\"=\"Ela\"\n\"_t3\"=dword:0000012c\n");
    hive->sections.front().entries.push_back(
        hivefile::Value{std::string(registryjournal::ValueName), hivefile::TypeBinary, hivefile::Spelling::Hex,
                        journal, 0});
    return HiveModel(std::move(*hive));
}

} // namespace

#ifdef SUDOKU_JOURNAL_SEEDS

#include <fstream>

// Journals of the batches the game writes, against this hive and against
// another: a new best time, the record rewritten with its list, the list
// emptied; each alone (for fuzz_journal) and in its whole hive file (for
// fuzz_best_results).
//   fuzz_journal_seeds <journal folder> <hive folder>
int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    const HiveModel hive = Hive("");
    const auto against = [&](const std::string& key) {
        return hive.ValuesOf(key.empty() ? std::string(Record) : std::string(Record) + "\\" + key);
    };
    const auto elsewhere = [](const std::string&) { return registryjournal::KeyValues{}; };
    std::vector<RegistryValueChange> added = {
        RegistryValueChange::Integer("_t1", 50),    RegistryValueChange::Integer("_t2", 100),
        RegistryValueChange::Integer("_t3", 200),   RegistryValueChange::Integer("_t4", 300),
        RegistryValueChange::String("_g1", "Iza"),  RegistryValueChange::String("_g2", "Ola"),
        RegistryValueChange::String("_g3", "Ala"),  RegistryValueChange::String("_g4", "Ela"),
        RegistryValueChange::Integer("IlePoz", 4)};
    for (auto& change : added)
        change.key = "Lista";
    std::vector<RegistryValueChange> record = {RegistryValueChange::String("Version", "2.1.0.0"),
                                               RegistryValueChange::String("Path", "C:\\Gry\\Paweł\\sudoku.exe"),
                                               RegistryValueChange::Integer("LastTime", 0)};
    record[2].key = "Lista";
    std::vector<RegistryValueChange> emptied = {RegistryValueChange::Remove("_g1"), RegistryValueChange::Remove("_t1"),
                                                RegistryValueChange::Integer("IlePoz", 0)};
    for (auto& change : emptied)
        change.key = "Lista";
    const std::string seeds[] = {
        registryjournal::Encode(registryjournal::Prepare(added, against)),
        registryjournal::Encode(registryjournal::Prepare(record, against)),
        registryjournal::Encode(registryjournal::Prepare(emptied, against)),
        registryjournal::Encode(registryjournal::Prepare(added, elsewhere)),
    };
    for (std::size_t i = 0; i < std::size(seeds); ++i) {
        std::ofstream(std::string(argv[1]) + "/journal-" + std::to_string(i), std::ios::binary) << seeds[i];
        std::ofstream(std::string(argv[2]) + "/journal-" + std::to_string(i) + ".reg", std::ios::binary)
            << hivefile::Export(Hive(seeds[i]).Hive());
    }
    return 0;
}

#else

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string journal(reinterpret_cast<const char*>(data), size);
    const HiveModel before = Hive(journal);
    HiveModel after = before;
    after.CompleteJournals();
    if (!hivefile::Parse(hivefile::Export(after.Hive())))
        fuzzing::Fail("the hive cannot be written after the journal");

    // A value that is no journal stays; a journal goes, and with it either
    // nothing else changes or every change of its batch is in, nothing more.
    HiveModel expected = before;
    const auto decoded = registryjournal::Decode(journal);
    const auto keyOf = [&](std::size_t key) {
        return decoded->keys[key].empty() ? std::string(Record) : std::string(Record) + "\\" + decoded->keys[key];
    };
    if (registryjournal::IsJournal(journal)) {
        expected.Remove(Record, registryjournal::ValueName);
        if (decoded && registryjournal::StillApplies(*decoded, [&](const std::string& key) {
                return before.ValuesOf(key.empty() ? std::string(Record) : std::string(Record) + "\\" + key);
            })) {
            for (const auto& change : decoded->changes) {
                if (registryjournal::Find(after.ValuesOf(keyOf(change.key)), change.name) != change.after)
                    fuzzing::Fail("a change of the batch is not in");
                if (change.after)
                    expected.Set(keyOf(change.key), change.name, *after.Find(keyOf(change.key), change.name));
                else
                    expected.Remove(keyOf(change.key), change.name);
            }
        }
    }
    if (fuzzing::ValuesOf(after.Hive()) != fuzzing::ValuesOf(expected.Hive()))
        fuzzing::Fail("the journal changed more than its batch, or a journal that does not apply changed a value");
    return 0;
}

#endif
