// Runs a scenario in a child process (optionally in a mount namespace of its own) and brings back its verdict.
#pragma once

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

namespace reliability {

inline std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline bool WriteFile(const std::filesystem::path& path, const std::string& text)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    return ::close(fd) == 0 && ok;
}

// Private mounts for this process alone: as root directly, otherwise through a
// user namespace in which we are root. False where the system allows neither.
inline bool EnterMountNamespace()
{
    if (::geteuid() == 0) {
        if (::unshare(CLONE_NEWNS) != 0)
            return false;
    } else {
        const auto uid = ::getuid();
        const auto gid = ::getgid();
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return false;
        if (!WriteFile("/proc/self/setgroups", "deny") ||
            !WriteFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !WriteFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1"))
            return false;
    }
    return ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

// A folder seen read-only by this process from now on (a read-only bind mount of itself).
inline bool MakeReadOnly(const std::filesystem::path& folder)
{
    struct statvfs info{};
    if (::statvfs(folder.c_str(), &info) != 0)
        return false;
    // Flags the original mount carries must be kept, or the remount is refused.
    unsigned long kept = 0;
    if (info.f_flag & ST_NOSUID)
        kept |= MS_NOSUID;
    if (info.f_flag & ST_NODEV)
        kept |= MS_NODEV;
    if (info.f_flag & ST_NOEXEC)
        kept |= MS_NOEXEC;
    return ::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
           ::mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY | kept, nullptr) == 0;
}

inline constexpr const char* Unsupported = "unsupported";

// Runs `scenario` in a forked child; its return value ("" for success, else
// what went wrong, or Unsupported) comes back through a pipe. A crash of the
// child is reported as such.
inline std::string RunInChild(const std::function<std::string()>& scenario)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return "cannot make a pipe";
    const pid_t child = ::fork();
    if (child < 0)
        return "cannot fork";
    if (child == 0) {
        ::close(channel[0]);
        std::string verdict;
        try {
            verdict = scenario();
        } catch (const std::exception& error) {
            verdict = std::string("unexpected exception: ") + error.what();
        }
        const char* at = verdict.data();
        std::size_t left = verdict.size();
        while (left > 0) {
            const ssize_t written = ::write(channel[1], at, left);
            if (written <= 0)
                break;
            at += written;
            left -= static_cast<std::size_t>(written);
        }
        ::_exit(0); // no exit handlers: they belong to the test process
    }
    ::close(channel[1]);
    std::string verdict;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(channel[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        verdict.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "the child died: status " + std::to_string(status) + "; " + verdict;
    return verdict;
}

} // namespace reliability
