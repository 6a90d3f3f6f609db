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

    // "Failed to set data for '<name>'": a value (or key) that could not be written.
    static RegistryError WriteFailure(const std::string& name)
    {
        return RegistryError("Failed to set data for '" + name + "'");
    }
};

// A REG_DWORD counts as DWord only when it holds exactly four bytes; any other
// size is Other, like any type the game does not read.
enum class RegistryValueType { None, String, ExpandString, Binary, DWord, MultiString, QWord, Other };

// One value of a batch that WriteValues stores at once: a string, an integer,
// or the removal of the value, in the open key or in one of its subkeys.
struct RegistryValueChange
{
    enum class Kind { String, Integer, Remove };

    std::string name;
    Kind kind = Kind::Remove;
    std::string text;        // Kind::String, UTF-8
    std::int32_t number = 0; // Kind::Integer
    std::string key;         // "" the open key, else the name of a subkey of it (one level down)

    static RegistryValueChange String(std::string name, std::string utf8)
    {
        return {std::move(name), Kind::String, std::move(utf8), 0, {}};
    }
    static RegistryValueChange Integer(std::string name, std::int32_t value)
    {
        return {std::move(name), Kind::Integer, {}, value, {}};
    }
    static RegistryValueChange Remove(std::string name) { return {std::move(name), Kind::Remove, {}, 0, {}}; }
};

// One handle on the hive, in the manner of the classic registry wrapper: open a
// key (creating it if asked), read and write its values, close. The accessor
// holds the hive for itself alone from the first OpenKey until CloseKey or
// destruction (a lock shared by every running copy of the game).
//
// On Windows it is the current user's registry (HKEY_CURRENT_USER). On Linux the
// hive is a `.reg` text file, read afresh on opening, every write saved
// atomically before it returns. The file is written as regedit exports it
// (UTF-16LE, CRLF) and read in that form or in UTF-8. Every value type in the
// file is kept and written back; lines it does not understand are kept verbatim
// in place. A file that is not a hive at all (or over 8 MiB) is never
// overwritten: before the first write it is kept as Sudoku.reg.corrupt
// (.corrupt.1, .2 … when older copies exist) and a fresh hive takes its place.
//
// A batch (WriteValues) is all or nothing even when the program is killed half-way
// (RegistryJournal.h): on Windows its journal goes in first, as one value, and
// whoever opens the key next finishes a batch left half-written; on Linux the
// one atomic save is enough, and a journal carried in from a Windows registry
// exported with regedit is finished the same way when the file is read.
class RegistryAccessor
{
public:
    // The current user's hive ($XDG_CONFIG_HOME/Kalvora/Sudoku.reg on Linux).
    RegistryAccessor();
#ifndef _WIN32
    // An explicit hive file (tests, tools).
    explicit RegistryAccessor(const std::filesystem::path& hiveFile);
#endif
    ~RegistryAccessor();

    RegistryAccessor(const RegistryAccessor&) = delete;
    RegistryAccessor& operator=(const RegistryAccessor&) = delete;

    // Backslash-separated key, relative to the open key, or to the root when no
    // key is open or the key starts with a backslash. Returns false when the key
    // does not exist and canCreate is false. A batch left half-written in the
    // key or in the key above it is finished first (or only its journal removed,
    // when the keys have changed since it was written). Throws RegistryError when
    // the hive cannot be locked, or such a batch cannot be finished.
    bool OpenKey(const std::string& key, bool canCreate);
    void CloseKey();
    // The open key's path without the leading backslash ("" when none is open).
    std::string CurrentPath() const;

    bool ValueExists(const std::string& name) const;
    RegistryValueType GetDataType(const std::string& name) const;

    // A REG_SZ reads as its text up to the first NUL it holds.
    // Throw RegistryError when the value is missing or of another type.
    std::string ReadString(const std::string& name) const;
    std::int32_t ReadInteger(const std::string& name) const;

    // Throw RegistryError("Failed to set data for '<name>'") when the value
    // cannot be stored (or no key is open); earlier writes stay.
    void WriteString(const std::string& name, const std::string& utf8);
    void WriteInteger(const std::string& name, std::int32_t value);
    // All the changes to the open key and its subkeys, or none, also when the
    // program is killed in the middle. A failure throws RegistryError("Failed to
    // set data for '<name>'") naming the first value of the batch when nothing
    // could be written, or the value that failed, after those already changed
    // were put back. Removing a value that is not there is no change.
    void WriteValues(const std::vector<RegistryValueChange>& changes);

    // Deletes the key (relative as in OpenKey) with all its values and subkeys.
    // Returns false when it does not exist; throws RegistryError("Failed to set
    // data for '<key>'") when it exists and cannot be deleted.
    bool DeleteKey(const std::string& key);

#ifndef _WIN32
    // The hive file this accessor works on.
    std::filesystem::path HivePath() const;
#endif

private:
    struct State;
    std::unique_ptr<State> m_state;
};
