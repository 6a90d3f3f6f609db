// The version resource the build puts into the program, as Windows reads it back.
#include "ExecutablePath.h"
#include "FileVersion.h"
#include "U_WspolneFunkcje.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifdef SUDOKU_TEST_WITH_VERSION

namespace {

std::vector<unsigned char> OwnVersionBlock()
{
    const auto path = RunningExecutablePath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    std::vector<unsigned char> block(size);
    if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, block.data()))
        block.clear();
    return block;
}

std::wstring StringEntry(std::vector<unsigned char>& block, const std::wstring& name)
{
    void* text = nullptr;
    UINT length = 0;
    const std::wstring query = L"\\StringFileInfo\\041504E2\\" + name;
    if (!VerQueryValueW(block.data(), query.c_str(), &text, &length) || text == nullptr)
        return L"<missing>";
    return std::wstring(static_cast<const wchar_t*>(text));
}

} // namespace

TEST(VersionResource, GivesTheFileVersionAndItsText)
{
    const auto version = ReadFileVersion(RunningExecutablePath());
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(*version, (std::array<std::uint16_t, 4>{2, 0, 0, 432}));
    EXPECT_EQ(FileVersionText(), "2.0.0.432");
}

TEST(VersionResource, CarriesThePolishStringTable)
{
    auto block = OwnVersionBlock();
    ASSERT_FALSE(block.empty());

    struct Row
    {
        const wchar_t* name;
        const wchar_t* text;
    };
    const Row rows[] = {
        {L"CompanyName", L"Kalvora"},
        {L"FileVersion", L"2.0.0.432"},
        {L"OriginalFilename", L"Sudoku"},
        {L"ProductVersion", L"1.0.0.0"},
        {L"WWW", L"http://www.kalvora.pl"},
        {L"E-mail", L"kontakt@kalvora.pl"},
        {L"FileDescription", L""},
        {L"LegalCopyright", L""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.name)));
        EXPECT_EQ(StringEntry(block, row.name), row.text);
    }

    void* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &translation, &length));
    ASSERT_EQ(length, 4u);
    const auto* pair = static_cast<const WORD*>(translation);
    EXPECT_EQ(pair[0], 0x0415);
    EXPECT_EQ(pair[1], 1250);
}

#else

TEST(VersionResource, WithoutItTheVersionIsZero)
{
    EXPECT_FALSE(ReadFileVersion(RunningExecutablePath()).has_value());
    EXPECT_EQ(FileVersionText(), "0.0.0.0");
}

#endif

TEST(VersionResource, FilesWithoutVersionOrMissingGiveNothing)
{
    const auto folder = RunningExecutablePath().parent_path();
    EXPECT_FALSE(ReadFileVersion(folder / "no such program.exe").has_value());
    EXPECT_FALSE(ReadFileVersion(folder).has_value());
}
