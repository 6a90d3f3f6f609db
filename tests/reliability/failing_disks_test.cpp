// The best results on a disk that refuses writes: a read-only folder, a full
// file system, a file size limit. The failed write raises the registry error,
// the stored results stay exactly as they were (a result goes in whole or not
// at all, the list is not emptied), and the next write on a mended disk works.
#include "Isolated.h"
#include "TempFolder.h"

#include "AtomicFile.h"
#include "HiveFile.h"
#include "Registry.h"
#include "BestResults.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

namespace fs = std::filesystem;
using namespace reliability;

namespace {

struct Stored
{
    const char* name;
    int seconds;
};
// A full list, best first; the slowest has the shortest name, so that the new
// result makes the file grow.
const Stored Earlier[] = {{"Ola", 50},  {"Ala", 100}, {"Żaneta Ćwik", 150}, {"Iga", 200}, {"Ewa", 250},
                          {"Jan", 300}, {"Ola", 350}, {"Piotr", 400},       {"Olek", 450}, {"Ed", 500}};

// Places 1 … 10: the earlier results in order, with `added` at `addedPlace` (0: not on the list).
std::string CheckResults(const fs::path& hive, const Stored& added, int addedPlace)
{
    BestResults list(hive);
    int earlier = 0;
    for (int n = 1; n <= BestResults::Capacity; ++n) {
        const Stored& want = n == addedPlace ? added : Earlier[earlier++];
        const auto item = list.Entry(n);
        if (!item || item->name != want.name || item->seconds != want.seconds)
            return "entry " + std::to_string(n) + " is not " + want.name;
    }
    if (list.Count() != BestResults::Capacity)
        return "the count is " + std::to_string(list.Count());
    return {};
}

// A full list on a good disk; then `fail` breaks the disk, a better result
// must fail with the registry error and leave the hive alone; then `mend`
// mends the disk and the result goes in at place 2.
std::string BrokenDiskScenario(const fs::path& hive, const std::function<bool()>& fail,
                               const std::function<bool()>& mend, bool shrinkingFails = true)
{
    BestResults list(hive);
    list.Initialise();
    for (const Stored& result : Earlier)
        list.Add(result.name, result.seconds);
    const Stored iza{"Iza", 60};
    const std::string before = ReadAll(hive);
    if (before.empty())
        return "no hive was written on the good disk";

    if (!fail())
        return Unsupported;
    if (!list.Admits(iza.seconds))
        return "the list no longer takes results on a failing disk";
    try {
        list.Add(iza.name, iza.seconds);
        return "the write on a failing disk raised no error";
    } catch (const RegistryError& error) {
        if (std::string(error.what()) != "Failed to set data for '_t2'")
            return std::string("wrong error: ") + error.what();
    }
    if (ReadAll(hive) != before)
        return "the hive changed on a failing disk";
    if (fs::exists(atomicfile::TemporaryPath(hive)))
        return "a temporary file was left behind";
    if (auto verdict = CheckResults(hive, iza, 0); !verdict.empty())
        return "while failing: " + verdict;
    // Emptying the list fails the same way, and says so (where a smaller file fails too).
    try {
        if (shrinkingFails) {
            list.ClearAll();
            return "emptying the list on a failing disk raised no error";
        }
    } catch (const RegistryError& error) {
        if (std::string(error.what()) != "Failed to set data for 'Lista'")
            return std::string("wrong error when emptying: ") + error.what();
    }
    if (ReadAll(hive) != before)
        return "emptying the list changed the hive on a failing disk";

    if (!mend())
        return "cannot mend the disk";
    list.Add(iza.name, iza.seconds);
    if (!hivefile::Parse(ReadAll(hive)))
        return "the hive cannot be read after mending";
    if (auto verdict = CheckResults(hive, iza, 2); !verdict.empty())
        return "after mending: " + verdict;
    return {};
}

void ExpectScenario(const std::string& verdict, const char* whatIsMissing)
{
    if (verdict == Unsupported)
        GTEST_SKIP() << "this system does not allow " << whatIsMissing;
    EXPECT_EQ(verdict, "");
}

// ---- read-only folder

class ReadOnlyFolder : public testing::TestWithParam<bool>
{
};

TEST_P(ReadOnlyFolder, FailedWriteRaisesTheErrorAndKeepsTheResults)
{
    const bool lockFileThere = GetParam();
    TempFolder temp;
    const fs::path folder = temp.path() / "Kalvora";
    fs::create_directories(folder);
    const fs::path hive = folder / "Sudoku.reg";
    const auto verdict = RunInChild([&]() -> std::string {
        if (!EnterMountNamespace())
            return Unsupported;
        return BrokenDiskScenario(
            hive,
            [&] {
                if (!lockFileThere)
                    fs::remove(hive.string() + ".lock");
                if (!MakeReadOnly(folder))
                    return false;
                // Even root may not write there now.
                return !WriteFile(folder / "probe", "x") && errno == EROFS;
            },
            [&] { return ::umount2(folder.c_str(), 0) == 0; });
    });
    ExpectScenario(verdict, "private mount namespaces");
}

INSTANTIATE_TEST_SUITE_P(Lock, ReadOnlyFolder, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "LockFileThere" : "NoLockFile";
                         });

// ---- full file system

TEST(FullDisk, SmallFileSystemFilledToTheBrim)
{
    TempFolder temp;
    const fs::path hive = temp.path() / "Kalvora" / "Sudoku.reg";
    const fs::path filler = temp.path() / "filler";
    const auto verdict = RunInChild([&]() -> std::string {
        if (!EnterMountNamespace() ||
            ::mount("tmpfs", temp.path().c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=256k,mode=0700") != 0)
            return Unsupported;
        return BrokenDiskScenario(
            hive,
            [&] {
                const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
                if (fd < 0)
                    return false;
                const std::string block(512, 'x');
                while (::write(fd, block.data(), block.size()) > 0) {
                }
                const bool full = errno == ENOSPC;
                ::close(fd);
                return full;
            },
            [&] { return fs::remove(filler); });
    });
    ExpectScenario(verdict, "private mount namespaces");
}

TEST(FullDisk, FileSizeLimitOfTheWritingProcess)
{
    TempFolder temp;
    const fs::path hive = temp.path() / "Kalvora" / "Sudoku.reg";
    const auto verdict = RunInChild([&]() -> std::string {
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails with EFBIG instead
        rlimit unlimited{};
        ::getrlimit(RLIMIT_FSIZE, &unlimited);
        return BrokenDiskScenario(
            hive,
            [&] {
                const rlimit limit{static_cast<rlim_t>(fs::file_size(hive)), unlimited.rlim_max};
                return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
            },
            [&] { return ::setrlimit(RLIMIT_FSIZE, &unlimited) == 0; }, false);
    });
    EXPECT_EQ(verdict, "");
}

} // namespace
