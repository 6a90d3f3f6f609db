// The installation record the game keeps under Software\Kalvora\Sudoku at start-up.
#include "InstallationRecord.h"

#include "Registry.h"
#include "BestResults.h"

#include <system_error>

namespace {

// The record counts only when Path is a plain string naming an existing file;
// an expandable string, a number or a vanished file all mean "write it again".
bool RecordPresent(RegistryAccessor& registry)
{
    if (!registry.ValueExists("Path") || registry.GetDataType("Path") != RegistryValueType::String)
        return false;
    std::error_code error;
    const std::filesystem::path recorded = registry.ReadString("Path");
    return !recorded.empty() && std::filesystem::exists(recorded, error) &&
           !std::filesystem::is_directory(recorded, error);
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
    registry.OpenKey("\\Software\\Kalvora\\Sudoku", true);
    if (RecordPresent(registry))
        return;
    registry.WriteString("Version", versionText);
    registry.WriteString("Name", title);
    registry.WriteString("Path", executable.string());
    // A new list starts with LastTime 0, then IlePoz 0; a reinstalled game keeps
    // the player's results, its counters rebuilt from them.
    registry.OpenKey("Lista", true);
    BestResults::Rebuild(registry);
}
