// Access to the current user's registry hive: keys, REG_SZ and REG_DWORD values.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// Raised when the hive cannot be read or written, or a value is missing or of
// another type than asked for. A failed write says "Failed to set data for '<name>'".
class RegistryError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A REG_DWORD counts as DWord only when it holds exactly four bytes; any other
// size is Other, like any type the game does not read.
enum class RegistryValueType { None, String, ExpandString, Binary, DWord, MultiString, QWord, Other };

// One value of a batch that WriteValues stores at once: a string, an integer,
// or the removal of the value.
struct RegistryValueChange
{
    enum class Kind { String, Integer, Remove };

    std::string name;
    Kind kind = Kind::Remove;
    std::string text;        // Kind::String, UTF-8
    std::int32_t number = 0; // Kind::Integer

    static RegistryValueChange String(std::string name, std::string utf8)
    {
        return {std::move(name), Kind::String, std::move(utf8), 0};
    }
    static RegistryValueChange Integer(std::string name, std::int32_t value)
    {
        return {std::move(name), Kind::Integer, {}, value};
    }
    static RegistryValueChange Remove(std::string name) { return {std::move(name), Kind::Remove, {}, 0}; }
};

// One handle on the hive, in the manner of the classic registry wrapper: open a
// key (creating it if asked), read and write its values, close. On Linux the
// hive is a `.reg` text file; the accessor locks it exclusively from the first
// OpenKey until CloseKey or destruction, reads it afresh on opening and saves
// every write atomically before the write returns. The file is written as
// regedit exports it (UTF-16LE, CRLF) and read in that form or in UTF-8. Every value type in the file
// is kept and written back; lines it does not understand are kept verbatim in
// place. A file that is not a hive at all (or over 8 MiB) is never overwritten:
// before the first write it is kept as Sudoku.reg.corrupt (.corrupt.1, .2 … when
// older copies exist) and a fresh hive takes its place.
class RegistryAccessor
{
public:
    // The current user's hive ($XDG_CONFIG_HOME/Kalvora/Sudoku.reg on Linux).
    RegistryAccessor();
    // An explicit hive file (tests, tools). On Windows it names a private key of the
    // current user's registry instead, kept apart from the game's own data.
    explicit RegistryAccessor(const std::filesystem::path& hiveFile);
    ~RegistryAccessor();

    RegistryAccessor(const RegistryAccessor&) = delete;
    RegistryAccessor& operator=(const RegistryAccessor&) = delete;

    // Backslash-separated key, relative to the open key, or to the root when no
    // key is open or the key starts with a backslash. Returns false when the key
    // does not exist and canCreate is false. Throws RegistryError when the hive
    // cannot be locked, read or (on creation) written.
    bool OpenKey(const std::string& key, bool canCreate);
    void CloseKey();
    // The open key's path without the leading backslash ("" when none is open).
    std::string CurrentPath() const;

    bool ValueExists(const std::string& name) const;
    RegistryValueType GetDataType(const std::string& name) const;

    // Throw RegistryError when the value is missing or of another type.
    std::string ReadString(const std::string& name) const;
    std::int32_t ReadInteger(const std::string& name) const;

    // Throw RegistryError("Failed to set data for '<name>'") when the value
    // cannot be stored; earlier writes stay.
    void WriteString(const std::string& name, const std::string& utf8);
    void WriteInteger(const std::string& name, std::int32_t value);
    // All the changes to the open key, or none: on Linux one atomic save of the
    // hive; on Windows one value after another under the hive's lock, and when
    // one fails, those already changed are put back as they were. A failure
    // throws RegistryError("Failed to set data for '<name>'") naming the value
    // that failed (on Linux the first of the batch). Removing a value that is
    // not there is no change.
    void WriteValues(const std::vector<RegistryValueChange>& changes);

    // Deletes the key (relative as in OpenKey) with all its values and subkeys.
    // Returns false when it does not exist.
    bool DeleteKey(const std::string& key);

    // The hive file this accessor works on (on Windows the one it was given, if any).
    std::filesystem::path HivePath() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};
