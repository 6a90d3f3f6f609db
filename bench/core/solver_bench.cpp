// Measures the solver: checking every catalogue entry for a unique solution, and a hard case.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "PuzzleCatalogue.h"
#include "Solver.h"

namespace {

template<typename Work>
double MicrosecondsPerRun(int runs, Work work)
{
    const auto started = std::chrono::steady_clock::now();
    for (int run = 0; run < runs; ++run)
        work();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - started).count() / runs;
}

} // namespace

int main()
{
    int sink = 0;

    // What the catalogue test does: every entry, counting up to two.
    const double catalogue = MicrosecondsPerRun(20, [&] {
        for (int index = 0; index < PuzzleCatalogue::Count; ++index)
            sink += Solver::FromText(PuzzleCatalogue::Text(index)).CountSolutions(2);
    });
    std::printf("whole catalogue, unique-solution check: %.0f us (%.1f us per entry)\n", catalogue,
                catalogue / PuzzleCatalogue::Count);

    // The slowest single entry.
    double slowest = 0;
    int slowestIndex = 0;
    for (int index = 0; index < PuzzleCatalogue::Count; ++index) {
        const Solver solver = Solver::FromText(PuzzleCatalogue::Text(index));
        const double time = MicrosecondsPerRun(20, [&] { sink += solver.CountSolutions(2); });
        if (time > slowest) {
            slowest = time;
            slowestIndex = index;
        }
    }
    std::printf("slowest entry %d: %.1f us\n", slowestIndex, slowest);

    // Many completions: the empty grid, counting to 10,000.
    const Solver empty = Solver::FromText(std::string(81, '0'));
    const double manyCompletions = MicrosecondsPerRun(5, [&] { sink += empty.CountSolutions(10000); });
    std::printf("empty grid, first 10000 completions: %.0f us\n", manyCompletions);

    return sink == 0 ? 1 : 0;
}
