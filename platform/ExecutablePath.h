// Where the running program's own executable file lies.
#pragma once

#include <filesystem>

// Empty path when the system cannot tell.
std::filesystem::path RunningExecutablePath();
