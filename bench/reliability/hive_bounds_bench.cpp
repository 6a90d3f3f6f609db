// Measures reading huge or damaged hive files written by hand: time and peak memory of each case.
#include "HiveFile.h"
#include "BestResults.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double Milliseconds(Clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

std::string Garbage(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string text(size, '\0');
    for (char& c : text)
        c = static_cast<char>(random() % 256);
    return text;
}

const std::string ListHeader = "Windows Registry Editor Version 5.00\n\n"
                               "[HKEY_CURRENT_USER\\Software\\Kalvora\\Sudoku\\Lista]\n"
                               "\"IlePoz\"=dword:00000001\n\"LastTime\"=dword:00000032\n"
                               "\"_g1\"=\"Ala\"\n\"_t1\"=dword:00000032\n";

// Runs one case in a child so that its peak memory is its own.
void Case(const char* what, const std::function<std::string()> &makeText, bool parseToo)
{
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0) {
        const fs::path folder = fs::temp_directory_path() / ("sudoku-bounds-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        const fs::path hive = folder / "Sudoku.reg";
        const std::string text = makeText();
        std::ofstream(hive, std::ios::binary) << text;

        auto started = Clock::now();
        BestResults list(hive);
        int readable = 0;
        for (int n = 1; n <= BestResults::Capacity; ++n)
            readable += list.Entry(n).has_value();
        const int count = list.Count();
        const double reading = Milliseconds(started);

        started = Clock::now();
        list.Initialise();
        const double writing = Milliseconds(started);

        double parsing = -1;
        if (parseToo) {
            started = Clock::now();
            const auto parsed = hivefile::Parse(text);
            parsing = Milliseconds(started);
            std::printf("  the parser alone: %s in %.0f ms\n", parsed ? "read" : "refused", parsing);
        }
        std::printf("%s (%.1f MB): 12 reads in %.0f ms (count %d, %d entries readable), first write %.0f ms\n", what,
                    static_cast<double>(text.size()) / (1 << 20), reading, count, readable, writing);
        std::error_code ignored;
        fs::remove_all(folder, ignored);
        std::fflush(stdout);
        ::_exit(0);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    std::printf("  peak memory %.0f MB, %s\n", static_cast<double>(usage.ru_maxrss) / 1024,
                WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "finished" : "CRASHED");
}

} // namespace

int main()
{
    Case("50 MB of garbage", [] { return Garbage(50u << 20, 1); }, true);
    Case("50 MB of garbage behind a valid header", [] { return ListHeader + Garbage(50u << 20, 2); }, true);
    Case("a 10 MB line among the results", [] { return ListHeader + std::string(10u << 20, 'x') + "\n"; }, true);
    Case("a 3 MB line among the results", [] { return ListHeader + std::string(3u << 20, 'x') + "\n"; }, true);
    Case("a name of 100,000 characters", [] {
        std::string name(100000, 'a');
        return ListHeader + "\"_g1\"=\"" + name + "\"\n";
    }, true);
    return 0;
}
