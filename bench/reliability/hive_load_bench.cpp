// Measures storing results: 10,000 in a row, then 4 games storing at once, and checks that none is lost or doubled.
#include "HiveFile.h"
#include "BestResults.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The list must hold exactly the ten shortest of `times` (all distinct), each once, in order.
bool ListHoldsTheBest(const fs::path& hive, std::vector<int> times)
{
    std::sort(times.begin(), times.end());
    BestResults list(hive);
    if (list.Count() != BestResults::Capacity) {
        std::printf("  FAULT: the count is %d\n", list.Count());
        return false;
    }
    bool ok = true;
    for (int n = 1; n <= BestResults::Capacity; ++n) {
        const auto item = list.Entry(n);
        const int want = times[static_cast<std::size_t>(n - 1)];
        if (!item || item->seconds != want || item->name != "gracz " + std::to_string(want)) {
            std::printf("  FAULT: entry %d is %s/%d, not gracz %d\n", n, item ? item->name.c_str() : "-",
                        item ? item->seconds : -1, want);
            ok = false;
        }
    }
    if (!hivefile::Parse(ReadAll(hive))) {
        std::printf("  FAULT: the hive cannot be read\n");
        ok = false;
    }
    return ok;
}

// One game storing its results: asks whether each time is admitted, then stores it.
void Play(const fs::path& hive, const std::vector<int>& times, int& admitted)
{
    BestResults list(hive);
    for (const int t : times) {
        if (list.Admits(t)) {
            list.Add("gracz " + std::to_string(t), t);
            ++admitted;
        }
    }
}

// Four games at once, each with its own quarter of `times`, every game asking
// and storing as the game window does.
bool FourGames(const fs::path& hive, const std::vector<int>& times, const char* what)
{
    BestResults(hive).Initialise();
    constexpr int Games = 4;
    const auto started = Clock::now();
    std::vector<pid_t> children;
    for (int game = 0; game < Games; ++game) {
        std::vector<int> mine;
        for (std::size_t i = static_cast<std::size_t>(game); i < times.size(); i += Games)
            mine.push_back(times[i]);
        const pid_t child = ::fork();
        if (child == 0) {
            int admitted = 0;
            try {
                Play(hive, mine, admitted);
            } catch (const std::exception& error) {
                std::printf("  FAULT in game %d: %s\n", game, error.what());
                ::_exit(1);
            }
            ::_exit(0);
        }
        children.push_back(child);
    }
    int failures = 0;
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        failures += !WIFEXITED(status) || WEXITSTATUS(status) != 0;
    }
    const double took = Seconds(started);
    const auto total = static_cast<double>(times.size());
    std::printf("four games at once, %s: %zu results in %.1f s, %.2f ms per result (%.2f ms per result in each game)\n",
                what, times.size(), took, took * 1000 / total, took * 1000 * Games / total);
    if (failures)
        std::printf("  FAULT: %d games failed\n", failures);
    return ListHoldsTheBest(hive, times) && failures == 0;
}

std::vector<int> Shuffled(int count, unsigned seed)
{
    std::vector<int> times;
    for (int i = 0; i < count; ++i)
        times.push_back(i + 1);
    std::srand(seed);
    for (int i = count - 1; i > 0; --i)
        std::swap(times[static_cast<std::size_t>(i)], times[static_cast<std::size_t>(std::rand() % (i + 1))]);
    return times;
}

} // namespace

// Arguments: results in the ordinary runs (10,000), results in the worst-case
// runs where every one rewrites the list (1,000: each costs about 21 flushed saves).
int main(int argc, char** argv)
{
    const int total = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int worst = argc > 2 ? std::atoi(argv[2]) : 1000;
    const fs::path folder = fs::temp_directory_path() / ("sudoku-load-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    bool ok = true;

    // In a row, as games go: random times, most of them not admitted.
    {
        const fs::path hive = folder / "random.reg";
        BestResults(hive).Initialise();
        const auto times = Shuffled(total, 7);
        int admitted = 0;
        const auto started = Clock::now();
        Play(hive, times, admitted);
        const double took = Seconds(started);
        std::printf("in a row, random times: %d results (%d admitted) in %.1f s, %.3f ms per result\n", total,
                    admitted, took, took * 1000 / total);
        ok = ListHoldsTheBest(hive, times) && ok;
    }

    // In a row, the worst case: every time beats the list, so every result
    // after the tenth rewrites the whole list.
    {
        const fs::path hive = folder / "row.reg";
        BestResults(hive).Initialise();
        std::vector<int> times;
        for (int i = 0; i < worst; ++i)
            times.push_back(worst * 2 - i);
        int admitted = 0;
        const auto started = Clock::now();
        Play(hive, times, admitted);
        const double took = Seconds(started);
        std::printf("in a row, every result admitted: %d results in %.1f s, %.2f ms per result; hive %ju bytes\n",
                    worst, took, took * 1000 / worst, static_cast<std::uintmax_t>(fs::file_size(hive)));
        ok = ListHoldsTheBest(hive, times) && admitted == worst && ok;
    }

    ok = FourGames(folder / "four-random.reg", Shuffled(total, 11), "random times") && ok;
    {
        // Falling times dealt round the games: all four keep beating the list.
        std::vector<int> times;
        for (int i = 0; i < worst; ++i)
            times.push_back(worst * 2 - i);
        ok = FourGames(folder / "four-falling.reg", times, "falling times") && ok;
    }

    std::error_code ignored;
    fs::remove_all(folder, ignored);
    std::printf(ok ? "no result lost or doubled\n" : "FAULTS FOUND\n");
    return ok ? 0 : 1;
}
