// The registry on Linux: the current user's hive is one `.reg` text file beside a lock file.
#include "Registry.h"

#include "AtomicFile.h"
#include "HiveLock.h"
#include "HiveModel.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;
using hivefile::Value;

namespace {

// Larger files are not a hive this game wrote; they are kept aside, not read.
// UTF-16 takes two bytes a character: room for 4 MiB of text.
constexpr std::uintmax_t MaximumHiveSize = 8u * 1024u * 1024u;

fs::path DefaultHivePath()
{
    fs::path base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !home[0]) {
            if (const passwd* user = getpwuid(getuid()))
                home = user->pw_dir;
        }
        base = fs::path(home ? home : "/") / ".config";
    }
    return base / "Kalvora" / "Sudoku.reg";
}

// A key argument's part between backslashes: what a `[...]` line can hold.
bool ValidKeyName(std::string_view part)
{
    if (part.empty() || part.size() > 255)
        return false;
    for (const char c : part)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f || c == '[' || c == ']')
            return false;
    return true;
}

} // namespace

struct RegistryAccessor::State
{
    fs::path hive;
    bool locked = false;
    bool keyOpen = false;
    std::string currentKey; // below the root, "" for the root itself

    // The hive as last read or written, valid while `stamp` matches the lock's.
    bool loaded = false;
    bool readable = false;
    bool corruptOnDisk = false; // the file on disk could not be parsed
    std::uint64_t stamp = 0;
    HiveModel model;

    bool Lock()
    {
        if (!locked)
            locked = hivelock::Acquire(hive);
        return locked;
    }

    void Unlock()
    {
        if (locked)
            hivelock::Release(hive);
        locked = false;
    }

    // Reads the hive afresh unless this copy is known to be current.
    bool Load()
    {
        if (loaded && stamp == hivelock::Stamp(hive))
            return readable;
        loaded = true;
        stamp = hivelock::Stamp(hive);
        model = HiveModel{};
        auto contents = atomicfile::Read(hive, MaximumHiveSize);
        using Status = atomicfile::Contents::Status;
        readable = contents.status != Status::Unreadable; // no file yet: an empty hive
        corruptOnDisk = contents.status == Status::TooLarge;
        if (contents.status == Status::Read) {
            if (auto parsed = hivefile::Parse(contents.bytes))
                model = HiveModel(std::move(*parsed));
            else
                corruptOnDisk = true;
        }
        model.CompleteJournals();
        return readable;
    }

    bool Persist()
    {
        if (corruptOnDisk) {
            if (!atomicfile::Keep(hive))
                return false;
            corruptOnDisk = false; // kept; the file may now be replaced
        }
        if (!atomicfile::Replace(hive, hivefile::Export(model.Hive())))
            return false;
        stamp = hivelock::Touch(hive);
        return true;
    }

    // Runs an operation under the lock, taking it just for the call when no key is open.
    template <typename Operation>
    auto Locked(Operation operation) -> decltype(operation(true))
    {
        struct Release
        {
            State& state;
            bool keep;
            ~Release()
            {
                if (!keep)
                    state.Unlock();
            }
        } release{*this, locked || keyOpen};
        const bool ok = Lock() && Load();
        return operation(ok);
    }

    // A key argument as a key below the root; nothing when it is malformed.
    std::optional<std::string> Resolve(const std::string& key) const
    {
        std::string_view rest = key;
        std::string base = keyOpen ? currentKey : std::string();
        if (!rest.empty() && rest.front() == '\\') {
            base.clear();
            rest.remove_prefix(1);
        }
        if (!rest.empty() && rest.back() == '\\')
            rest.remove_suffix(1);
        if (rest.empty())
            return base;
        for (std::size_t start = 0; start <= rest.size();) {
            const std::size_t end = std::min(rest.find('\\', start), rest.size());
            if (!ValidKeyName(rest.substr(start, end - start)))
                return std::nullopt;
            start = end + 1;
        }
        if (base.empty() && rest.front() == '-')
            return std::nullopt; // would read as a deletion line in the file
        return base.empty() ? std::string(rest) : base + "\\" + std::string(rest);
    }

    const Value* FindValue(const std::string& name) const { return model.Find(currentKey, name); }

    // Every change in the model, then one atomic save: all of them reach the
    // file or none. The failure names the first value.
    void Store(const std::vector<RegistryValueChange>& changes)
    {
        if (changes.empty())
            return;
        const HiveModel before = model;
        const std::uint64_t stampBefore = stamp;
        auto fail = [&] {
            model = before;
            stamp = stampBefore;
            throw RegistryError::WriteFailure(changes.front().name);
        };
        if (!keyOpen || !Lock() || !Load())
            fail();
        for (const auto& change : changes) {
            if (!change.key.empty() && (!ValidKeyName(change.key) || change.key.find('\\') != std::string::npos))
                fail();
            std::string key = currentKey;
            if (!change.key.empty())
                key += (key.empty() ? "" : "\\") + change.key;
            switch (change.kind) {
            case RegistryValueChange::Kind::String: model.Set(key, change.name, HiveModel::StringValue(change.text)); break;
            case RegistryValueChange::Kind::Integer: model.Set(key, change.name, HiveModel::IntegerValue(change.number)); break;
            case RegistryValueChange::Kind::Remove: model.Remove(key, change.name); break;
            }
        }
        if (!Persist())
            fail();
    }
};

RegistryAccessor::RegistryAccessor()
    : RegistryAccessor(DefaultHivePath())
{
}

RegistryAccessor::RegistryAccessor(const fs::path& hiveFile)
    : m_state(std::make_unique<State>())
{
    m_state->hive = fs::absolute(hiveFile);
}

RegistryAccessor::~RegistryAccessor()
{
    CloseKey();
}

bool RegistryAccessor::OpenKey(const std::string& key, bool canCreate)
{
    State& s = *m_state;
    const auto target = s.Resolve(key);
    if (!target)
        return false;
    const bool wasLocked = s.locked;
    if (!s.Lock())
        return false;
    bool opened = false;
    if (s.Load()) {
        if (s.model.KeyExists(*target)) {
            opened = true;
        } else if (canCreate) {
            const HiveModel before = s.model;
            s.model.CreateKey(*target);
            opened = s.Persist();
            if (!opened)
                s.model = before;
        }
    }
    if (opened) {
        s.currentKey = *target;
        s.keyOpen = true;
    } else if (!wasLocked && !s.keyOpen) {
        s.Unlock();
    }
    return opened;
}

void RegistryAccessor::CloseKey()
{
    m_state->keyOpen = false;
    m_state->currentKey.clear();
    m_state->Unlock();
}

std::string RegistryAccessor::CurrentPath() const
{
    return m_state->keyOpen ? m_state->currentKey : std::string();
}

bool RegistryAccessor::ValueExists(const std::string& name) const
{
    return m_state->Locked([&](bool ok) { return ok && m_state->FindValue(name) != nullptr; });
}

RegistryValueType RegistryAccessor::GetDataType(const std::string& name) const
{
    return m_state->Locked([&](bool ok) {
        const Value* value = ok ? m_state->FindValue(name) : nullptr;
        return value ? HiveModel::TypeOf(*value) : RegistryValueType::None;
    });
}

std::string RegistryAccessor::ReadString(const std::string& name) const
{
    return m_state->Locked([&](bool ok) {
        const Value* value = ok ? m_state->FindValue(name) : nullptr;
        if (!value)
            throw RegistryError("Value '" + name + "' does not exist");
        auto text = HiveModel::TextOf(*value);
        if (!text)
            throw RegistryError("Invalid data type for '" + name + "'");
        return std::move(*text);
    });
}

std::int32_t RegistryAccessor::ReadInteger(const std::string& name) const
{
    return m_state->Locked([&](bool ok) {
        const Value* value = ok ? m_state->FindValue(name) : nullptr;
        if (!value)
            throw RegistryError("Value '" + name + "' does not exist");
        const auto number = HiveModel::IntegerOf(*value);
        if (!number)
            throw RegistryError("Invalid data type for '" + name + "'");
        return *number;
    });
}

void RegistryAccessor::WriteString(const std::string& name, const std::string& utf8)
{
    WriteValues({RegistryValueChange::String(name, utf8)});
}

void RegistryAccessor::WriteInteger(const std::string& name, std::int32_t number)
{
    WriteValues({RegistryValueChange::Integer(name, number)});
}

void RegistryAccessor::WriteValues(const std::vector<RegistryValueChange>& changes)
{
    m_state->Locked([&](bool) {
        m_state->Store(changes);
        return 0;
    });
}

bool RegistryAccessor::DeleteKey(const std::string& key)
{
    State& s = *m_state;
    const auto target = s.Resolve(key);
    if (!target || target->empty())
        return false;
    return s.Locked([&](bool ok) {
        const HiveModel before = s.model;
        if (!ok || !s.model.DeleteKey(*target))
            return false;
        if (!s.Persist()) {
            s.model = before;
            std::string_view name = key;
            while (!name.empty() && name.front() == '\\')
                name.remove_prefix(1);
            while (!name.empty() && name.back() == '\\')
                name.remove_suffix(1);
            throw RegistryError::WriteFailure(std::string(name));
        }
        return true;
    });
}

fs::path RegistryAccessor::HivePath() const
{
    return m_state->hive;
}
