// The installation record the game keeps under Software\Kalvora\Sudoku at start-up.
#pragma once

#include <filesystem>
#include <string>

class RegistryAccessor;

// Writes the record unless a valid one is there already (Path a text naming an
// existing file); the best-results list is created empty, or kept with its
// counters rebuilt from its entries when the game is reinstalled or moved.
void EnsureInstallationRecord(RegistryAccessor& registry, const std::filesystem::path& executable,
                              const std::string& versionText, const std::string& title);
