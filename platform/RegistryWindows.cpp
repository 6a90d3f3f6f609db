// The registry accessor on the real Windows registry, through the wide-character API.
#include "Registry.h"

#include <windows.h>

#include <functional>
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

// "\Software\Kalvora\" -> "Software\Kalvora": the API wants neither end's separator.
std::string_view TrimSeparators(std::string_view key)
{
    while (!key.empty() && key.front() == '\\')
        key.remove_prefix(1);
    while (!key.empty() && key.back() == '\\')
        key.remove_suffix(1);
    return key;
}

std::string WriteFailure(const std::string& name)
{
    return "Failed to set data for '" + name + "'";
}

// Where the private registry of an explicit hive lives: a key of its own under
// the current user, named after the hive's file, so each test's hive is apart
// from the player's data and from every other hive.
std::wstring PrivateRootKey(const std::filesystem::path& hiveFile)
{
    std::wstring name = std::filesystem::absolute(hiveFile).lexically_normal().wstring();
    for (auto& c : name) {
        if (c == L'\\')
            c = L'/';
    }
    // A key name may hold at most 255 characters; keep the distinctive end and a digest.
    if (name.size() > 200) {
        const auto digest = std::hash<std::wstring>{}(name);
        name = std::to_wstring(digest) + L"~" + name.substr(name.size() - 160);
    }
    return L"Software\\Kalvora\\Sudoku hives\\" + name;
}

// The registry itself has no transactions here: two running copies of the game
// could otherwise interleave the several writes of one best-results insertion.
// An accessor holds this per-hive mutex from its first OpenKey until it is
// released, as the Linux hive's file lock does. A mutex is re-entrant for its
// owning thread, so two accessors of the single user-interface thread never
// wait for each other.
std::wstring MutexName(const std::filesystem::path& hiveFile)
{
    std::wstring name = L"Local\\Kalvora.Sudoku.Registry";
    if (!hiveFile.empty()) {
        const auto file = std::filesystem::absolute(hiveFile).lexically_normal().wstring();
        name += L"." + std::to_wstring(std::hash<std::wstring>{}(file));
    }
    return name;
}

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

} // namespace

// ---------------------------------------------------------------------------

struct RegistryAccessor::State
{
    HKEY root = HKEY_CURRENT_USER;
    bool ownsRoot = false; // the private key of an explicit hive
    HKEY current = nullptr;
    std::string currentPath;
    std::filesystem::path hiveFile;
    HANDLE mutex = nullptr;
    bool locked = false;

    void Lock()
    {
        if (locked)
            return;
        if (mutex == nullptr) {
            mutex = CreateMutexW(nullptr, FALSE, MutexName(hiveFile).c_str());
            if (mutex == nullptr)
                throw RegistryError("Cannot lock the registry");
        }
        const DWORD wait = WaitForSingleObject(mutex, INFINITE);
        // An abandoned mutex (a copy of the game that died holding it) is ours now.
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
        return (current != nullptr && !key.starts_with('\\')) ? current : root;
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

RegistryAccessor::RegistryAccessor(const std::filesystem::path& hiveFile)
    : m_state(std::make_unique<State>())
{
    m_state->hiveFile = hiveFile;
    HKEY root = nullptr;
    const LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, PrivateRootKey(hiveFile).c_str(), 0, nullptr,
                                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &root, nullptr);
    if (status != ERROR_SUCCESS)
        throw RegistryError("Cannot open the registry for '" + hiveFile.string() + "'");
    m_state->root = root;
    m_state->ownsRoot = true;
}

RegistryAccessor::~RegistryAccessor()
{
    CloseKey();
    if (m_state->ownsRoot)
        RegCloseKey(m_state->root);
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
    LONG status;
    if (canCreate) {
        status = RegCreateKeyExW(base, wideKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                 nullptr, &opened, nullptr);
    } else {
        status = RegOpenKeyExW(base, wideKey.c_str(), 0, KEY_ALL_ACCESS, &opened);
    }
    // A key the user may only read (its access rules say so) is still read, as a
    // read-only hive file is; each write to it then fails and says so.
    if (status == ERROR_ACCESS_DENIED)
        status = RegOpenKeyExW(base, wideKey.c_str(), 0, KEY_READ, &opened);
    if (status != ERROR_SUCCESS)
        return false; // the key that was open stays open

    std::string path = m_state->FullPath(key, trimmed);
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
    const std::wstring wideName = Widen(name);
    // The value may change between asking its size and reading it: retry until it fits.
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (!m_state->Query(name, type, size))
            throw RegistryError("Value '" + name + "' does not exist");
        if (type != REG_SZ)
            throw RegistryError("Value '" + name + "' is not a string");

        // Room for a terminator the stored data may lack.
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
        DWORD bytes = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
        const LONG status = RegQueryValueExW(m_state->current, wideName.c_str(), nullptr, &type,
                                             reinterpret_cast<BYTE*>(buffer.data()), &bytes);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS || type != REG_SZ)
            throw RegistryError("Cannot read value '" + name + "'");

        std::size_t length = bytes / sizeof(wchar_t);
        if (length > 0 && buffer[length - 1] == L'\0')
            --length; // the stored terminator
        return Narrow(std::wstring_view(buffer.data(), length));
    }
    throw RegistryError("Cannot read value '" + name + "'");
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
    bool valid = true;
    const std::wstring text = Widen(utf8, &valid);
    if (m_state->current == nullptr || !valid)
        throw RegistryError(WriteFailure(name));
    const std::wstring wideName = Widen(name);
    // The terminating NUL is part of the stored data, as for any REG_SZ.
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    if (RegSetValueExW(m_state->current, wideName.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(text.c_str()), bytes)
        != ERROR_SUCCESS)
        throw RegistryError(WriteFailure(name));
}

void RegistryAccessor::WriteInteger(const std::string& name, std::int32_t value)
{
    if (m_state->current == nullptr)
        throw RegistryError(WriteFailure(name));
    const std::wstring wideName = Widen(name);
    const auto data = static_cast<DWORD>(value);
    if (RegSetValueExW(m_state->current, wideName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                       sizeof(data))
        != ERROR_SUCCESS)
        throw RegistryError(WriteFailure(name));
}

namespace {

// A value as it was before a batch changed it, to be put back if the batch fails.
struct SavedValue
{
    std::wstring name;
    bool existed = false;
    DWORD type = 0;
    std::vector<BYTE> data;
};

bool Save(HKEY key, const std::wstring& name, SavedValue& saved)
{
    saved.name = name;
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD size = 0;
        LONG status = RegQueryValueExW(key, name.c_str(), nullptr, &saved.type, nullptr, &size);
        if (status == ERROR_FILE_NOT_FOUND) {
            saved.existed = false;
            return true;
        }
        if (status != ERROR_SUCCESS)
            return false;
        saved.data.assign(size, 0);
        status = RegQueryValueExW(key, name.c_str(), nullptr, &saved.type, saved.data.data(), &size);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            return false;
        saved.data.resize(size);
        saved.existed = true;
        return true;
    }
    return false;
}

void Restore(HKEY key, const SavedValue& saved)
{
    if (saved.existed)
        RegSetValueExW(key, saved.name.c_str(), 0, saved.type, saved.data.data(),
                       static_cast<DWORD>(saved.data.size()));
    else
        RegDeleteValueW(key, saved.name.c_str());
}

} // namespace

void RegistryAccessor::WriteValues(const std::vector<RegistryValueChange>& changes)
{
    // The accessor holds the hive's mutex from OpenKey on, so no other copy of
    // the game sees the values half changed; what is left is a failure part-way.
    if (!changes.empty())
        m_state->Lock();
    std::vector<SavedValue> changed;
    for (const auto& change : changes) {
        SavedValue saved;
        bool ok = m_state->current != nullptr && Save(m_state->current, Widen(change.name), saved);
        if (ok) {
            try {
                switch (change.kind) {
                case RegistryValueChange::Kind::String: WriteString(change.name, change.text); break;
                case RegistryValueChange::Kind::Integer: WriteInteger(change.name, change.number); break;
                case RegistryValueChange::Kind::Remove:
                    if (saved.existed)
                        ok = RegDeleteValueW(m_state->current, saved.name.c_str()) == ERROR_SUCCESS;
                    break;
                }
            } catch (const RegistryError&) {
                ok = false;
            }
        }
        if (!ok) {
            for (auto it = changed.rbegin(); it != changed.rend(); ++it)
                Restore(m_state->current, *it);
            throw RegistryError(WriteFailure(change.name));
        }
        changed.push_back(std::move(saved));
    }
}

bool RegistryAccessor::DeleteKey(const std::string& key)
{
    const std::string_view trimmed = TrimSeparators(key);
    // An empty name would make RegDeleteTreeW empty the base key itself (the whole
    // user hive when no key is open).
    if (trimmed.empty())
        return false;
    m_state->Lock();
    const std::wstring wideKey = Widen(trimmed);
    return RegDeleteTreeW(m_state->BaseFor(key), wideKey.c_str()) == ERROR_SUCCESS;
}

std::filesystem::path RegistryAccessor::HivePath() const
{
    return m_state->hiveFile;
}
