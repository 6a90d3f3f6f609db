// Reads the fixed file version from an executable's VERSIONINFO resource.
#include "FileVersion.h"

#include <windows.h>

#include <vector>

std::optional<std::array<std::uint16_t, 4>> ReadFileVersion(const std::filesystem::path& executable)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(executable.c_str(), &ignored);
    if (size == 0)
        return std::nullopt;

    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(executable.c_str(), 0, size, block.data()))
        return std::nullopt;

    void* root = nullptr;
    UINT rootLength = 0;
    if (!VerQueryValueW(block.data(), L"\\", &root, &rootLength) || root == nullptr
        || rootLength < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;

    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(root);
    if (fixed->dwSignature != 0xFEEF04BD)
        return std::nullopt;

    return std::array<std::uint16_t, 4>{
        HIWORD(fixed->dwFileVersionMS),
        LOWORD(fixed->dwFileVersionMS),
        HIWORD(fixed->dwFileVersionLS),
        LOWORD(fixed->dwFileVersionLS),
    };
}
