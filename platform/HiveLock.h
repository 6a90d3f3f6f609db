// The lock table: one exclusive lock per hive file, shared by the accessors of this process.
#pragma once

#include <cstdint>
#include <filesystem>

namespace hivelock {

// Takes the hive's lock (a flock on <hive>.lock), or counts one more holder when
// this process has it already, so that a second accessor in the same program
// never waits for the first. In a folder that cannot be written to, the lock
// file is opened for reading, or the hive is read unlocked when there is none.
// False when the lock cannot be had.
bool Acquire(const std::filesystem::path& hive);
// One holder fewer; the last one gives the lock up.
void Release(const std::filesystem::path& hive);

// Changes whenever the lock is taken afresh or this process rewrites the hive:
// an accessor whose copy of the hive carries another stamp reads it again.
std::uint64_t Stamp(const std::filesystem::path& hive);
// A new stamp, for a hive this process has just rewritten.
std::uint64_t Touch(const std::filesystem::path& hive);

} // namespace hivelock
