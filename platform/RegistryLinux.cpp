// The registry on Linux: the current user's hive is one `.reg` text file beside a lock file.
#include "Registry.h"

#include "HiveFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <optional>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using hivefile::Hive;
using hivefile::Section;
using hivefile::Value;

namespace {

constexpr std::string_view RootName = "HKEY_CURRENT_USER";
// Larger files are not a hive this game wrote; they are kept aside, not read.
// UTF-16 takes two bytes a character: room for 4 MiB of text.
constexpr std::uintmax_t MaximumHiveSize = 8u * 1024u * 1024u;
constexpr int MaximumCorruptCopies = 1000;

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

// ---------------------------------------------------------------- hive lock

// One flock per hive and process, shared by the accessors of this process so
// that a second accessor in the same program cannot deadlock on the first.
// The stamp changes whenever the lock is taken afresh or the file is rewritten
// from this process, telling every accessor when its copy of the hive is stale.
struct HiveLock
{
    int fd = -1;
    int holders = 0;
    std::uint64_t stamp = 0;
};

std::mutex g_lockMutex;
std::map<std::string, HiveLock> g_locks;
std::uint64_t g_stampCounter = 0;

bool Retry(int result) { return result == -1 && errno == EINTR; }

bool AcquireLock(const fs::path& hive)
{
    std::lock_guard guard(g_lockMutex);
    HiveLock& lock = g_locks[hive.string()];
    if (lock.holders > 0) {
        ++lock.holders;
        return true;
    }
    std::error_code error;
    fs::create_directories(hive.parent_path(), error);
    const std::string lockPath = hive.string() + ".lock";
    int fd;
    do
        fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    while (Retry(fd));
    if (fd < 0 && (errno == EROFS || errno == EACCES || errno == EPERM)) {
        // A folder that may not be written to: the player's results can still
        // be read, and each write fails on its own with the usual error. An
        // existing lock file still keeps us out while another copy writes.
        do
            fd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
        while (Retry(fd));
        if (fd < 0 && errno == ENOENT) {
            lock.fd = -1;
            lock.holders = 1;
            lock.stamp = ++g_stampCounter;
            return true;
        }
    }
    if (fd < 0)
        return false;
    int result;
    do
        result = ::flock(fd, LOCK_EX);
    while (Retry(result));
    if (result != 0) {
        ::close(fd);
        return false;
    }
    lock.fd = fd;
    lock.holders = 1;
    lock.stamp = ++g_stampCounter;
    return true;
}

void ReleaseLock(const fs::path& hive)
{
    std::lock_guard guard(g_lockMutex);
    HiveLock& lock = g_locks[hive.string()];
    if (lock.holders == 0)
        return;
    if (--lock.holders == 0) {
        if (lock.fd >= 0)
            ::close(lock.fd); // closing drops the flock
        lock.fd = -1;
    }
}

std::uint64_t LockStamp(const fs::path& hive)
{
    std::lock_guard guard(g_lockMutex);
    return g_locks[hive.string()].stamp;
}

std::uint64_t TouchStamp(const fs::path& hive)
{
    std::lock_guard guard(g_lockMutex);
    return g_locks[hive.string()].stamp = ++g_stampCounter;
}

// ---------------------------------------------------------------- file access

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool SyncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// Temporary file, flushed, renamed over the hive, folder flushed: a crash leaves
// either the old file or the new one, never a mixture.
bool ReplaceFile(const fs::path& target, std::string_view content)
{
    const fs::path temporary = target.string() + ".tmp";
    int fd;
    do
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    while (Retry(fd));
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, content) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolder(target.parent_path()); // the rename is done; a failed folder flush changes nothing now
    return true;
}

// Keeps an unreadable hive as Sudoku.reg.corrupt (then .corrupt.1, .2 …), never
// replacing an older copy. A hard link keeps the bytes without reading them.
bool KeepCorruptCopy(const fs::path& hive)
{
    for (int n = 0; n < MaximumCorruptCopies; ++n) {
        const fs::path copy = hive.string() + ".corrupt" + (n ? "." + std::to_string(n) : "");
        if (::link(hive.c_str(), copy.c_str()) == 0) {
            SyncFolder(hive.parent_path());
            return true;
        }
        if (errno == EEXIST)
            continue;
        // No hard links on this file system: copy, refusing to replace anything.
        std::error_code error;
        if (fs::exists(copy, error))
            continue;
        if (fs::copy_file(hive, copy, fs::copy_options::none, error))
            return true;
        return false;
    }
    return false;
}

std::string ToLowerAscii(std::string s) { return hivefile::FoldName(s); }

} // namespace

// ---------------------------------------------------------------- accessor

struct RegistryAccessor::State
{
    fs::path hive;
    bool locked = false;
    bool keyOpen = false;
    std::string currentKey; // relative to the root, "" for the root itself

    // The hive as last read or written, valid while `stamp` matches the lock's.
    bool loaded = false;
    bool readable = false;
    bool corruptOnDisk = false; // the file on disk could not be parsed
    std::uint64_t stamp = 0;
    Hive model;

    bool Lock()
    {
        if (locked)
            return true;
        locked = AcquireLock(hive);
        return locked;
    }

    void Unlock()
    {
        if (locked)
            ReleaseLock(hive);
        locked = false;
    }

    // Reads the hive afresh unless this copy is known to be current.
    bool Load()
    {
        if (loaded && stamp == LockStamp(hive))
            return readable;
        loaded = true;
        stamp = LockStamp(hive);
        readable = false;
        corruptOnDisk = false;
        model = Hive{};

        struct stat info{};
        if (::stat(hive.c_str(), &info) != 0) {
            readable = errno == ENOENT; // no file yet: an empty hive
            return readable;
        }
        if (!S_ISREG(info.st_mode))
            return false;
        if (static_cast<std::uintmax_t>(info.st_size) > MaximumHiveSize) {
            corruptOnDisk = true;
            readable = true;
            return true;
        }
        const int fd = ::open(hive.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return false;
        std::string text;
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                ::close(fd);
                return false;
            }
            if (got == 0)
                break;
            text.append(buffer, static_cast<std::size_t>(got));
            if (text.size() > MaximumHiveSize) {
                corruptOnDisk = true;
                break;
            }
        }
        ::close(fd);
        if (!corruptOnDisk) {
            if (auto parsed = hivefile::Parse(text))
                model = std::move(*parsed);
            else
                corruptOnDisk = true;
        }
        readable = true;
        return true;
    }

    bool Persist()
    {
        if (corruptOnDisk) {
            if (!KeepCorruptCopy(hive))
                return false;
            corruptOnDisk = false; // kept; the file may now be replaced
        }
        if (!ReplaceFile(hive, hivefile::Export(model)))
            return false;
        stamp = TouchStamp(hive);
        return true;
    }

    // Runs an operation under the lock, taking it just for the call when no key is open.
    template <typename Operation>
    auto Locked(Operation operation) -> decltype(operation(true))
    {
        const bool wasLocked = locked;
        const bool ok = Lock() && Load();
        auto result = [&] {
            struct Release
            {
                State& state;
                bool keep;
                ~Release()
                {
                    if (!keep)
                        state.Unlock();
                }
            } release{*this, wasLocked || keyOpen};
            return operation(ok);
        }();
        return result;
    }

    static std::string FullPath(const std::string& relative)
    {
        return relative.empty() ? std::string(RootName) : std::string(RootName) + "\\" + relative;
    }

    Section* FindSection(const std::string& relative)
    {
        const std::string full = FullPath(relative);
        for (Section& section : model.sections)
            if (hivefile::SameName(section.path, full))
                return &section;
        return nullptr;
    }

    bool KeyExists(const std::string& relative)
    {
        if (relative.empty())
            return true;
        const std::string full = ToLowerAscii(FullPath(relative));
        for (const Section& section : model.sections) {
            const std::string path = ToLowerAscii(section.path);
            if (path == full || (path.size() > full.size() && path.compare(0, full.size(), full) == 0 &&
                                 path[full.size()] == '\\'))
                return true;
        }
        return false;
    }

    const Value* FindValue(const std::string& name)
    {
        const Section* section = FindSection(currentKey);
        if (!section)
            return nullptr;
        const Value* found = nullptr;
        for (const auto& entry : section->entries)
            if (const auto* value = std::get_if<Value>(&entry); value && hivefile::SameName(value->name, name))
                found = value;
        return found;
    }

    // Resolves a key argument to a path relative to the root; nothing when it is malformed.
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
        std::size_t start = 0;
        while (start <= rest.size()) {
            const std::size_t end = std::min(rest.find('\\', start), rest.size());
            const std::string_view part = rest.substr(start, end - start);
            if (part.empty() || part.size() > 255)
                return std::nullopt;
            for (const char c : part)
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f || c == '[' || c == ']')
                    return std::nullopt;
            start = end + 1;
        }
        if (base.empty() && !rest.empty() && rest.front() == '-')
            return std::nullopt; // would read as a deletion line in the file
        return base.empty() ? std::string(rest) : base + "\\" + std::string(rest);
    }

    // Removes the value and any earlier line of the same name kept as text,
    // which would otherwise read as the value again.
    static void RemoveValue(Section& section, const std::string& name)
    {
        std::erase_if(section.entries, [&](hivefile::Entry& entry) {
            if (const auto* existing = std::get_if<Value>(&entry))
                return hivefile::SameName(existing->name, name);
            std::string& text = std::get<hivefile::Verbatim>(entry).text;
            std::string kept;
            bool changed = false;
            bool first = true;
            for (const std::string_view line : hivefile::LogicalLines(text)) {
                if (hivefile::DefinesValue(line, name)) {
                    // A blank line keeps a line before it that ends in a
                    // backslash from joining the one after it.
                    if (!first && kept.find_last_not_of(" \t\r") != std::string::npos &&
                        kept[kept.find_last_not_of(" \t\r")] == '\\')
                        kept += '\n';
                    changed = true;
                } else {
                    if (!first)
                        kept += '\n';
                    kept += line;
                    first = false;
                }
            }
            if (!changed)
                return false;
            text = std::move(kept);
            return first; // nothing left of it
        });
    }

    // Changes the model only; Store saves it.
    void ApplyValue(const std::string& name, std::optional<Value> value)
    {
        Section* section = FindSection(currentKey);
        if (!value) {
            if (section)
                RemoveValue(*section, name);
            return;
        }
        value->name = name;
        if (!section) {
            model.sections.push_back(Section{FullPath(currentKey), {}});
            section = &model.sections.back();
        }
        Value* target = nullptr;
        for (auto& entry : section->entries)
            if (auto* existing = std::get_if<Value>(&entry); existing && hivefile::SameName(existing->name, name))
                target = existing;
        if (target) {
            value->name = target->name; // the spelling already in the file stays
            *target = std::move(*value);
        } else {
            section->entries.push_back(std::move(*value));
        }
    }

    // Every change in the model, then one atomic save: all of them reach the
    // file or none. The failure names the first value.
    void Store(const std::vector<std::pair<std::string, std::optional<Value>>>& changes)
    {
        if (changes.empty())
            return;
        const Hive before = model;
        const std::uint64_t stampBefore = stamp;
        auto fail = [&] {
            model = before;
            stamp = stampBefore;
            throw RegistryError("Failed to set data for '" + changes.front().first + "'");
        };
        if (!Lock() || !Load())
            fail();
        for (const auto& [name, value] : changes)
            ApplyValue(name, value);
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
        if (s.KeyExists(*target)) {
            opened = true;
        } else if (canCreate) {
            const Hive before = s.model;
            s.model.sections.push_back(Section{State::FullPath(*target), {}});
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
        if (!value)
            return RegistryValueType::None;
        switch (value->type) {
        case hivefile::TypeString: return RegistryValueType::String;
        case hivefile::TypeExpandString: return RegistryValueType::ExpandString;
        case hivefile::TypeBinary: return RegistryValueType::Binary;
        case hivefile::TypeDWord:
            return value->spelling == hivefile::Spelling::DWord || value->bytes.size() == 4
                       ? RegistryValueType::DWord
                       : RegistryValueType::Other;
        case hivefile::TypeMultiString: return RegistryValueType::MultiString;
        case hivefile::TypeQWord: return RegistryValueType::QWord;
        default: return RegistryValueType::Other;
        }
    });
}

std::string RegistryAccessor::ReadString(const std::string& name) const
{
    return m_state->Locked([&](bool ok) {
        const Value* value = ok ? m_state->FindValue(name) : nullptr;
        if (!value)
            throw RegistryError("Value '" + name + "' does not exist");
        if (value->type != hivefile::TypeString)
            throw RegistryError("Invalid data type for '" + name + "'");
        if (value->spelling == hivefile::Spelling::Text)
            return value->bytes;
        return hivefile::Utf16LeToUtf8(value->bytes);
    });
}

std::int32_t RegistryAccessor::ReadInteger(const std::string& name) const
{
    return m_state->Locked([&](bool ok) {
        const Value* value = ok ? m_state->FindValue(name) : nullptr;
        if (!value)
            throw RegistryError("Value '" + name + "' does not exist");
        std::uint32_t number = value->number;
        if (value->type == hivefile::TypeDWord && value->spelling == hivefile::Spelling::Hex &&
            value->bytes.size() == 4) {
            number = 0;
            for (int i = 3; i >= 0; --i)
                number = number << 8 | static_cast<unsigned char>(value->bytes[static_cast<std::size_t>(i)]);
        } else if (value->type != hivefile::TypeDWord || value->spelling != hivefile::Spelling::DWord) {
            throw RegistryError("Invalid data type for '" + name + "'");
        }
        return static_cast<std::int32_t>(number);
    });
}

namespace {

Value StringValue(const std::string& utf8)
{
    Value value;
    value.type = hivefile::TypeString;
    value.spelling = hivefile::Spelling::Text;
    value.bytes = utf8;
    return value;
}

Value IntegerValue(std::int32_t number)
{
    Value value;
    value.type = hivefile::TypeDWord;
    value.spelling = hivefile::Spelling::DWord;
    value.number = static_cast<std::uint32_t>(number);
    return value;
}

} // namespace

void RegistryAccessor::WriteString(const std::string& name, const std::string& utf8)
{
    m_state->Locked([&](bool) {
        m_state->Store({{name, StringValue(utf8)}});
        return 0;
    });
}

void RegistryAccessor::WriteInteger(const std::string& name, std::int32_t number)
{
    m_state->Locked([&](bool) {
        m_state->Store({{name, IntegerValue(number)}});
        return 0;
    });
}

void RegistryAccessor::WriteValues(const std::vector<RegistryValueChange>& changes)
{
    std::vector<std::pair<std::string, std::optional<Value>>> values;
    for (const auto& change : changes) {
        switch (change.kind) {
        case RegistryValueChange::Kind::String: values.emplace_back(change.name, StringValue(change.text)); break;
        case RegistryValueChange::Kind::Integer: values.emplace_back(change.name, IntegerValue(change.number)); break;
        case RegistryValueChange::Kind::Remove: values.emplace_back(change.name, std::nullopt); break;
        }
    }
    m_state->Locked([&](bool) {
        m_state->Store(values);
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
        if (!ok || !s.KeyExists(*target))
            return false;
        const Hive before = s.model;
        const std::string full = ToLowerAscii(State::FullPath(*target));
        std::erase_if(s.model.sections, [&](const Section& section) {
            const std::string path = ToLowerAscii(section.path);
            return path == full ||
                   (path.size() > full.size() && path.compare(0, full.size(), full) == 0 && path[full.size()] == '\\');
        });
        if (!s.Persist()) {
            s.model = before;
            return false;
        }
        return true;
    });
}

fs::path RegistryAccessor::HivePath() const
{
    return m_state->hive;
}
