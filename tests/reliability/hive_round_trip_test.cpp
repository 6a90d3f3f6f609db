// Hand-damaged hive texts that once changed their values when the game wrote them back.
#include "HiveFile.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// key -> value name -> how the value reads (type and data), later lines winning.
std::map<std::string, std::map<std::string, std::string>> Values(const hivefile::Hive& hive)
{
    std::map<std::string, std::map<std::string, std::string>> values;
    for (const auto& section : hive.sections)
        for (const auto& entry : section.entries)
            if (const auto* value = std::get_if<hivefile::Value>(&entry))
                values[hivefile::FoldName(section.path)][hivefile::FoldName(value->name)] =
                    std::to_string(value->type) + ":" + value->bytes + ":" + std::to_string(value->number);
    return values;
}

struct Case
{
    const char* name;
    const char* text;
    std::size_t values; // in the key [K], as read the first time
};

const Case Cases[] = {
    {"JunkJoiningDefaultValue", "REGEDIT4\n[K]\n\"\\\n\n@=\"\"\n", 1},
    {"JunkJoiningNamedValue", "REGEDIT4\n[K]\n\"x\"=junk\\\n\n\"y\"=\"1\"\n", 1},
    {"HexCutByBlankLine", "REGEDIT4\n[K]\n\"x\"=hex:01,\\\n\n02\n\"z\"=dword:1\n", 1},
    {"PreambleJoiningJunk", "REGEDIT4\n\"a\"=\\\n\n02\n[K]\n@=\"v\"\n", 1},
    {"ContinuedJunkJoiningDefault", "REGEDIT4\n[K]\n\"a\"=hex:0\\\n  1,\\\n\n@=dword:2\n", 1},
};

class HiveRoundTrip : public testing::TestWithParam<Case>
{
};

TEST_P(HiveRoundTrip, WritingBackKeepsEveryValue)
{
    const auto first = hivefile::Parse(GetParam().text);
    ASSERT_TRUE(first);
    const auto values = Values(*first);
    ASSERT_EQ(values.count("k"), 1u);
    EXPECT_EQ(values.at("k").size(), GetParam().values);

    std::string written = hivefile::Serialise(*first);
    for (int round = 1; round <= 3; ++round) {
        const auto again = hivefile::Parse(written);
        ASSERT_TRUE(again) << "round " << round;
        EXPECT_EQ(Values(*again), values) << "round " << round << ":\n" << written;
        const std::string next = hivefile::Serialise(*again);
        EXPECT_EQ(next, written) << "round " << round;
        written = next;
    }
}

INSTANTIATE_TEST_SUITE_P(DamagedTexts, HiveRoundTrip, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

} // namespace
