// The file version carried by an executable: found in our own note, absent elsewhere, garbage refused.
#include "ExecutablePath.h"
#include "FileVersion.h"

#include "TestFolder.h"

#include <gtest/gtest.h>

TEST(FileVersion, ReadFromTheRunningExecutable)
{
    // This test program is built with the version note, as the game is.
    const auto path = RunningExecutablePath();
    ASSERT_TRUE(std::filesystem::is_regular_file(path));
    const auto version = ReadFileVersion(path);
    ASSERT_TRUE(version);
    EXPECT_EQ(*version, (std::array<std::uint16_t, 4>{2, 0, 0, 432}));
}

TEST(FileVersion, AbsentFromAnExecutableWithoutTheNote)
{
    EXPECT_FALSE(ReadFileVersion(HIVE_WRITER));
}

TEST(FileVersion, FilesThatAreNoExecutableGiveNothing)
{
    TestFolder folder;
    const std::string elf = ReadWholeFile(RunningExecutablePath());
    const std::vector<std::pair<std::string, std::string>> files = {
        {"missing", ""},
        {"empty", ""},
        {"text", "Windows Registry Editor Version 5.00\n"},
        {"truncated header", elf.substr(0, 40)},
        {"header only", elf.substr(0, 64)},
        {"cut in half", elf.substr(0, elf.size() / 2)},
    };
    for (const auto& [name, content] : files) {
        if (name != "missing")
            WriteWholeFile(folder / name, content);
        EXPECT_FALSE(ReadFileVersion(folder / name)) << name;
    }
    // Section table pointing far beyond the end of the file.
    std::string lying = elf.substr(0, 64);
    lying[0x28 + 7] = '\x7f';
    WriteWholeFile(folder / "lying", lying);
    EXPECT_FALSE(ReadFileVersion(folder / "lying"));
}
