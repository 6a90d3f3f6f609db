// The ten best solving times, kept under Software\Kalvora\Sudoku\Lista in the user's hive.
#include "results/BestResults.h"

#include "platform/Registry.h"

BestResults::BestResults() = default;

BestResults::BestResults(std::filesystem::path hiveFile)
    : m_hiveFile(std::move(hiveFile))
{
}
