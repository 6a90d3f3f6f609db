// Finds the running executable's file through the system (Windows: GetModuleFileNameW).
#include "ExecutablePath.h"

#include <windows.h>

#include <string>

std::filesystem::path RunningExecutablePath()
{
    // The path may be longer than MAX_PATH; grow until it fits.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return std::filesystem::path(buffer);
        }
        if (buffer.size() >= 32768)
            return {};
        buffer.resize(buffer.size() * 2);
    }
}
