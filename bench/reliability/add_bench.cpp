// Measures one Add on a full best-results list, and kills writers in the middle of adding to count the lists left whole.
#include "KilledWriters.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using Clock = std::chrono::steady_clock;

namespace {

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Milliseconds(Clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// Every result the best yet: it goes in at place 1 and moves all the others;
// then results just better than the slowest: only place 10 changes.
void TimeAdds(const std::filesystem::path& folder, int count)
{
    killed::Prepare(killed::Scenario::Adding, folder);
    std::vector<double> first;
    std::vector<double> last;
    for (int i = 0; i < count; ++i) {
        const int best = BestResults().Entry(1)->seconds - 1;
        const auto started = Clock::now();
        BestResults().Add(killed::NameFor(best), best);
        first.push_back(Milliseconds(started));
    }
    for (int i = 0; i < count; ++i) {
        const int slower = BestResults().Entry(BestResults::Capacity)->seconds - 1;
        const auto started = Clock::now();
        BestResults().Add(killed::NameFor(slower), slower);
        last.push_back(Milliseconds(started));
    }
    std::printf("one Add on a full list, %d each: %.3f ms (median) at place 1, %.3f ms at place 10\n", count,
                Median(first), Median(last));
    if (const auto fault = killed::Check(killed::Scenario::Adding, folder); !fault.empty())
        std::printf("  FAULT: %s\n", fault.c_str());
}

#ifdef _WIN32
std::string SelfPath()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return killed::Utf8(path);
}
#endif

// Writers adding ever better results, each killed at a random moment of its
// next two Adds (TerminateProcess on Windows, SIGKILL on Linux); after each, a
// fresh reader checks that every name has its own time, ranked.
void KillWriters(const OwnHive& hive, const std::filesystem::path& folder, int rounds)
{
    killed::Prepare(killed::Scenario::Adding, folder);
    const auto started = Clock::now();
    for (int i = 0; i < 5; ++i)
        killed::Work(killed::Scenario::Adding, folder);
    const auto spread = static_cast<unsigned>(std::max(1.0, Milliseconds(started) * 1000 * 2 / 5));
    std::mt19937 random(2026);
    int whole = 0;
    [[maybe_unused]] int halfWritten = 0;
    for (int round = 0; round < rounds; ++round) {
        {
#ifdef _WIN32
            killed::Writer writer(SelfPath(), killed::Scenario::Adding, hive.Name(), folder);
#else
            (void)hive;
            killed::Writer writer(killed::Scenario::Adding, folder);
#endif
            writer.KillAfter(static_cast<int>(random() % spread));
        }
#ifdef _WIN32
        halfWritten += killed::JournalPending(L"Software\\Kalvora\\Sudoku\\Lista");
#endif
        const auto fault = killed::Check(killed::Scenario::Adding, folder);
        if (fault.empty()) {
            ++whole;
            continue;
        }
        std::printf("  round %d: %s\n", round, fault.c_str());
        killed::StoreFullList(BestResults().Entry(1)->seconds - 1000);
    }
    std::printf("%d writers killed in the middle of adding: %d lists whole, %d mixed", rounds, whole, rounds - whole);
#ifdef _WIN32
    std::printf("; %d killed in the middle of a batch", halfWritten);
#endif
    std::printf("\n");
}

} // namespace

// Arguments: Adds to time at each place (200), writers to kill (300).
int main(int argc, char** argv)
{
    if (argc == 4)
        return killed::WriterMain(argc, argv); // a writer this benchmark started
    const int adds = argc > 1 ? std::atoi(argv[1]) : 200;
    const int kills = argc > 2 ? std::atoi(argv[2]) : 300;
    const OwnHive hive;
    const TestFolder folder;
    TimeAdds(folder.Path(), adds);
    if (kills > 0)
        KillWriters(hive, folder.Path(), kills);
    return 0;
}
