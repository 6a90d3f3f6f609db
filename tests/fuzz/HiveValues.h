// What a hive holds once read, for comparing two readings of it: the effective values of every key.
#pragma once

#include "HiveFile.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <tuple>

namespace fuzzing {

// Per key (folded path) and value (folded name): type, spelling and data. A
// later line of the same name wins, as when the file is imported.
using ValueData = std::tuple<std::uint32_t, int, std::string, std::uint32_t>;
using HiveValues = std::map<std::string, std::map<std::string, ValueData>>;

inline HiveValues ValuesOf(const hivefile::Hive& hive)
{
    HiveValues values;
    for (const auto& section : hive.sections) {
        auto& key = values[hivefile::FoldName(section.path)];
        for (const auto& entry : section.entries) {
            if (const auto* value = std::get_if<hivefile::Value>(&entry)) {
                const bool numeric = value->spelling == hivefile::Spelling::DWord;
                key[hivefile::FoldName(value->name)] =
                    ValueData{value->type, static_cast<int>(value->spelling), numeric ? std::string() : value->bytes,
                              numeric ? value->number : 0u};
            }
        }
    }
    return values;
}

[[noreturn]] inline void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

} // namespace fuzzing
