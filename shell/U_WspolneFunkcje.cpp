// Helpers shared by the program's windows.
#include "U_WspolneFunkcje.h"

#include "ExecutablePath.h"
#include "FileVersion.h"

std::string FileVersionText()
{
    // Each part stays 0 when the executable carries no version or it cannot be read.
    const auto version = ReadFileVersion(RunningExecutablePath()).value_or(std::array<std::uint16_t, 4>{});
    return std::to_string(version[0]) + "." + std::to_string(version[1]) + "." + std::to_string(version[2]) +
           "." + std::to_string(version[3]);
}
