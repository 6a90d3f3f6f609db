// A test's own hive: a configuration folder on Linux, a private key standing in for HKEY_CURRENT_USER on Windows.
#include "OwnHive.h"

#include <stdexcept>

#ifdef _WIN32

#include <windows.h>
#include <sddl.h>

#include <algorithm>
#include <string_view>

#include <string>
#include <vector>

namespace {

const wchar_t* const HivesKey = L"Software\\Kalvora\\Sudoku hives";

void Check(LONG status, const char* what)
{
    if (status != ERROR_SUCCESS)
        throw std::runtime_error(std::string(what) + " failed with error " + std::to_string(status));
}

// Read access and the right to change the rules again (to clean up), nothing else.
const wchar_t* const ReadOnly = L"D:P(A;;0x60019;;;WD)";
const wchar_t* const Open = L"D:P(A;;KA;;;WD)";

void SetRules(HKEY key, const wchar_t* sddl)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr))
        throw std::runtime_error("cannot make a security descriptor");
    const LONG status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
    LocalFree(descriptor);
    Check(status, "RegSetKeySecurity");
}

std::vector<std::wstring> Subkeys(HKEY key)
{
    std::vector<std::wstring> names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

struct Value
{
    std::wstring name;
    DWORD type = 0;
    std::vector<BYTE> data;
};

std::vector<Value> Values(HKEY key)
{
    std::vector<Value> values;
    for (DWORD index = 0;; ++index) {
        wchar_t name[16384];
        DWORD length = 16384;
        DWORD size = 0;
        Value value;
        if (RegEnumValueW(key, index, name, &length, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
            break;
        value.name.assign(name, length);
        value.data.resize(size);
        Check(RegQueryValueExW(key, value.name.c_str(), nullptr, nullptr, value.data.data(), &size),
              "RegQueryValueExW");
        value.data.resize(size);
        values.push_back(std::move(value));
    }
    return values;
}

// A volatile copy, read-only to everyone. Creating a key that outlives the
// session under a volatile one is refused, so nothing can be added either.
// Wine lets any key be deleted whatever its rules say; a subkey nobody may
// read stops the deletion of the keys above it before it starts, as the rules
// themselves do on Windows.
void CopyRefusingWrites(HKEY from, HKEY to)
{
    for (const Value& value : Values(from))
        Check(RegSetValueExW(to, value.name.c_str(), 0, value.type, value.data.data(),
                             static_cast<DWORD>(value.data.size())),
              "RegSetValueExW");
    for (const std::wstring& name : Subkeys(from)) {
        HKEY source = nullptr, copy = nullptr;
        Check(RegOpenKeyExW(from, name.c_str(), 0, KEY_READ, &source), "RegOpenKeyExW");
        Check(RegCreateKeyExW(to, name.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &copy,
                              nullptr),
              "RegCreateKeyExW");
        CopyRefusingWrites(source, copy);
        RegCloseKey(source);
        RegCloseKey(copy);
    }
    HKEY guard = nullptr;
    Check(RegCreateKeyExW(to, L"~ no deleting", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &guard,
                          nullptr),
          "RegCreateKeyExW");
    SetRules(guard, L"D:P(A;;WD;;;WD)");
    RegCloseKey(guard);
    SetRules(to, ReadOnly);
}

// Gives the rights back to the copy, so it can be deleted.
void Reopen(HKEY parent, const std::wstring& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, name.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS)
        return;
    SetRules(key, Open);
    RegCloseKey(key);
    if (RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    for (const std::wstring& subkey : Subkeys(key))
        Reopen(key, subkey);
    RegCloseKey(key);
}

void DumpKey(HKEY key, const std::wstring& path, std::wstring& out)
{
    out += L"[" + path + L"]\n";
    for (const Value& value : Values(key)) {
        out += L"\"" + value.name + L"\"=" + std::to_wstring(value.type) + L":";
        for (BYTE b : value.data) {
            out += L"0123456789abcdef"[b >> 4];
            out += L"0123456789abcdef"[b & 15];
        }
        out += L"\n";
    }
    for (const std::wstring& name : Subkeys(key)) {
        HKEY subkey = nullptr;
        if (RegOpenKeyExW(key, name.c_str(), 0, KEY_READ, &subkey) == ERROR_SUCCESS) {
            DumpKey(subkey, path + L"\\" + name, out);
            RegCloseKey(subkey);
        }
    }
}

std::string Utf8(std::wstring_view wide)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string text(static_cast<std::size_t>(std::max(length, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr, nullptr);
    return text;
}

} // namespace

struct OwnHive::State
{
    static inline OwnHive::State* active = nullptr;
    static inline int made = 0;

    State* previous = active;
    bool joined = false;
    // Where the keys of this hive live (the real HKEY_CURRENT_USER, or the hive
    // in force before this one), and their names there.
    HKEY parent = nullptr;
    bool ownsParent = false;
    std::wstring name;
    std::wstring refusingName;
    HKEY root = nullptr; // stands in for HKEY_CURRENT_USER while in force

    void Stand(HKEY key) { Check(RegOverridePredefKey(HKEY_CURRENT_USER, key), "RegOverridePredefKey"); }
    // The key above the hive's own: a handle taken before HKEY_CURRENT_USER
    // stands for this hive (the name would then mean the hive itself).
    void Place()
    {
        if (previous) {
            parent = previous->root;
        } else {
            Check(RegCreateKeyExW(HKEY_CURRENT_USER, HivesKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                  nullptr, &parent, nullptr),
                  "RegCreateKeyExW");
            ownsParent = true;
        }
    }
    // The key's path under the real HKEY_CURRENT_USER.
    std::wstring FullName() const
    {
        return (previous ? previous->FullName() : std::wstring(HivesKey)) + L"\\" + name;
    }
};

OwnHive::OwnHive()
    : m_state(std::make_unique<State>())
{
    State& s = *m_state;
    // Named after the program and the process, so parallel tests never meet;
    // wine-run.sh clears what a crashed test left behind.
    wchar_t program[MAX_PATH] = L"test";
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring base = program;
    base = base.substr(base.find_last_of(L"\\/") + 1);
    s.name = base + L" " + std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(++State::made);
    s.Place();
    RegDeleteTreeW(s.parent, s.name.c_str());
    Check(RegCreateKeyExW(s.parent, s.name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                          &s.root, nullptr),
          "RegCreateKeyExW");
    s.Stand(s.root);
    State::active = &s;
}

OwnHive::OwnHive(const std::string& name)
    : m_state(std::make_unique<State>())
{
    State& s = *m_state;
    s.joined = true;
    const std::wstring fullName = std::filesystem::path(std::u8string(name.begin(), name.end())).wstring();
    s.parent = s.previous ? s.previous->root : HKEY_CURRENT_USER;
    Check(RegOpenKeyExW(s.parent, fullName.c_str(), 0, KEY_ALL_ACCESS, &s.root), "RegOpenKeyExW");
    s.Stand(s.root);
    State::active = &s;
}

OwnHive::~OwnHive()
{
    State& s = *m_state;
    State::active = s.previous;
    RegOverridePredefKey(HKEY_CURRENT_USER, s.previous ? s.previous->root : nullptr);
    RegCloseKey(s.root);
    if (!s.joined) {
        if (!s.refusingName.empty()) {
            Reopen(s.parent, s.refusingName);
            RegDeleteTreeW(s.parent, s.refusingName.c_str());
        }
        RegDeleteTreeW(s.parent, s.name.c_str());
    }
    if (s.ownsParent)
        RegCloseKey(s.parent);
}

std::string OwnHive::Name() const
{
    return Utf8(m_state->refusingName.empty() ? m_state->FullName() : m_state->FullName() + L" read-only");
}

void OwnHive::RefuseWrites()
{
    State& s = *m_state;
    if (!s.refusingName.empty())
        return;
    s.refusingName = s.name + L" read-only";
    HKEY copy = nullptr;
    Check(RegCreateKeyExW(s.parent, s.refusingName.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                          &copy, nullptr),
          "RegCreateKeyExW");
    CopyRefusingWrites(s.root, copy);
    RegCloseKey(s.root);
    s.root = copy;
    if (State::active == &s)
        s.Stand(s.root);
}

std::string OwnHive::Dump() const
{
    std::wstring out;
    DumpKey(m_state->root, L"HKEY_CURRENT_USER", out);
    return Utf8(out);
}

#else

#include "AtomicFile.h"
#include "TestFolder.h"

#include <cstdlib>

struct OwnHive::State
{
    std::unique_ptr<TestFolder> folder; // none when joined
    std::filesystem::path path;
    std::string previous;
    bool hadPrevious = false;

    void Point()
    {
        if (const char* before = std::getenv("XDG_CONFIG_HOME")) {
            previous = before;
            hadPrevious = true;
        }
        ::setenv("XDG_CONFIG_HOME", path.c_str(), 1);
    }
};

OwnHive::OwnHive()
    : m_state(std::make_unique<State>())
{
    m_state->folder = std::make_unique<TestFolder>();
    m_state->path = m_state->folder->Path();
    m_state->Point();
}

OwnHive::OwnHive(const std::string& name)
    : m_state(std::make_unique<State>())
{
    m_state->path = name;
    m_state->Point();
}

OwnHive::~OwnHive()
{
    if (m_state->hadPrevious)
        ::setenv("XDG_CONFIG_HOME", m_state->previous.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

std::string OwnHive::Name() const
{
    return m_state->path.string();
}

std::filesystem::path OwnHive::File() const
{
    return m_state->path / "Kalvora" / "Sudoku.reg";
}

void OwnHive::RefuseWrites()
{
    // Every change is saved through a temporary copy beside the hive; a folder
    // in its place makes each save fail, and the hive stays as it was.
    std::filesystem::create_directories(atomicfile::TemporaryPath(File()));
}

std::string OwnHive::Dump() const
{
    return ReadWholeFile(File());
}

#endif
