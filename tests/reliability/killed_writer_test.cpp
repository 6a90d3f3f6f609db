// A game killed in the middle of storing a result, the installation record or
// an emptied list: on Linux between writing the temporary hive and renaming it
// into place and at random system calls, on Windows (Wine) at random moments.
// The hive is always whole, a result is stored whole or not at all (no name is
// ever paired with another's time), the stored results stay, and the next goes in.
#include "KilledWriters.h"

#include "Registry.h"
#include "BestResults.h"

#include <gtest/gtest.h>

#include <random>

#ifndef _WIN32
#include "Isolated.h"
#include "TempFolder.h"

#include "AtomicFile.h"
#include "HiveFile.h"

#include <climits>
#include <map>
#include <sys/ptrace.h>
#include <sys/syscall.h>

using namespace reliability;
#endif

namespace fs = std::filesystem;

namespace {

#ifndef _WIN32

enum class KillPoint { Rename, AnySystemCall };

bool IsRename(unsigned long long call)
{
#ifdef SYS_rename
    if (call == SYS_rename)
        return true;
#endif
    return call == SYS_renameat || call == SYS_renameat2;
}

// Runs `work` in a traced child and kills it with SIGKILL on entering its
// `killAt`-th rename (the temporary file is complete, the hive not yet
// replaced) or its `killAt`-th system call of any kind. Returns whether it was
// killed; false when it finished first, having made `*made` system calls of
// that kind. Throws when tracing is not possible.
bool RunAndKill(const std::function<void()>& work, KillPoint point, int killAt, int* made = nullptr)
{
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("cannot fork");
    if (child == 0) {
        ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        ::raise(SIGSTOP);
        try {
            work();
        } catch (...) {
            ::_exit(3);
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFSTOPPED(status)) {
        ::kill(child, SIGKILL);
        throw std::runtime_error("the child did not stop for tracing");
    }
    ::ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    int seen = 0;
    int pass = 0;
    for (;;) {
        ::ptrace(PTRACE_SYSCALL, child, nullptr, reinterpret_cast<void*>(static_cast<long>(pass)));
        pass = 0;
        if (::waitpid(child, &status, 0) < 0)
            throw std::runtime_error("lost the child");
        if (WIFEXITED(status)) {
            if (WEXITSTATUS(status) != 0)
                throw std::runtime_error("the child failed: " + std::to_string(WEXITSTATUS(status)));
            if (made)
                *made = seen;
            return false;
        }
        if (WIFSIGNALED(status))
            throw std::runtime_error("the child died of signal " + std::to_string(WTERMSIG(status)));
        if (!WIFSTOPPED(status))
            continue;
        if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
            pass = WSTOPSIG(status); // an ordinary signal: deliver it
            continue;
        }
        __ptrace_syscall_info info{};
        if (::ptrace(PTRACE_GET_SYSCALL_INFO, child, reinterpret_cast<void*>(sizeof info), &info) <= 0)
            throw std::runtime_error("cannot read the child's system call");
        if (info.op != PTRACE_SYSCALL_INFO_ENTRY)
            continue;
        if ((point == KillPoint::AnySystemCall || IsRename(info.entry.nr)) && ++seen == killAt) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return true;
        }
    }
}

void PrepareList(const fs::path& hive)
{
    RegistryAccessor record(hive);
    ASSERT_TRUE(record.OpenKey("Software\\Kalvora\\Sudoku", true));
    record.WriteString("Version", "2.0.0.432");
    record.WriteString("Name", "Sudoku");
    record.CloseKey();
    BestResults list(hive);
    list.Initialise();
    list.Add("Ala", 100);
    list.Add("Ola", 50);
    list.Add("Ela", 75);
}

void ExpectEarlierResults(const fs::path& hive)
{
    BestResults list(hive);
    const std::pair<std::string, int> earlier[] = {{"Ola", 50}, {"Ela", 75}, {"Ala", 100}};
    for (int n = 1; n <= 3; ++n) {
        const auto item = list.Entry(n);
        ASSERT_TRUE(item) << "entry " << n;
        EXPECT_EQ(item->name, earlier[n - 1].first);
        EXPECT_EQ(item->seconds, earlier[n - 1].second);
    }
}

TEST(KilledWriter, BetweenWritingTheTemporaryFileAndRenamingIt)
{
    TempFolder temp;
    const fs::path hive = temp.path() / "Sudoku.reg";
    const fs::path stranded = atomicfile::TemporaryPath(hive);
    PrepareList(hive);
    const std::string initial = ReadAll(hive);

    // Adding a result is one write of the whole hive.
    std::string previousStep = initial;
    for (int k = 1; k <= 2; ++k) {
        SCOPED_TRACE("killed at rename " + std::to_string(k));
        ASSERT_TRUE(WriteFile(hive, initial));
        fs::remove(stranded);
        const bool killed = RunAndKill([&] { BestResults(hive).Add("Iza", 200); }, KillPoint::Rename, k);
        EXPECT_EQ(killed, k == 1);

        // The hive is exactly as the previous write left it; the new one waits whole beside it.
        EXPECT_EQ(ReadAll(hive), previousStep);
        if (killed) {
            const std::string waiting = ReadAll(stranded);
            ASSERT_TRUE(hivefile::Parse(waiting));
            EXPECT_NE(waiting, previousStep);
            previousStep = waiting;
        }
        ExpectEarlierResults(hive);

        // The lock died with the writer: the next result goes in at once.
        BestResults list(hive);
        const int count = list.Count();
        ASSERT_TRUE(list.Admits(300));
        list.Add("Ewa", 300); // the slowest yet: the last place
        EXPECT_EQ(list.Count(), count + 1);
        const auto added = list.Entry(count + 1);
        ASSERT_TRUE(added);
        EXPECT_EQ(added->name, "Ewa");
        ExpectEarlierResults(hive);
    }
}

TEST(KilledWriter, AtRandomMomentsOfManyResults)
{
    TempFolder temp;
    const fs::path hive = temp.path() / "Sudoku.reg";
    PrepareList(hive);
    std::map<std::string, int> timeOf = {{"Ala", 100}, {"Ola", 50}, {"Ela", 75}};

    std::mt19937 random(2026);
    int killed = 0;
    for (int round = 0; round < 120; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // Three results per child; the list fills after a few rounds, and then
        // every result rewrites the whole list in order.
        std::vector<std::pair<std::string, int>> batch;
        for (int i = 0; i < 3; ++i) {
            const int t = 20 + static_cast<int>(random() % 200);
            batch.emplace_back("gracz " + std::to_string(round) + "." + std::to_string(i), t);
            timeOf[batch.back().first] = t;
        }
        const int killAt = 1 + static_cast<int>(random() % 60);
        killed += RunAndKill(
            [&] {
                BestResults list(hive);
                for (const auto& [name, t] : batch)
                    if (list.Admits(t))
                        list.Add(name, t);
            },
            KillPoint::AnySystemCall, killAt);

        const auto parsed = hivefile::Parse(ReadAll(hive));
        ASSERT_TRUE(parsed) << "the hive is not whole";
        ASSERT_FALSE(fs::exists(atomicfile::KeptPath(hive, 0)));
        RegistryAccessor record(hive);
        ASSERT_TRUE(record.OpenKey("Software\\Kalvora\\Sudoku", false));
        EXPECT_EQ(record.ReadString("Version"), "2.0.0.432");
        EXPECT_EQ(record.ReadString("Name"), "Sudoku");
        record.CloseKey();

        // Every entry is a whole result, ranked, at places 1 … IlePoz.
        BestResults list(hive);
        const int count = list.Count();
        EXPECT_GE(count, 3);
        EXPECT_LE(count, BestResults::Capacity);
        RegistryAccessor stored(hive);
        ASSERT_TRUE(stored.OpenKey("Software\\Kalvora\\Sudoku\\Lista", false));
        EXPECT_EQ(stored.ReadInteger("IlePoz"), count);
        int previous = 0;
        for (int n = 1; n <= count; ++n) {
            const auto item = list.Entry(n);
            ASSERT_TRUE(item) << n;
            ASSERT_TRUE(timeOf.count(item->name)) << item->name;
            EXPECT_EQ(item->seconds, timeOf.at(item->name)) << item->name << " has another's time";
            EXPECT_EQ(stored.ReadString("_g" + std::to_string(n)), item->name) << "place " << n << " is not ranked";
            EXPECT_LE(previous, item->seconds);
            previous = item->seconds;
        }
    }
    EXPECT_GT(killed, 10) << "too few kills landed inside the work";

    BestResults list(hive);
    ASSERT_TRUE(list.Admits(1));
    list.Add("Ostatni", 1);
    EXPECT_EQ(list.Entry(1).value_or(BestResults::Item{}).name, "Ostatni");
}
#endif

// The same on both systems: a writer doing one thing over and over, killed at a
// random moment (Linux: a random system call; Windows: TerminateProcess after a
// random time), then a fresh reader, rounds on end.
class KilledWriters : public testing::TestWithParam<killed::Scenario>
{
};

TEST_P(KilledWriters, LeaveOneWholeStateOrTheOther)
{
    const killed::Scenario scenario = GetParam();
    const OwnHive hive;
    const TestFolder folder;
    killed::Prepare(scenario, folder.Path());
    ASSERT_EQ(killed::Check(scenario, folder.Path()), "");

    std::mt19937 random(2026);
    int kills = 0;
#ifdef _WIN32
    // This accessor keeps the hive's mutex open, so a writer killed holding it
    // leaves it abandoned for the next reader.
    RegistryAccessor watcher;
    watcher.OpenKey("\\Software\\Kalvora\\Sudoku", false);
    watcher.CloseKey();
    const int rounds = scenario == killed::Scenario::Adding ? 200 : 100;
    int halfWritten = 0;
    // The kills fall anywhere in the writer's next two rounds of work, however
    // long a round takes on this machine.
    const auto started = std::chrono::steady_clock::now();
    for (int i = 0; i < 5; ++i)
        killed::Work(scenario, folder.Path());
    const auto perRound = std::chrono::steady_clock::now() - started;
    const auto spread = static_cast<unsigned>(
        std::max<long long>(1, std::chrono::duration_cast<std::chrono::microseconds>(perRound).count() * 2 / 5));
#else
    const int rounds = 100;
    // The kills fall on any system call of two rounds of work.
    const auto work = [&] {
        killed::Work(scenario, folder.Path());
        killed::Work(scenario, folder.Path());
    };
    int calls = 0;
    ASSERT_FALSE(RunAndKill(work, KillPoint::AnySystemCall, INT_MAX, &calls));
#endif
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
#ifdef _WIN32
        killed::Writer writer(WRITER, scenario, hive.Name(), folder.Path());
        kills += writer.KillAfter(static_cast<int>(random() % spread));
        halfWritten += killed::JournalPending(L"Software\\Kalvora\\Sudoku") ||
                       killed::JournalPending(L"Software\\Kalvora\\Sudoku\\Lista");
#else
        kills += RunAndKill(work, KillPoint::AnySystemCall, 1 + static_cast<int>(random() % calls));
#endif
        const std::string verdict = killed::Check(scenario, folder.Path());
        ASSERT_EQ(verdict, "");
    }
    EXPECT_GT(kills, rounds / 2) << "too few kills landed inside the work";
#ifdef _WIN32
    // Some of them in the middle of a batch (about one in twenty under Wine, most
    // of them while the list is read), so the journal was put to work.
    if (scenario == killed::Scenario::Adding) {
        EXPECT_GT(halfWritten, 0);
    }
    std::printf("%d writers killed, %d of them in the middle of a batch; every list whole\n", kills, halfWritten);
#endif
    // The next one goes in.
    killed::Work(scenario, folder.Path());
    EXPECT_EQ(killed::Check(scenario, folder.Path()), "");
}

INSTANTIATE_TEST_SUITE_P(Scenarios, KilledWriters,
                         testing::Values(killed::Scenario::Adding, killed::Scenario::Recording,
                                         killed::Scenario::Clearing),
                         [](const testing::TestParamInfo<killed::Scenario>& info) {
                             std::string name = killed::NameOf(info.param);
                             name[0] = static_cast<char>(name[0] - 'a' + 'A');
                             return name;
                         });

} // namespace
