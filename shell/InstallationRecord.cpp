// The installation record the game keeps under Software\Kalvora\Sudoku at start-up.
#include "InstallationRecord.h"

#include "Registry.h"
#include "BestResults.h"

#include <system_error>

namespace {

// The record holds a path as UTF-8 text, whatever the system's code page, and
// it is read back the same way: std::filesystem::path from char8_t, wide on Windows.
std::string PathText(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path PathOf(const std::string& text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// The record counts only when Path is a plain string naming an existing file;
// an expandable string, a number or a vanished file all mean "write it again".
bool RecordPresent(RegistryAccessor& registry)
{
    if (registry.GetDataType("Path") != RegistryValueType::String)
        return false;
    std::error_code error;
    try {
        const std::filesystem::path recorded = PathOf(registry.ReadString("Path"));
        return !recorded.empty() && std::filesystem::exists(recorded, error) &&
               !std::filesystem::is_directory(recorded, error);
    } catch (const std::filesystem::filesystem_error&) {
        return false; // text that names no path at all
    }
}

} // namespace

void EnsureInstallationRecord(RegistryAccessor& registry, const std::filesystem::path& executable,
                              const std::string& versionText, const std::string& title)
{
    // The key is closed (and the hive released) however this ends.
    struct Close
    {
        RegistryAccessor& registry;
        ~Close() { registry.CloseKey(); }
    } close{registry};

    // Whether the key could be opened shows only at the first write.
    const bool opened = registry.OpenKey("\\Software\\Kalvora\\Sudoku", true);
    if (RecordPresent(registry))
        return;
    // Version, Name and Path, then the list: a new one starts with LastTime 0,
    // then IlePoz 0; a reinstalled game keeps the player's results, its counters
    // rebuilt from them. All of it is one batch, stored whole or not at all.
    std::vector<RegistryValueChange> changes = {RegistryValueChange::String("Version", versionText),
                                                RegistryValueChange::String("Name", title),
                                                RegistryValueChange::String("Path", PathText(executable))};
    if (opened && registry.OpenKey("Lista", true)) {
        for (auto change : BestResults::ChangesToRebuild(registry)) {
            change.key = "Lista";
            changes.push_back(std::move(change));
        }
        registry.OpenKey("\\Software\\Kalvora\\Sudoku", false);
    }
    registry.WriteValues(changes);
}
