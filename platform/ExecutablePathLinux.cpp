// Finds the running executable's file through the system (Linux: /proc/self/exe).
#include "ExecutablePath.h"

#include <system_error>

std::filesystem::path RunningExecutablePath()
{
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path{} : path;
}
