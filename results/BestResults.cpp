// The ten best solving times, kept under Software\Kalvora\Sudoku\Lista in the user's hive.
#include "BestResults.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr char ListKey[] = "\\Software\\Kalvora\\Sudoku\\Lista";

using Items = std::vector<BestResults::Item>;

std::string NameValue(int n) { return "_g" + std::to_string(n); }
std::string TimeValue(int n) { return "_t" + std::to_string(n); }

bool IsInteger(const RegistryAccessor& registry, const std::string& name)
{
    return registry.GetDataType(name) == RegistryValueType::DWord;
}

bool HoldsInteger(const RegistryAccessor& registry, const std::string& name, std::int32_t value)
{
    return IsInteger(registry, name) && registry.ReadInteger(name) == value;
}

bool HoldsString(const RegistryAccessor& registry, const std::string& name, const std::string& text)
{
    return registry.GetDataType(name) == RegistryValueType::String && registry.ReadString(name) == text;
}

// An entry counts only with a plain-string name and an integer time; anything
// else (an expandable string, raw bytes, a half-written pair) is skipped.
std::optional<BestResults::Item> ReadEntry(const RegistryAccessor& registry, int n)
{
    if (registry.GetDataType(NameValue(n)) != RegistryValueType::String || !IsInteger(registry, TimeValue(n)))
        return std::nullopt;
    return BestResults::Item{registry.ReadString(NameValue(n)), registry.ReadInteger(TimeValue(n))};
}

// The valid entries ranked by time; equal times keep the order of their places.
Items RankedEntries(const RegistryAccessor& registry)
{
    Items items;
    for (int n = 1; n <= BestResults::Capacity; ++n)
        if (auto item = ReadEntry(registry, n))
            items.push_back(std::move(*item));
    std::stable_sort(items.begin(), items.end(),
                     [](const BestResults::Item& a, const BestResults::Item& b) { return a.seconds < b.seconds; });
    return items;
}

// What must change for the open key to hold exactly `items` at places 1 … n
// with their counters: times, names, the places after n removed, then LastTime
// before IlePoz, as a new list has always been started. The batch is stored
// all or nothing, so no other copy of the game ever sees this order.
std::vector<RegistryValueChange> ChangesToStore(const RegistryAccessor& registry, const Items& items)
{
    std::vector<RegistryValueChange> changes;
    const int count = static_cast<int>(items.size());
    for (int n = 1; n <= count; ++n) {
        const auto& item = items[static_cast<std::size_t>(n - 1)];
        if (!HoldsInteger(registry, TimeValue(n), item.seconds))
            changes.push_back(RegistryValueChange::Integer(TimeValue(n), item.seconds));
    }
    for (int n = 1; n <= count; ++n) {
        const auto& item = items[static_cast<std::size_t>(n - 1)];
        if (!HoldsString(registry, NameValue(n), item.name))
            changes.push_back(RegistryValueChange::String(NameValue(n), item.name));
    }
    for (int n = count + 1; n <= BestResults::Capacity; ++n)
        for (const std::string& name : {NameValue(n), TimeValue(n)})
            if (registry.ValueExists(name))
                changes.push_back(RegistryValueChange::Remove(name));
    const std::int32_t lastTime = items.empty() ? 0 : items.back().seconds;
    if (!HoldsInteger(registry, "LastTime", lastTime))
        changes.push_back(RegistryValueChange::Integer("LastTime", lastTime));
    if (!HoldsInteger(registry, "IlePoz", count))
        changes.push_back(RegistryValueChange::Integer("IlePoz", count));
    return changes;
}

void Store(RegistryAccessor& registry, const Items& items)
{
    const auto changes = ChangesToStore(registry, items);
    if (!changes.empty())
        registry.WriteValues(changes);
}

} // namespace

BestResults::BestResults() = default;

#ifndef _WIN32
BestResults::BestResults(std::filesystem::path hiveFile)
    : m_hiveFile(std::move(hiveFile))
{
}
#endif

// Each operation holds the hive for itself alone, from opening the list to returning.
std::unique_ptr<RegistryAccessor> BestResults::Hive() const
{
#ifndef _WIN32
    if (!m_hiveFile.empty())
        return std::make_unique<RegistryAccessor>(m_hiveFile);
#endif
    return std::make_unique<RegistryAccessor>();
}

std::unique_ptr<RegistryAccessor> BestResults::OpenList(bool& opened) const
{
    auto registry = Hive();
    opened = registry->OpenKey(ListKey, true);
    return registry;
}

bool BestResults::Admits(std::int32_t t)
{
    bool opened = false;
    const auto registry = OpenList(opened);
    if (!opened)
        return false;
    const Items items = RankedEntries(*registry);
    return static_cast<int>(items.size()) < Capacity || t < items.back().seconds;
}

void BestResults::Add(const std::string& name, std::int32_t t)
{
    if (name.empty())
        return; // a result is never stored without a name
    bool opened = false;
    const auto registry = OpenList(opened);
    if (!opened)
        throw RegistryError::WriteFailure("Lista");
    Items items = RankedEntries(*registry);
    const auto place = std::upper_bound(items.begin(), items.end(), t,
                                        [](std::int32_t time, const Item& item) { return time < item.seconds; });
    items.insert(place, Item{name, t});
    if (static_cast<int>(items.size()) > Capacity)
        items.pop_back();
    Store(*registry, items);
}

std::optional<BestResults::Item> BestResults::Entry(int n)
{
    bool opened = false;
    const auto registry = OpenList(opened);
    if (!opened || n < 1)
        return std::nullopt;
    Items items = RankedEntries(*registry);
    if (n > static_cast<int>(items.size()))
        return std::nullopt;
    return std::move(items[static_cast<std::size_t>(n - 1)]);
}

int BestResults::Count()
{
    bool opened = false;
    const auto registry = OpenList(opened);
    return opened ? static_cast<int>(RankedEntries(*registry).size()) : 0;
}

void BestResults::ClearAll()
{
    const auto registry = Hive();
    // The key goes at once with every value in it (a journal too); the empty
    // list is then one batch. A kill between the two leaves no list, which
    // reads as an empty one.
    if (!registry->OpenKey("\\Software\\Kalvora\\Sudoku", true))
        throw RegistryError::WriteFailure("Lista");
    registry->DeleteKey("Lista");
    if (!registry->OpenKey("Lista", true))
        throw RegistryError::WriteFailure("IlePoz");
    registry->WriteValues({RegistryValueChange::Integer("IlePoz", 0), RegistryValueChange::Integer("LastTime", 0)});
}

void BestResults::Initialise()
{
    bool opened = false;
    const auto registry = OpenList(opened);
    Store(*registry, RankedEntries(*registry));
}

std::vector<RegistryValueChange> BestResults::ChangesToRebuild(const RegistryAccessor& list)
{
    return ChangesToStore(list, RankedEntries(list));
}
