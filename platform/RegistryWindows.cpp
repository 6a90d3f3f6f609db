// The registry accessor on the real Windows registry, through the wide-character API.
#include "Registry.h"

#include "RegistryJournal.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

// ---------------------------------------------------------------------------
// Text: the game holds UTF-8, the registry stores UTF-16, so Polish letters come
// back intact whatever the system's code page.

namespace {

std::wstring Widen(std::string_view utf8, bool* valid = nullptr)
{
    if (valid)
        *valid = true;
    if (utf8.empty())
        return {};
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                           static_cast<int>(utf8.size()), nullptr, 0);
    if (length <= 0) {
        if (valid)
            *valid = false;
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                        wide.data(), length);
    return wide;
}

std::string Narrow(std::wstring_view wide)
{
    if (wide.empty())
        return {};
    // No strict flag: a stray surrogate in a hand-edited value reads as U+FFFD
    // rather than making the value unreadable.
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                            length, nullptr, nullptr);
    return utf8;
}

bool IsUtf8(std::string_view text)
{
    bool valid = true;
    Widen(text, &valid);
    return valid;
}

// REG_SZ data as text: up to its first NUL, which is usually its terminator.
std::string TextOf(const BYTE* data, std::size_t bytes)
{
    std::wstring text(bytes / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), data, text.size() * sizeof(wchar_t));
    return Narrow(std::wstring_view(text.data(), std::min(text.find(L'\0'), text.size())));
}

// "\Software\Kalvora\" -> "Software\Kalvora": the API wants neither end's separator.
std::string_view TrimSeparators(std::string_view key)
{
    while (!key.empty() && key.front() == '\\')
        key.remove_prefix(1);
    while (!key.empty() && key.back() == '\\')
        key.remove_suffix(1);
    return key;
}

// The registry itself has no transactions here: two running copies of the game
// could otherwise interleave the several writes of one best-results insertion.
// An accessor holds this mutex of the user's session from its first OpenKey
// until it is released, as the Linux hive's file lock does. A mutex is
// re-entrant for its owning thread, so two accessors of the single
// user-interface thread never wait for each other.
constexpr wchar_t MutexName[] = L"Local\\Kalvora.Sudoku.Registry";

RegistryValueType TypeOf(DWORD type, DWORD size)
{
    switch (type) {
    case REG_SZ:
        return RegistryValueType::String;
    case REG_EXPAND_SZ:
        return RegistryValueType::ExpandString;
    case REG_BINARY:
        return RegistryValueType::Binary;
    case REG_DWORD:
        // Any other size cannot be read as an integer: such a value is skipped
        // like any other of a wrong type.
        return size == sizeof(DWORD) ? RegistryValueType::DWord : RegistryValueType::Other;
    case REG_MULTI_SZ:
        return RegistryValueType::MultiString;
    case REG_QWORD:
        return RegistryValueType::QWord;
    default:
        return RegistryValueType::Other;
    }
}

// ---------------------------------------------------------------------------
// Values as stored, for the journal and for putting a value back.

struct RawValue
{
    DWORD type = 0;
    std::vector<BYTE> data;
};

// `value` is nothing when the value is not there; anything but ERROR_SUCCESS is a failure to read it.
LONG QueryRaw(HKEY key, const std::wstring& name, std::optional<RawValue>& value)
{
    value.reset();
    // The value may change between asking its size and reading it: retry until it fits.
    for (int attempt = 0; attempt < 8; ++attempt) {
        RawValue raw;
        DWORD size = 0;
        LONG status = RegQueryValueExW(key, name.c_str(), nullptr, &raw.type, nullptr, &size);
        if (status == ERROR_SUCCESS) {
            raw.data.resize(size);
            status = RegQueryValueExW(key, name.c_str(), nullptr, &raw.type, raw.data.data(), &size);
        }
        if (status == ERROR_MORE_DATA)
            continue;
        if (status == ERROR_FILE_NOT_FOUND)
            return ERROR_SUCCESS;
        if (status == ERROR_SUCCESS) {
            raw.data.resize(size);
            value = std::move(raw);
        }
        return status;
    }
    return ERROR_MORE_DATA;
}

registryjournal::Stored StoredOf(DWORD type, const BYTE* data, std::size_t size)
{
    if (type == REG_SZ)
        return {REG_SZ, TextOf(data, size)};
    return {type, std::string(reinterpret_cast<const char*>(data), size)};
}

using RawValues = std::vector<std::pair<std::string, RawValue>>;

// Every value of a key (none when there is no key), as the journal compares
// them, and as stored when `raw` is given.
registryjournal::KeyValues ValuesOf(HKEY key, RawValues* raw = nullptr)
{
    registryjournal::KeyValues values;
    DWORD longestName = 0;
    DWORD largestData = 0;
    if (key == nullptr || RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                           &longestName, &largestData, nullptr, nullptr) != ERROR_SUCCESS)
        return values;
    std::vector<wchar_t> name(longestName + 1);
    std::vector<BYTE> data(largestData + 1);
    for (DWORD index = 0;;) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = 0;
        const LONG status = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &size);
        if (status == ERROR_MORE_DATA && data.size() < (64u << 20)) {
            // Grown since it was asked; the hive's lock keeps the game's own copies out.
            name.resize(std::max<std::size_t>(name.size() * 2, 16384));
            data.resize(data.size() * 2);
            continue;
        }
        if (status != ERROR_SUCCESS)
            return values;
        values.emplace_back(Narrow(std::wstring_view(name.data(), nameLength)), StoredOf(type, data.data(), size));
        if (raw)
            raw->emplace_back(values.back().first, RawValue{type, std::vector<BYTE>(data.data(), data.data() + size)});
        ++index;
    }
}

LONG Delete(HKEY key, const std::wstring& name)
{
    const LONG status = RegDeleteValueW(key, name.c_str());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

LONG PutRaw(HKEY key, const std::wstring& name, const std::optional<RawValue>& value)
{
    if (!value)
        return Delete(key, name);
    return RegSetValueExW(key, name.c_str(), 0, value->type, value->data.data(), static_cast<DWORD>(value->data.size()));
}

// Stores what a batch or a journal says a value holds; nothing removes it.
bool Put(HKEY key, const std::string& name, const std::optional<registryjournal::Stored>& value)
{
    const std::wstring wideName = Widen(name);
    if (value && value->type == REG_SZ) {
        bool valid = true;
        const std::wstring text = Widen(value->data, &valid);
        // The terminating NUL is part of the stored data, as for any REG_SZ.
        const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
        return valid && RegSetValueExW(key, wideName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                       bytes) == ERROR_SUCCESS;
    }
    std::optional<RawValue> raw;
    if (value)
        raw = RawValue{value->type, std::vector<BYTE>(value->data.begin(), value->data.end())};
    return PutRaw(key, wideName, raw) == ERROR_SUCCESS;
}

LONG OpenForWriting(HKEY base, const std::wstring& key, HKEY& opened)
{
    LONG status = RegOpenKeyExW(base, key.c_str(), 0, KEY_ALL_ACCESS, &opened);
    // A key the user may only read (its access rules say so) is still read, as a
    // read-only hive file is; each write to it then fails and says so.
    if (status == ERROR_ACCESS_DENIED)
        status = RegOpenKeyExW(base, key.c_str(), 0, KEY_READ, &opened);
    return status;
}

// The keys a batch or a journal writes to: its own key ("") and subkeys of it,
// opened on demand, made when a value is to be stored there.
class BatchKeys
{
public:
    explicit BatchKeys(HKEY key)
        : m_key(key)
    {
    }
    ~BatchKeys()
    {
        for (const auto& subkey : m_subkeys)
            if (subkey.second != nullptr)
                RegCloseKey(subkey.second);
    }
    BatchKeys(const BatchKeys&) = delete;
    BatchKeys& operator=(const BatchKeys&) = delete;

    // Nothing when the subkey is not there and is not to be made, or cannot be.
    HKEY Handle(const std::string& subkey, bool create)
    {
        if (subkey.empty())
            return m_key;
        auto found = std::find_if(m_subkeys.begin(), m_subkeys.end(),
                                  [&](const auto& known) { return registryjournal::SameName(known.first, subkey); });
        if (found == m_subkeys.end())
            found = m_subkeys.insert(m_subkeys.end(), {subkey, nullptr});
        if (found->second == nullptr) {
            const std::wstring name = Widen(subkey);
            if (OpenForWriting(m_key, name, found->second) != ERROR_SUCCESS && create)
                RegCreateKeyExW(m_key, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                &found->second, nullptr);
        }
        return found->second;
    }

    // The values of "" or a subkey, kept as stored for Before.
    registryjournal::KeyValues Values(const std::string& subkey)
    {
        auto& raw = m_raw[subkey];
        raw.clear();
        return ValuesOf(Handle(subkey, false), &raw);
    }
    // A value as the last Values of its key found it; nothing when it was not there.
    std::optional<RawValue> Before(const std::string& subkey, const std::string& name) const
    {
        for (const auto& [key, values] : m_raw)
            if (registryjournal::SameName(key, subkey))
                for (const auto& [valueName, value] : values)
                    if (registryjournal::SameName(valueName, name))
                        return value;
        return std::nullopt;
    }

private:
    HKEY m_key;
    std::vector<std::pair<std::string, HKEY>> m_subkeys;
    std::map<std::string, RawValues> m_raw;
};

const std::wstring& JournalName()
{
    static const std::wstring name = Widen(registryjournal::ValueName);
    return name;
}

// Finishes a batch that a copy of the game left half-written in this key when it
// was killed, if the keys still hold what the batch was written against;
// otherwise only removes its journal. Throws when it cannot do either.
void CompleteJournal(HKEY key)
{
    std::optional<RawValue> raw;
    if (QueryRaw(key, JournalName(), raw) != ERROR_SUCCESS || !raw || raw->type != REG_BINARY)
        return;
    const std::string_view bytes(reinterpret_cast<const char*>(raw->data.data()), raw->data.size());
    if (!registryjournal::IsJournal(bytes))
        return; // not ours
    BatchKeys keys(key);
    const auto journal = registryjournal::Decode(bytes);
    if (journal && registryjournal::StillApplies(*journal, [&](const std::string& k) { return keys.Values(k); })) {
        for (const auto& change : journal->changes) {
            HKEY target = keys.Handle(journal->keys[change.key], change.after.has_value());
            if (target == nullptr && !change.after)
                continue; // nothing to remove
            if (target == nullptr || !Put(target, change.name, change.after))
                throw RegistryError::WriteFailure(change.name);
        }
    }
    if (Delete(key, JournalName()) != ERROR_SUCCESS)
        throw RegistryError::WriteFailure(std::string(registryjournal::ValueName));
}

} // namespace

// ---------------------------------------------------------------------------

struct RegistryAccessor::State
{
    HKEY current = nullptr;
    std::string currentPath;
    HANDLE mutex = nullptr;
    bool locked = false;

    void Lock()
    {
        if (locked)
            return;
        if (mutex == nullptr) {
            mutex = CreateMutexW(nullptr, FALSE, MutexName);
            if (mutex == nullptr)
                throw RegistryError("Cannot lock the registry");
        }
        const DWORD wait = WaitForSingleObject(mutex, INFINITE);
        // An abandoned mutex is ours now: a copy of the game died holding it,
        // perhaps half-way through a batch. That batch's journal is finished by
        // the next OpenKey of its key, as it is when nobody saw the mutex
        // abandoned (the dead copy was the only one running, or the computer went
        // down): the journal, not the mutex, is what tells.
        if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED)
            throw RegistryError("Cannot lock the registry");
        locked = true;
    }

    void Unlock()
    {
        if (locked) {
            ReleaseMutex(mutex);
            locked = false;
        }
    }

    // The key a path names: the open one for a relative path, else the root.
    HKEY BaseFor(std::string_view key) const
    {
        return (current != nullptr && !key.starts_with('\\')) ? current : HKEY_CURRENT_USER;
    }

    std::string FullPath(std::string_view key, std::string_view trimmed) const
    {
        if (current != nullptr && !key.starts_with('\\') && !currentPath.empty())
            return trimmed.empty() ? currentPath : currentPath + "\\" + std::string(trimmed);
        return std::string(trimmed);
    }

    // Type and size of a value of the open key; false when there is none.
    bool Query(const std::string& name, DWORD& type, DWORD& size) const
    {
        if (current == nullptr)
            return false;
        const std::wstring wideName = Widen(name);
        return RegQueryValueExW(current, wideName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    }
};

RegistryAccessor::RegistryAccessor()
    : m_state(std::make_unique<State>())
{
}

RegistryAccessor::~RegistryAccessor()
{
    CloseKey();
    if (m_state->mutex != nullptr)
        CloseHandle(m_state->mutex);
}

bool RegistryAccessor::OpenKey(const std::string& key, bool canCreate)
{
    m_state->Lock();
    const std::string_view trimmed = TrimSeparators(key);
    const std::wstring wideKey = Widen(trimmed);
    HKEY base = m_state->BaseFor(key);
    HKEY opened = nullptr;
    LONG status = OpenForWriting(base, wideKey, opened);
    if (status == ERROR_FILE_NOT_FOUND && canCreate)
        status = RegCreateKeyExW(base, wideKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                 &opened, nullptr);
    if (status != ERROR_SUCCESS)
        return false; // the key that was open stays open

    std::string path = m_state->FullPath(key, trimmed);
    try {
        // A batch in the key above may have written to this one too.
        if (const auto cut = path.rfind('\\'); cut != std::string::npos) {
            HKEY parent = nullptr;
            if (OpenForWriting(HKEY_CURRENT_USER, Widen(path.substr(0, cut)), parent) == ERROR_SUCCESS) {
                struct Close
                {
                    HKEY key;
                    ~Close() { RegCloseKey(key); }
                } close{parent};
                CompleteJournal(parent);
            }
        }
        CompleteJournal(opened);
    } catch (const RegistryError&) {
        RegCloseKey(opened);
        throw;
    }
    if (m_state->current != nullptr)
        RegCloseKey(m_state->current); // the lock stays: the accessor is still in use
    m_state->current = opened;
    m_state->currentPath = std::move(path);
    return true;
}

void RegistryAccessor::CloseKey()
{
    if (m_state->current != nullptr) {
        RegCloseKey(m_state->current);
        m_state->current = nullptr;
    }
    m_state->currentPath.clear();
    m_state->Unlock();
}

std::string RegistryAccessor::CurrentPath() const
{
    return m_state->currentPath;
}

bool RegistryAccessor::ValueExists(const std::string& name) const
{
    DWORD type = 0;
    DWORD size = 0;
    return m_state->Query(name, type, size);
}

RegistryValueType RegistryAccessor::GetDataType(const std::string& name) const
{
    DWORD type = 0;
    DWORD size = 0;
    return m_state->Query(name, type, size) ? TypeOf(type, size) : RegistryValueType::None;
}

std::string RegistryAccessor::ReadString(const std::string& name) const
{
    std::optional<RawValue> raw;
    if (m_state->current == nullptr || QueryRaw(m_state->current, Widen(name), raw) != ERROR_SUCCESS)
        throw RegistryError("Cannot read value '" + name + "'");
    if (!raw)
        throw RegistryError("Value '" + name + "' does not exist");
    if (raw->type != REG_SZ)
        throw RegistryError("Value '" + name + "' is not a string");
    return TextOf(raw->data.data(), raw->data.size());
}

std::int32_t RegistryAccessor::ReadInteger(const std::string& name) const
{
    if (m_state->current == nullptr)
        throw RegistryError("Value '" + name + "' does not exist");
    const std::wstring wideName = Widen(name);
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    const LONG status = RegQueryValueExW(m_state->current, wideName.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(&value), &size);
    if (status == ERROR_FILE_NOT_FOUND)
        throw RegistryError("Value '" + name + "' does not exist");
    if ((status != ERROR_SUCCESS && status != ERROR_MORE_DATA) || type != REG_DWORD || size != sizeof(value))
        throw RegistryError("Value '" + name + "' is not an integer");
    return static_cast<std::int32_t>(value);
}

void RegistryAccessor::WriteString(const std::string& name, const std::string& utf8)
{
    // One value is written whole by the registry itself.
    if (m_state->current == nullptr || !IsUtf8(name) || !Put(m_state->current, name, registryjournal::Stored{REG_SZ, utf8}))
        throw RegistryError::WriteFailure(name);
}

void RegistryAccessor::WriteInteger(const std::string& name, std::int32_t value)
{
    if (m_state->current == nullptr || !IsUtf8(name) ||
        !Put(m_state->current, name, registryjournal::After(RegistryValueChange::Integer(name, value))))
        throw RegistryError::WriteFailure(name);
}

void RegistryAccessor::WriteValues(const std::vector<RegistryValueChange>& changes)
{
    if (changes.empty())
        return;
    m_state->Lock();
    HKEY current = m_state->current;
    // What the registry cannot hold faithfully fails before anything is written:
    // no key open, text that is not UTF-8, a value of the journal's name.
    if (current == nullptr)
        throw RegistryError::WriteFailure(changes.front().name);
    for (const auto& change : changes) {
        if (!IsUtf8(change.name) || (change.kind == RegistryValueChange::Kind::String && !IsUtf8(change.text)) ||
            !IsUtf8(change.key) || change.key.find('\\') != std::string::npos ||
            registryjournal::SameName(change.name, registryjournal::ValueName))
            throw RegistryError::WriteFailure(change.name);
    }
    BatchKeys keys(current);
    std::vector<std::string> subkeys;
    for (const auto& change : changes) {
        if (change.key.empty())
            continue;
        // A subkey that is missing is made when a value is to go there.
        const bool stores = change.kind != RegistryValueChange::Kind::Remove;
        if (keys.Handle(change.key, stores) == nullptr && stores)
            throw RegistryError::WriteFailure(change.name);
        if (std::none_of(subkeys.begin(), subkeys.end(),
                         [&](const std::string& known) { return registryjournal::SameName(known, change.key); }))
            subkeys.push_back(change.key);
    }
    // A batch a killed copy left in a subkey goes in before this one is measured against it.
    for (const auto& subkey : subkeys)
        if (HKEY handle = keys.Handle(subkey, false))
            CompleteJournal(handle);
    const auto journal = registryjournal::Prepare(changes, [&](const std::string& key) { return keys.Values(key); });
    if (journal.changes.empty())
        return;

    // What each value held, to put back when a write fails.
    std::vector<std::optional<RawValue>> before;
    for (const auto& change : journal.changes)
        before.push_back(keys.Before(journal.keys[change.key], change.name));
    // The registry writes one value whole; several need the journal first.
    const bool journaled = journal.changes.size() > 1;
    if (journaled) {
        const std::string bytes = registryjournal::Encode(journal);
        if (RegSetValueExW(current, JournalName().c_str(), 0, REG_BINARY, reinterpret_cast<const BYTE*>(bytes.data()),
                           static_cast<DWORD>(bytes.size()))
            != ERROR_SUCCESS)
            throw RegistryError::WriteFailure(changes.front().name);
    }
    for (std::size_t i = 0; i < journal.changes.size(); ++i) {
        const auto& change = journal.changes[i];
        if (Put(keys.Handle(journal.keys[change.key], false), change.name, change.after))
            continue;
        // Put back what the batch changed already. When that fails too, the
        // journal stays, and whoever opens the key next finishes the batch.
        bool restored = true;
        for (std::size_t j = i; j-- > 0;) {
            const auto& earlier = journal.changes[j];
            restored = PutRaw(keys.Handle(journal.keys[earlier.key], false), Widen(earlier.name), before[j]) ==
                           ERROR_SUCCESS &&
                       restored;
        }
        if (restored && journaled)
            Delete(current, JournalName());
        throw RegistryError::WriteFailure(change.name);
    }
    if (journaled && Delete(current, JournalName()) != ERROR_SUCCESS)
        throw RegistryError::WriteFailure(std::string(registryjournal::ValueName));
}

bool RegistryAccessor::DeleteKey(const std::string& key)
{
    const std::string_view trimmed = TrimSeparators(key);
    // An empty name would make RegDeleteTreeW empty the base key itself (the whole
    // user hive when no key is open).
    if (trimmed.empty())
        return false;
    m_state->Lock();
    const LONG status = RegDeleteTreeW(m_state->BaseFor(key), Widen(trimmed).c_str());
    if (status == ERROR_FILE_NOT_FOUND)
        return false;
    if (status != ERROR_SUCCESS)
        throw RegistryError::WriteFailure(std::string(trimmed));
    return true;
}
