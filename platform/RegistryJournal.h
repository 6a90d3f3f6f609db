// The redo journal that makes a batch of registry writes all or nothing against a killed program; no registry access.
#pragma once

#include "Registry.h"
#include "RegistryNames.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A batch of several values cannot be written in one registry call, but one
// value can. So the batch is first written whole as one value, the journal, in
// the key the batch was given to; then the values themselves; then the journal
// is removed. A program killed in between leaves the journal, and whoever opens
// that key (or a key below it) next finishes the batch from it, or drops it
// when the keys no longer hold what the batch was written against (another
// program, an older version of the game or a hand edit changed them since):
// every changed value must hold what it held before or what the batch stores,
// every other value of the keys what it held then.
//
// The journal is a REG_BINARY named "Journal" beginning with "KJ01". Programs
// that do not know it (older versions of the game) leave it alone; a value of
// that name that does not begin so is not a journal and is never touched.
namespace registryjournal {

inline constexpr std::string_view ValueName = "Journal";

// A value as the journal compares it: its registry type (REG_SZ 1, REG_DWORD 4 …)
// and its data: for REG_SZ the UTF-8 text it reads as, for a four-byte REG_DWORD
// those bytes, anything else as stored.
struct Stored
{
    std::uint32_t type = 0;
    std::string data;
    bool operator==(const Stored&) const = default;
};

// The values of one key (the journal among them or not: it is left out).
using KeyValues = std::vector<std::pair<std::string, Stored>>;
// The values of the journal's own key ("") or of one of its direct subkeys;
// no values when the key does not exist.
using ValuesOf = std::function<KeyValues(const std::string& key)>;

struct Change
{
    std::size_t key = 0; // index into Journal::keys
    std::string name;
    std::optional<Stored> after; // nothing: the value is removed
    std::uint64_t before = 0;    // digest of what it held when the journal was written
};

struct Journal
{
    std::vector<std::string> keys;        // "" (the journal's own key) and the subkeys written to
    std::vector<std::uint64_t> untouched; // per key: digest of its values the batch leaves alone
    std::vector<Change> changes;
};

// What a change stores: REG_SZ, REG_DWORD, or nothing for a removal.
std::optional<Stored> After(const RegistryValueChange& change);

// The journal of `changes` against the keys as they hold now. Several changes
// of one value count as the last of them; a change that stores what the value
// holds already is left out.
Journal Prepare(const std::vector<RegistryValueChange>& changes, const ValuesOf& valuesOf);
// Whether the keys still are what the journal was written against.
bool StillApplies(const Journal& journal, const ValuesOf& valuesOf);
// What a value of the keys holds now, by name; nothing when it is not there.
std::optional<Stored> Find(const KeyValues& values, std::string_view name);

std::string Encode(const Journal& journal);
// Whether stored bytes are meant as a journal (they begin with its mark).
bool IsJournal(std::string_view bytes);
// Nothing when the bytes are not a whole, unchanged journal; runs in time
// linear in the bytes whatever they hold.
std::optional<Journal> Decode(std::string_view bytes);

using registrynames::SameName;

} // namespace registryjournal
