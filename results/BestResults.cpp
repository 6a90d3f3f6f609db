// The ten best solving times, kept under Software\Kalvora\Sudoku\Lista in the user's hive.
#include "results/BestResults.h"

#include "platform/Registry.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr char ListKey[] = "\\Software\\Kalvora\\Sudoku\\Lista";

std::string NameValue(int n) { return "_g" + std::to_string(n); }
std::string TimeValue(int n) { return "_t" + std::to_string(n); }

bool IsInteger(const RegistryAccessor& registry, const std::string& name)
{
    return registry.GetDataType(name) == RegistryValueType::DWord;
}

// An entry counts only with a plain-string name and an integer time; anything
// else (an expandable string, raw bytes, a half-written pair) is skipped.
std::optional<BestResults::Item> ReadEntry(const RegistryAccessor& registry, int n)
{
    if (n < 1 || registry.GetDataType(NameValue(n)) != RegistryValueType::String ||
        !IsInteger(registry, TimeValue(n)))
        return std::nullopt;
    return BestResults::Item{registry.ReadString(NameValue(n)), registry.ReadInteger(TimeValue(n))};
}

// The counters, or nothing while either is missing or not an integer: then
// the list takes no new results.
struct Counters
{
    std::int32_t count;
    std::int32_t lastTime;
};

std::optional<Counters> ReadCounters(const RegistryAccessor& registry)
{
    if (!IsInteger(registry, "IlePoz") || !IsInteger(registry, "LastTime"))
        return std::nullopt;
    return Counters{registry.ReadInteger("IlePoz"), registry.ReadInteger("LastTime")};
}

} // namespace

BestResults::BestResults() = default;

BestResults::BestResults(std::filesystem::path hiveFile)
    : m_hiveFile(std::move(hiveFile))
{
}

namespace {

// Each operation holds the hive for itself alone, from opening the list to returning.
std::unique_ptr<RegistryAccessor> OpenList(const std::filesystem::path& hiveFile, bool& opened)
{
    auto registry = hiveFile.empty() ? std::make_unique<RegistryAccessor>()
                                     : std::make_unique<RegistryAccessor>(hiveFile);
    opened = registry->OpenKey(ListKey, true);
    return registry;
}

} // namespace

bool BestResults::Admits(std::int32_t t)
{
    bool opened = false;
    const auto registry = OpenList(m_hiveFile, opened);
    if (!opened)
        return false;
    const auto counters = ReadCounters(*registry);
    if (!counters)
        return false;
    if (counters->count >= 0 && counters->count < Capacity)
        return true;
    return counters->count == Capacity && t < counters->lastTime;
}

void BestResults::Add(const std::string& name, std::int32_t t)
{
    if (name.empty())
        return; // a result is never stored without a name
    bool opened = false;
    const auto registry = OpenList(m_hiveFile, opened);
    if (!opened)
        return;
    const auto counters = ReadCounters(*registry);
    if (!counters)
        return;

    if (counters->count >= 0 && counters->count < Capacity) {
        // While the list fills, results are appended in the order they come.
        const int n = counters->count + 1;
        registry->WriteString(NameValue(n), name);
        registry->WriteInteger(TimeValue(n), t);
        registry->WriteInteger("IlePoz", n);
        if (t > counters->lastTime)
            registry->WriteInteger("LastTime", t);
        return;
    }
    if (counters->count != Capacity)
        return;

    // The full list: the valid entries and the new one, sorted by time (equal
    // times keep their order, so an older result stays ahead of a new one),
    // written back from place 1; the slowest falls off.
    std::vector<Item> items;
    for (int n = 1; n <= Capacity; ++n)
        if (auto item = ReadEntry(*registry, n))
            items.push_back(std::move(*item));
    items.push_back(Item{name, t});
    std::stable_sort(items.begin(), items.end(),
                     [](const Item& a, const Item& b) { return a.seconds < b.seconds; });
    const int kept = std::min(static_cast<int>(items.size()), Capacity);
    for (int n = 1; n <= kept; ++n) {
        const Item& item = items[static_cast<std::size_t>(n - 1)];
        registry->WriteInteger(TimeValue(n), item.seconds);
        registry->WriteString(NameValue(n), item.name);
    }
    registry->WriteInteger("LastTime", items[static_cast<std::size_t>(kept - 1)].seconds);
}

std::optional<BestResults::Item> BestResults::Entry(int n)
{
    bool opened = false;
    const auto registry = OpenList(m_hiveFile, opened);
    if (!opened)
        return std::nullopt;
    return ReadEntry(*registry, n);
}

int BestResults::Count()
{
    bool opened = false;
    const auto registry = OpenList(m_hiveFile, opened);
    if (!opened || !IsInteger(*registry, "IlePoz"))
        return 0;
    return registry->ReadInteger("IlePoz");
}

void BestResults::ClearAll()
{
    auto registry = m_hiveFile.empty() ? std::make_unique<RegistryAccessor>()
                                       : std::make_unique<RegistryAccessor>(m_hiveFile);
    registry->OpenKey("\\Software\\Kalvora\\Sudoku", true);
    registry->DeleteKey("\\Software\\Kalvora\\Sudoku\\Lista");
    registry->OpenKey(ListKey, true);
    registry->WriteInteger("IlePoz", 0);
    registry->WriteInteger("LastTime", 0);
}

void BestResults::Initialise()
{
    bool opened = false;
    const auto registry = OpenList(m_hiveFile, opened);
    registry->WriteInteger("LastTime", 0);
    registry->WriteInteger("IlePoz", 0);
}
