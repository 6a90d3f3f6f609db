// The ten best solving times, kept under Software\Kalvora\Sudoku\Lista in the user's hive.
#pragma once

#include "Registry.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The list is ranked: place 1 holds the shortest time, equal times keep the
// order in which they came. The entries are the truth: every reading ranks the
// valid ones (a plain-string name `_g<n>` and an integer time `_t<n>`) and
// counts them, whatever the counters `IlePoz` and `LastTime` say, and every
// writing stores the list in that form (places 1 … n, `IlePoz` n, `LastTime`
// the longest time, nothing after place n). Invalid places are dropped when
// the list is written; nothing valid is.
//
// Every operation opens the hive on its own and releases it before returning,
// so two running copies of the game never interleave their changes, and each
// change is one batch of the registry layer: stored whole or not at all, also
// when the game is killed in the middle of it. Registry failures propagate as
// RegistryError; no change that could not be made passes in silence.
class BestResults
{
public:
    struct Item
    {
        std::string name;
        std::int32_t seconds = 0;
    };

    static constexpr int Capacity = 10;

    BestResults(); // the current user's hive
#ifndef _WIN32
    explicit BestResults(std::filesystem::path hiveFile); // a given hive file
#endif

    // Whether a solving time of t seconds earns a place on the list.
    bool Admits(std::int32_t t);
    // Stores the result at its place by time, after any equal times; the
    // slowest falls off a full list. All of it is stored, or nothing; a list
    // that cannot be opened raises RegistryError("Failed to set data for 'Lista'").
    void Add(const std::string& name, std::int32_t t);
    // Place n (1-based) of the ranked list, or nothing when it is empty.
    std::optional<Item> Entry(int n);
    // How many results the list holds.
    int Count();
    // Deletes the list and starts an empty one. Until the empty list is
    // written, there is none, which reads as empty too.
    void ClearAll();
    // The installation's set-up: the list is stored in its sound form, the
    // counters rebuilt from the entries (LastTime 0 and IlePoz 0 when there are
    // none); the player's results stay.
    void Initialise();

    // What Initialise changes in the list key open in `list`, for a batch of
    // the installation record's own.
    static std::vector<RegistryValueChange> ChangesToRebuild(const RegistryAccessor& list);

private:
    std::unique_ptr<RegistryAccessor> Hive() const;
    std::unique_ptr<RegistryAccessor> OpenList(bool& opened) const;

#ifndef _WIN32
    std::filesystem::path m_hiveFile; // empty: the current user's hive
#endif
};
