// Any bytes as the player's hive: the best-results list reads what it can, and
// adding a result never loses a value stored outside the list.
#include "HiveValues.h"

#include "platform/Registry.h"
#include "results/BestResults.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
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
    const auto before = hivefile::Parse(text);

    BestResults list(hive);
    int valid = 0;
    for (int n = 0; n <= BestResults::Capacity + 1; ++n)
        valid += list.Entry(n).has_value();
    const int count = list.Count();
    const std::int32_t t = size > 0 ? static_cast<std::int32_t>(data[0]) * 97 : 1;
    if (!list.Admits(t))
        return 0;

    list.Add("Zażółć gęślą", t);

    const std::string afterText = ReadAll(hive);
    const auto after = hivefile::Parse(afterText);
    if (!after)
        fuzzing::Fail("the hive cannot be read after adding a result");
    if (before) {
        if (OutsideList(*before) != OutsideList(*after))
            fuzzing::Fail("adding a result changed a value outside the list");
    } else if (ReadAll(Folder() / "Sudoku.reg.corrupt") != text) {
        fuzzing::Fail("an unreadable hive was replaced without being kept aside");
    }

    bool found = false;
    for (int n = 1; n <= BestResults::Capacity; ++n)
        if (const auto item = list.Entry(n); item && item->name == "Zażółć gęślą" && item->seconds == t)
            found = true;
    if (!found)
        fuzzing::Fail("an admitted result is not on the list");
    if (count >= 0 && count < BestResults::Capacity && list.Count() != count + 1)
        fuzzing::Fail("the count did not grow by one");
    if (count == BestResults::Capacity && list.Count() != BestResults::Capacity)
        fuzzing::Fail("a full list changed its count");
    (void)valid;
    return 0;
}
