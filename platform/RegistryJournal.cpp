// The redo journal that makes a batch of registry writes all or nothing against a killed program; no registry access.
#include "RegistryJournal.h"

#include <algorithm>
#include <set>

namespace registryjournal {

namespace {

constexpr std::string_view Mark = "KJ01";
constexpr std::uint32_t TypeString = 1;
constexpr std::uint32_t TypeDWord = 4;

// FNV-1a, 64 bits: a fingerprint of values, not a defence against forgery.
class Digest
{
public:
    Digest& Bytes(std::string_view bytes)
    {
        for (const char c : bytes) {
            m_value ^= static_cast<unsigned char>(c);
            m_value *= 0x100000001b3ull;
        }
        return *this;
    }
    Digest& Number(std::uint64_t n)
    {
        for (int i = 0; i < 8; ++i) {
            const char byte = static_cast<char>((n >> (8 * i)) & 0xFF);
            Bytes(std::string_view(&byte, 1));
        }
        return *this;
    }
    Digest& Text(std::string_view text) { return Number(text.size()).Bytes(text); }
    std::uint64_t Value() const { return m_value; }

private:
    std::uint64_t m_value = 0xcbf29ce484222325ull;
};

std::uint64_t DigestOf(const std::optional<Stored>& value)
{
    if (!value)
        return Digest().Bytes("absent").Value();
    return Digest().Number(value->type).Text(value->data).Value();
}

bool IsChanged(const Journal& journal, std::size_t key, std::string_view name)
{
    return std::any_of(journal.changes.begin(), journal.changes.end(),
                       [&](const Change& change) { return change.key == key && SameName(change.name, name); });
}

// The values of a key that the journal does not change, in one fingerprint.
std::uint64_t Untouched(const Journal& journal, std::size_t key, const KeyValues& values)
{
    std::vector<std::pair<std::string, const Stored*>> kept;
    for (const auto& [name, value] : values)
        if (!SameName(name, ValueName) && !IsChanged(journal, key, name))
            kept.emplace_back(registrynames::FoldName(name), &value);
    std::sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    Digest digest;
    for (const auto& [name, value] : kept)
        digest.Text(name).Number(value->type).Text(value->data);
    return digest.Value();
}

// ---------------------------------------------------------------- bytes

void PutNumber(std::string& out, std::uint64_t n, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((n >> (8 * i)) & 0xFF);
}

void PutText(std::string& out, std::string_view text)
{
    PutNumber(out, text.size(), 4);
    out += text;
}

// Reads what Encode wrote; every read checks the bytes left first.
class Reader
{
public:
    explicit Reader(std::string_view bytes)
        : m_bytes(bytes)
    {
    }
    std::size_t Left() const { return m_bytes.size(); }
    bool Number(std::uint64_t& n, int bytes)
    {
        if (m_bytes.size() < static_cast<std::size_t>(bytes))
            return false;
        n = 0;
        for (int i = bytes - 1; i >= 0; --i)
            n = n << 8 | static_cast<unsigned char>(m_bytes[static_cast<std::size_t>(i)]);
        m_bytes.remove_prefix(static_cast<std::size_t>(bytes));
        return true;
    }
    bool Text(std::string& text)
    {
        std::uint64_t size = 0;
        if (!Number(size, 4) || size > m_bytes.size())
            return false;
        text.assign(m_bytes.substr(0, size));
        m_bytes.remove_prefix(size);
        return true;
    }

private:
    std::string_view m_bytes;
};

// What a `[...]` line of the hive file can hold, one level down.
bool ValidSubkey(std::string_view key, bool own)
{
    if (own)
        return key.empty();
    return !key.empty() && key.size() <= 255 && std::none_of(key.begin(), key.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7f || c == '\\' || c == '[' || c == ']';
    });
}

} // namespace

std::optional<Stored> Find(const KeyValues& values, std::string_view name)
{
    std::optional<Stored> found;
    for (const auto& [valueName, value] : values)
        if (SameName(valueName, name))
            found = value;
    return found;
}

std::optional<Stored> After(const RegistryValueChange& change)
{
    switch (change.kind) {
    case RegistryValueChange::Kind::String: // as it reads back: up to a NUL in it
        return Stored{TypeString, change.text.substr(0, change.text.find('\0'))};
    case RegistryValueChange::Kind::Integer: {
        std::string bytes;
        PutNumber(bytes, static_cast<std::uint32_t>(change.number), 4);
        return Stored{TypeDWord, bytes};
    }
    case RegistryValueChange::Kind::Remove: break;
    }
    return std::nullopt;
}

Journal Prepare(const std::vector<RegistryValueChange>& changes, const ValuesOf& valuesOf)
{
    // The last change of each value, in the order of those last changes.
    std::vector<const RegistryValueChange*> last;
    for (const auto& change : changes) {
        std::erase_if(last, [&](const RegistryValueChange* earlier) {
            return SameName(earlier->key, change.key) && SameName(earlier->name, change.name);
        });
        last.push_back(&change);
    }

    Journal journal;
    journal.keys.emplace_back();
    std::vector<KeyValues> values{valuesOf("")};
    for (const RegistryValueChange* change : last) {
        std::size_t key = 0;
        while (key < journal.keys.size() && !SameName(journal.keys[key], change->key))
            ++key;
        if (key == journal.keys.size()) {
            journal.keys.push_back(change->key);
            values.push_back(valuesOf(change->key));
        }
        const auto now = Find(values[key], change->name);
        auto after = After(*change);
        if (now == after)
            continue;
        journal.changes.push_back(Change{key, change->name, std::move(after), DigestOf(now)});
    }
    for (std::size_t key = 0; key < journal.keys.size(); ++key)
        journal.untouched.push_back(Untouched(journal, key, values[key]));
    return journal;
}

bool StillApplies(const Journal& journal, const ValuesOf& valuesOf)
{
    std::vector<KeyValues> values;
    for (std::size_t key = 0; key < journal.keys.size(); ++key) {
        values.push_back(valuesOf(journal.keys[key]));
        if (Untouched(journal, key, values.back()) != journal.untouched[key])
            return false;
    }
    return std::all_of(journal.changes.begin(), journal.changes.end(), [&](const Change& change) {
        const auto now = Find(values[change.key], change.name);
        return now == change.after || DigestOf(now) == change.before;
    });
}

std::string Encode(const Journal& journal)
{
    std::string out(Mark);
    PutNumber(out, journal.keys.size(), 4);
    for (std::size_t key = 0; key < journal.keys.size(); ++key) {
        PutText(out, journal.keys[key]);
        PutNumber(out, journal.untouched[key], 8);
    }
    PutNumber(out, journal.changes.size(), 4);
    for (const Change& change : journal.changes) {
        PutNumber(out, change.key, 4);
        PutText(out, change.name);
        PutNumber(out, change.before, 8);
        out += change.after ? '\1' : '\0';
        if (change.after) {
            PutNumber(out, change.after->type, 4);
            PutText(out, change.after->data);
        }
    }
    PutNumber(out, Digest().Bytes(out).Value(), 8);
    return out;
}

bool IsJournal(std::string_view bytes)
{
    return bytes.substr(0, Mark.size()) == Mark;
}

std::optional<Journal> Decode(std::string_view bytes)
{
    if (!IsJournal(bytes) || bytes.size() < Mark.size() + 8)
        return std::nullopt;
    // The whole structure is read before the checksum is looked at, so every
    // kind of damage goes through the same bounds checks.
    const std::string_view body = bytes.substr(0, bytes.size() - 8);
    Reader reader(body.substr(Mark.size()));
    Journal journal;
    std::uint64_t count = 0;
    // A key takes at least 12 bytes, a change at least 17: no count can ask
    // for more room than the bytes give.
    if (!reader.Number(count, 4) || count == 0 || count > reader.Left() / 12)
        return std::nullopt;
    for (std::uint64_t i = 0; i < count; ++i) {
        std::string key;
        std::uint64_t untouched = 0;
        if (!reader.Text(key) || !reader.Number(untouched, 8))
            return std::nullopt;
        // The journal's own key first, then subkeys one level down, each once.
        if ((i == 0) != key.empty() || !ValidSubkey(key, i == 0) ||
            std::any_of(journal.keys.begin(), journal.keys.end(),
                        [&](const std::string& known) { return SameName(known, key); }))
            return std::nullopt;
        journal.keys.push_back(std::move(key));
        journal.untouched.push_back(untouched);
    }
    if (!reader.Number(count, 4) || count > reader.Left() / 17)
        return std::nullopt;
    std::set<std::pair<std::size_t, std::string>> names;
    for (std::uint64_t i = 0; i < count; ++i) {
        Change change;
        std::uint64_t key = 0;
        std::uint64_t present = 0;
        if (!reader.Number(key, 4) || key >= journal.keys.size() || !reader.Text(change.name) ||
            !reader.Number(change.before, 8) || !reader.Number(present, 1) || present > 1)
            return std::nullopt;
        change.key = static_cast<std::size_t>(key);
        if (present) {
            std::uint64_t type = 0;
            Stored after;
            if (!reader.Number(type, 4) || !reader.Text(after.data))
                return std::nullopt;
            after.type = static_cast<std::uint32_t>(type);
            change.after = std::move(after);
        }
        // A journal never writes over itself, names each value once, and
        // stores text as it reads back.
        if (SameName(change.name, ValueName) ||
            (change.after && change.after->type == TypeString && change.after->data.find('\0') != std::string::npos))
            return std::nullopt;
        if (!names.insert({change.key, registrynames::FoldName(change.name)}).second)
            return std::nullopt;
        journal.changes.push_back(std::move(change));
    }
    std::uint64_t checksum = 0;
    if (reader.Left() != 0 || !Reader(bytes.substr(body.size())).Number(checksum, 8) ||
        checksum != Digest().Bytes(body).Value())
        return std::nullopt;
    return journal;
}

} // namespace registryjournal
