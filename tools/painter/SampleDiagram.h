// The sample diagram of the guide windows: its givens, its solution and the digits each worked step enters.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace painter {

using Grid = std::array<std::array<int, 9>, 9>;   // [row-1][col-1], 0 = empty

struct StepEntry {
    int row;
    int col;
    int value;
};

const Grid &sampleGivens();
const Grid &sampleSolution();
// Digits written in by the worked example's first two steps, in the order the text enters them.
const std::vector<StepEntry> &stepOneEntries();
const std::vector<StepEntry> &stepTwoEntries();

// Empty when the solution obeys the rules, keeps every given and agrees with the step entries;
// otherwise a sentence naming the first fault. The painter refuses to draw a wrong guide.
std::string sampleDiagramFault();

} // namespace painter
