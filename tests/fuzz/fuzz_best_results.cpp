// Any bytes as the player's hive: the best-results list reads what it can,
// ranked (a batch left half-written finished first, when its journal still
// applies); adding a result stores a sound list, keeps every entry that is not
// pushed past place 10, and never loses a value stored outside the list.
#include "HiveValues.h"

#include "AtomicFile.h"
#include "HiveModel.h"
#include "Registry.h"
#include "BestResults.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <iterator>
#include <vector>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const fs::path& Folder()
{
    static const fs::path folder = [] {
        const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        const fs::path path = base / ("sudoku-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(path);
        return path;
    }();
    return folder;
}

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Values of every key but the list itself, which Add is allowed to change.
fuzzing::HiveValues OutsideList(const hivefile::Hive& hive)
{
    auto values = fuzzing::ValuesOf(hive);
    values.erase(hivefile::FoldName("HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku\\Lista"));
    return values;
}

// The list as stored must be sound: places 1 … IlePoz valid and ranked,
// LastTime the longest time, nothing after place IlePoz.
void CheckStoredList(const fs::path& hive)
{
    RegistryAccessor registry(hive);
    if (!registry.OpenKey("Software\\Kalvora\\Sudoku\\Lista", false))
        fuzzing::Fail("the list is gone after adding a result");
    if (registry.GetDataType("IlePoz") != RegistryValueType::DWord ||
        registry.GetDataType("LastTime") != RegistryValueType::DWord)
        fuzzing::Fail("the counters are not integers after adding a result");
    const std::int32_t count = registry.ReadInteger("IlePoz");
    if (count < 1 || count > BestResults::Capacity)
        fuzzing::Fail("IlePoz is out of range after adding a result");
    std::int32_t previous = 0;
    for (int n = 1; n <= BestResults::Capacity; ++n) {
        const std::string name = "_g" + std::to_string(n);
        const std::string time = "_t" + std::to_string(n);
        if (n > count) {
            if (registry.ValueExists(name) || registry.ValueExists(time))
                fuzzing::Fail("a place after IlePoz was left behind");
            continue;
        }
        if (registry.GetDataType(name) != RegistryValueType::String ||
            registry.GetDataType(time) != RegistryValueType::DWord)
            fuzzing::Fail("a place up to IlePoz is not a valid entry");
        const std::int32_t seconds = registry.ReadInteger(time);
        if (n > 1 && seconds < previous)
            fuzzing::Fail("the stored list is not ranked");
        previous = seconds;
    }
    if (registry.ReadInteger("LastTime") != previous)
        fuzzing::Fail("LastTime is not the longest time");
}

bool SameItem(const BestResults::Item& a, const BestResults::Item& b)
{
    return a.name == b.name && a.seconds == b.seconds;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const fs::path hive = Folder() / "Sudoku.reg";
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(Folder()))
        fs::remove(entry.path(), ignored);
    {
        std::ofstream out(hive, std::ios::binary);
        out << text;
    }
    // What the game reads: a batch left half-written (its journal) finished or dropped.
    auto before = hivefile::Parse(text);
    if (before) {
        HiveModel model(std::move(*before));
        model.CompleteJournals();
        before = model.Hive();
    }

    BestResults list(hive);
    std::vector<BestResults::Item> earlier;
    for (int n = 1; n <= BestResults::Capacity; ++n)
        if (const auto item = list.Entry(n))
            earlier.push_back(*item);
        else if (n < BestResults::Capacity && list.Entry(n + 1))
            fuzzing::Fail("the list read has a gap");
    if (list.Entry(0) || list.Entry(BestResults::Capacity + 1))
        fuzzing::Fail("a place outside 1 to 10 was read");
    const int count = list.Count();
    if (count != static_cast<int>(earlier.size()))
        fuzzing::Fail("the count is not the number of entries read");
    for (std::size_t i = 1; i < earlier.size(); ++i)
        if (earlier[i].seconds < earlier[i - 1].seconds)
            fuzzing::Fail("the list read is not ranked");
    const std::int32_t t = size > 0 ? static_cast<std::int32_t>(data[0]) * 97 : 1;
    const bool admitted = list.Admits(t);
    if (admitted != (count < BestResults::Capacity || t < earlier.back().seconds))
        fuzzing::Fail("admission does not follow the list read");

    const BestResults::Item newcomer{"Zażółć gęślą", t};
    list.Add(newcomer.name, newcomer.seconds);

    const std::string afterText = ReadAll(hive);
    const auto after = hivefile::Parse(afterText);
    if (!after)
        fuzzing::Fail("the hive cannot be read after adding a result");
    if (afterText != text && afterText.substr(0, 2) != "\xFF\xFE")
        fuzzing::Fail("the hive is not written as regedit writes it");
    if (before) {
        if (OutsideList(*before) != OutsideList(*after))
            fuzzing::Fail("adding a result changed a value outside the list");
    } else if (ReadAll(atomicfile::KeptPath(hive, 0)) != text) {
        fuzzing::Fail("an unreadable hive was replaced without being kept aside");
    }
    CheckStoredList(hive);

    // What was on the list stays on it, in its order, with the newcomer after
    // any equal times; only what is pushed past place 10 goes.
    std::vector<BestResults::Item> expected = earlier;
    std::size_t place = 0;
    while (place < expected.size() && expected[place].seconds <= t)
        ++place;
    expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(place), newcomer);
    if (expected.size() > static_cast<std::size_t>(BestResults::Capacity))
        expected.pop_back();
    if (list.Count() != static_cast<int>(expected.size()))
        fuzzing::Fail("the count after adding is wrong");
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto item = list.Entry(static_cast<int>(i) + 1);
        if (!item || !SameItem(*item, expected[i]))
            fuzzing::Fail(SameItem(expected[i], newcomer) ? "an admitted result is not at its place"
                                                          : "an entry on the list was lost or moved");
    }
    if (admitted != (place < static_cast<std::size_t>(BestResults::Capacity)))
        fuzzing::Fail("admission and the place of the result disagree");
    return 0;
}
