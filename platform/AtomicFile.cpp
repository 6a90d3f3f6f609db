// A file replaced whole or not at all, read within a size limit, and kept aside rather than overwritten.
#include "AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace atomicfile {

namespace {

constexpr int MaximumCopies = 1000;

bool Interrupted(long result) { return result == -1 && errno == EINTR; }

int Open(const fs::path& file, int flags)
{
    int fd;
    do
        fd = ::open(file.c_str(), flags | O_CLOEXEC, 0600);
    while (Interrupted(fd));
    return fd;
}

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (Interrupted(written))
            continue;
        if (written < 0)
            return false;
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool SyncFolder(const fs::path& folder)
{
    const int fd = Open(folder, O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

fs::path TemporaryPath(const fs::path& file)
{
    return file.string() + ".tmp";
}

fs::path KeptPath(const fs::path& file, int n)
{
    return file.string() + ".corrupt" + (n ? "." + std::to_string(n) : "");
}

bool Replace(const fs::path& file, std::string_view contents)
{
    const fs::path temporary = TemporaryPath(file);
    const int fd = Open(temporary, O_WRONLY | O_CREAT | O_TRUNC);
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, contents) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), file.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolder(file.parent_path()); // the rename is done; a failed folder flush changes nothing now
    return true;
}

bool Keep(const fs::path& file)
{
    for (int n = 0; n < MaximumCopies; ++n) {
        const fs::path copy = KeptPath(file, n);
        if (::link(file.c_str(), copy.c_str()) == 0) {
            SyncFolder(file.parent_path());
            return true;
        }
        if (errno == EEXIST)
            continue;
        // No hard links on this file system: copy, refusing to replace anything.
        std::error_code error;
        if (fs::exists(copy, error))
            continue;
        return fs::copy_file(file, copy, fs::copy_options::none, error);
    }
    return false;
}

Contents Read(const fs::path& file, std::uintmax_t limit)
{
    Contents contents;
    struct stat info{};
    if (::stat(file.c_str(), &info) != 0) {
        contents.status = errno == ENOENT ? Contents::Status::Missing : Contents::Status::Unreadable;
        return contents;
    }
    contents.status = Contents::Status::Unreadable;
    if (!S_ISREG(info.st_mode))
        return contents;
    if (static_cast<std::uintmax_t>(info.st_size) > limit) {
        contents.status = Contents::Status::TooLarge;
        return contents;
    }
    const int fd = Open(file, O_RDONLY);
    if (fd < 0)
        return contents;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (Interrupted(got))
            continue;
        if (got < 0) {
            ::close(fd);
            contents.bytes.clear();
            return contents;
        }
        if (got == 0)
            break;
        contents.bytes.append(buffer, static_cast<std::size_t>(got));
        if (contents.bytes.size() > limit) { // it grew while being read
            ::close(fd);
            contents.bytes.clear();
            contents.status = Contents::Status::TooLarge;
            return contents;
        }
    }
    ::close(fd);
    contents.status = Contents::Status::Read;
    return contents;
}

} // namespace atomicfile
