// Any bytes as a hive file (UTF-8 or UTF-16): reading never fails badly, and writing back what was read keeps every value.
#include "HiveValues.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto first = hivefile::Parse(text);
    if (!first)
        return 0;

    const std::string written = hivefile::Serialise(*first);
    const auto second = hivefile::Parse(written);
    if (!second)
        fuzzing::Fail("the written hive cannot be read back");
    if (fuzzing::ValuesOf(*first) != fuzzing::ValuesOf(*second))
        fuzzing::Fail("reading the written hive gives other values");
    if (first->sections.size() != second->sections.size())
        fuzzing::Fail("reading the written hive gives other keys");
    // Writing again gives the same file, but for carriage returns at the end of
    // junk lines: each reading takes one off, as a line ending.
    auto withoutReturns = [](std::string text) {
        std::erase(text, '\r');
        return text;
    };
    if (withoutReturns(hivefile::Serialise(*second)) != withoutReturns(written))
        fuzzing::Fail("writing the hive again changes the file");

    // The file as the game saves it (UTF-16LE, CRLF) holds every value, and
    // saving what was read from it gives the very same bytes.
    const std::string exported = hivefile::Export(*first);
    const auto fromFile = hivefile::Parse(exported);
    if (!fromFile)
        fuzzing::Fail("the saved hive cannot be read back");
    if (fuzzing::ValuesOf(*first) != fuzzing::ValuesOf(*fromFile))
        fuzzing::Fail("reading the saved hive gives other values");
    if (hivefile::Export(*fromFile) != exported)
        fuzzing::Fail("saving the hive again changes the file");
    return 0;
}
