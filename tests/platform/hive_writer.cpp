// Helper for the two-process tests: writes <count> values <prefix>0 … through the registry layer.
#include "Registry.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    const std::string prefix = argv[2];
    const int count = std::stoi(argv[3]);
    try {
        for (int i = 0; i < count; ++i) {
            // A fresh accessor each time, as the game's handlers do, so the two
            // writers take turns on the hive hundreds of times.
            RegistryAccessor registry(argv[1]);
            if (!registry.OpenKey("Software\\Kalvora\\Sudoku\\Test", true))
                return 3;
            registry.WriteInteger(prefix + std::to_string(i), i);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
