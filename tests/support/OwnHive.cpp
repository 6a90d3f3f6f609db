// A test's own hive: a configuration folder on Linux, a private key standing in for HKEY_CURRENT_USER on Windows.
#include "OwnHive.h"

#include <stdexcept>

#ifdef _WIN32

#include <QString>

#include <windows.h>
#include <sddl.h>

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

void Dump(HKEY key, const std::wstring& path, std::wstring& out)
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
            Dump(subkey, path + L"\\" + name, out);
            RegCloseKey(subkey);
        }
    }
}

} // namespace

struct OwnHive::State
{
    static inline OwnHive::State* active = nullptr;
    static inline int made = 0;

    State* previous = active;
    // Where the keys of this hive live (the real HKEY_CURRENT_USER, or the hive
    // in force before this one), and their names there.
    HKEY parent = nullptr;
    std::wstring name;
    std::wstring refusingName;
    HKEY root = nullptr; // stands in for HKEY_CURRENT_USER while in force

    void Stand(HKEY key) { Check(RegOverridePredefKey(HKEY_CURRENT_USER, key), "RegOverridePredefKey"); }
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
    s.name = std::wstring(HivesKey) + L"\\" + base + L" " + std::to_wstring(GetCurrentProcessId()) + L"."
        + std::to_wstring(++State::made);
    s.parent = s.previous ? s.previous->root : HKEY_CURRENT_USER;
    RegDeleteTreeW(s.parent, s.name.c_str());
    Check(RegCreateKeyExW(s.parent, s.name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                          &s.root, nullptr),
          "RegCreateKeyExW");
    s.Stand(s.root);
    State::active = &s;
}

OwnHive::~OwnHive()
{
    State& s = *m_state;
    State::active = s.previous;
    RegOverridePredefKey(HKEY_CURRENT_USER, s.previous ? s.previous->root : nullptr);
    RegCloseKey(s.root);
    if (!s.refusingName.empty()) {
        Reopen(s.parent, s.refusingName);
        RegDeleteTreeW(s.parent, s.refusingName.c_str());
    }
    RegDeleteTreeW(s.parent, s.name.c_str());
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

QByteArray OwnHive::Contents() const
{
    std::wstring out;
    Dump(m_state->root, L"HKEY_CURRENT_USER", out);
    return QString::fromStdWString(out).toUtf8();
}

#else

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

struct OwnHive::State
{
    QTemporaryDir folder;
    QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    bool hadPrevious = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
};

OwnHive::OwnHive()
    : m_state(std::make_unique<State>())
{
    if (!m_state->folder.isValid())
        throw std::runtime_error("cannot make a configuration folder");
    qputenv("XDG_CONFIG_HOME", m_state->folder.path().toLocal8Bit());
}

OwnHive::~OwnHive()
{
    if (m_state->hadPrevious)
        qputenv("XDG_CONFIG_HOME", m_state->previous);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

void OwnHive::RefuseWrites()
{
    // Every change is saved through a temporary copy beside the hive; a folder
    // in its place makes each save fail, and the hive stays as it was.
    QDir(m_state->folder.path()).mkpath(QStringLiteral("Kalvora/Sudoku.reg.tmp"));
}

QByteArray OwnHive::Contents() const
{
    QFile hive(m_state->folder.filePath(QStringLiteral("Kalvora/Sudoku.reg")));
    return hive.open(QIODevice::ReadOnly) ? hive.readAll() : QByteArray();
}

#endif
