// The fixed file version an executable carries as data (VERSIONINFO on Windows, an ELF note on Linux).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>

// Major, minor, release, build; nothing when the file carries no version or cannot be read.
std::optional<std::array<std::uint16_t, 4>> ReadFileVersion(const std::filesystem::path& executable);
