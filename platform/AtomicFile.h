// A file replaced whole or not at all, read within a size limit, and kept aside rather than overwritten.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace atomicfile {

// Where new contents wait, complete and flushed, before they are renamed over the file.
std::filesystem::path TemporaryPath(const std::filesystem::path& file);
// Where Keep puts its n-th copy of a file: <file>.corrupt, then <file>.corrupt.1, .2 …
std::filesystem::path KeptPath(const std::filesystem::path& file, int n);

// The temporary file written and flushed, renamed over the file, the folder
// flushed: a crash leaves either the old file or the new one, never a mixture.
// False when a step fails; the temporary file is removed then.
bool Replace(const std::filesystem::path& file, std::string_view contents);
// Keeps the file's bytes at the first free KeptPath, never replacing an older
// copy (a hard link where the file system has them).
bool Keep(const std::filesystem::path& file);

struct Contents
{
    enum class Status { Missing, Unreadable, TooLarge, Read };
    Status status = Status::Missing;
    std::string bytes;
};
// The whole file, when it is a regular file of at most `limit` bytes.
Contents Read(const std::filesystem::path& file, std::uintmax_t limit);

} // namespace atomicfile
