// The lock table: one exclusive lock per hive file, shared by the accessors of this process.
#include "HiveLock.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace hivelock {

namespace {

struct Lock
{
    int fd = -1;
    int holders = 0;
    std::uint64_t stamp = 0;
};

std::mutex g_mutex;
std::map<std::string, Lock> g_locks;
std::uint64_t g_stamps = 0;

bool Interrupted(int result) { return result == -1 && errno == EINTR; }

int OpenLockFile(const std::string& path, int flags)
{
    int fd;
    do
        fd = ::open(path.c_str(), flags | O_CLOEXEC, 0600);
    while (Interrupted(fd));
    return fd;
}

} // namespace

bool Acquire(const fs::path& hive)
{
    std::lock_guard guard(g_mutex);
    Lock& lock = g_locks[hive.string()];
    if (lock.holders > 0) {
        ++lock.holders;
        return true;
    }
    std::error_code error;
    fs::create_directories(hive.parent_path(), error);
    const std::string path = hive.string() + ".lock";
    int fd = OpenLockFile(path, O_RDWR | O_CREAT);
    if (fd < 0 && (errno == EROFS || errno == EACCES || errno == EPERM)) {
        // A folder that may not be written to: the player's results can still
        // be read, and each write fails on its own with the usual error. An
        // existing lock file still keeps us out while another copy writes.
        fd = OpenLockFile(path, O_RDONLY);
        if (fd < 0 && errno == ENOENT) {
            lock = Lock{-1, 1, ++g_stamps};
            return true;
        }
    }
    if (fd < 0)
        return false;
    int result;
    do
        result = ::flock(fd, LOCK_EX);
    while (Interrupted(result));
    if (result != 0) {
        ::close(fd);
        return false;
    }
    lock = Lock{fd, 1, ++g_stamps};
    return true;
}

void Release(const fs::path& hive)
{
    std::lock_guard guard(g_mutex);
    Lock& lock = g_locks[hive.string()];
    if (lock.holders == 0 || --lock.holders > 0)
        return;
    if (lock.fd >= 0)
        ::close(lock.fd); // closing drops the flock
    lock.fd = -1;
}

std::uint64_t Stamp(const fs::path& hive)
{
    std::lock_guard guard(g_mutex);
    return g_locks[hive.string()].stamp;
}

std::uint64_t Touch(const fs::path& hive)
{
    std::lock_guard guard(g_mutex);
    return g_locks[hive.string()].stamp = ++g_stamps;
}

} // namespace hivelock
