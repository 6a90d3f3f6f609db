// Helper for the two-process test: plays 200 finished games in the test's hive, entering each time the list admits.
#include "BestResults.h"

#include "OwnHive.h"
#include "TestFolder.h"

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv)
{
    const auto arguments = ProgramArguments(argc, argv);
    if (arguments.size() != 4)
        return 2;
    const OwnHive hive(arguments[1]); // the test's own
    BestResults results;
    const int parity = std::stoi(arguments[2]); // 1: odd times, 2: even times
    const int count = std::stoi(arguments[3]);
    try {
        for (int i = 0; i < count; ++i) {
            // Each process sends its times in a scrambled order, so the list keeps changing.
            const int t = (i * 73 % count) * 2 + parity;
            if (results.Admits(t))
                results.Add("gracz " + std::to_string(t), t);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
