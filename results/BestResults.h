// The ten best solving times, kept under Software\Kalvora\Sudoku\Lista in the user's hive.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

// Every operation opens the hive on its own and releases it before returning,
// so two running copies of the game never interleave their changes.
// Registry failures propagate as RegistryError.
class BestResults
{
public:
    struct Item
    {
        std::string name;
        std::int32_t seconds = 0;
    };

    static constexpr int Capacity = 10;

    BestResults();                                       // the current user's hive
    explicit BestResults(std::filesystem::path hiveFile); // a given hive file

    // Whether a solving time of t seconds earns a place on the list.
    bool Admits(std::int32_t t);
    // Stores the result, keeping the list sorted by time and at most ten long.
    void Add(const std::string& name, std::int32_t t);
    // Place n (1-based), or nothing when the place is empty or its entry invalid.
    std::optional<Item> Entry(int n);
    // The stored count IlePoz, 0 when it is missing or invalid.
    int Count();
    // Deletes the list and starts an empty one.
    void ClearAll();
    // The first-run set-up: LastTime 0, then IlePoz 0; entries already stored stay.
    void Initialise();

private:
    std::filesystem::path m_hiveFile; // empty: the current user's hive
};
