// Data of the sample diagram shown by the preview and the worked example, with its self-check.
#include "SampleDiagram.h"

#include <set>

namespace painter {

const Grid &sampleGivens()
{
    static const Grid givens = {{
        {0, 5, 7, 0, 0, 0, 0, 0, 1},
        {4, 3, 0, 6, 5, 8, 7, 0, 2},
        {0, 0, 8, 0, 7, 0, 0, 6, 5},
        {7, 0, 0, 0, 9, 0, 5, 0, 3},
        {0, 0, 0, 0, 6, 0, 1, 0, 0},
        {8, 4, 3, 5, 0, 7, 9, 0, 6},
        {0, 6, 9, 0, 2, 0, 8, 1, 0},
        {1, 0, 0, 9, 0, 0, 2, 0, 7},
        {0, 7, 5, 4, 8, 0, 0, 3, 0},
    }};
    return givens;
}

const Grid &sampleSolution()
{
    static const Grid solution = {{
        {6, 5, 7, 2, 4, 9, 3, 8, 1},
        {4, 3, 1, 6, 5, 8, 7, 9, 2},
        {9, 2, 8, 1, 7, 3, 4, 6, 5},
        {7, 1, 6, 8, 9, 2, 5, 4, 3},
        {5, 9, 2, 3, 6, 4, 1, 7, 8},
        {8, 4, 3, 5, 1, 7, 9, 2, 6},
        {3, 6, 9, 7, 2, 5, 8, 1, 4},
        {1, 8, 4, 9, 3, 6, 2, 5, 7},
        {2, 7, 5, 4, 8, 1, 6, 3, 9},
    }};
    return solution;
}

// Step 1: the sixth row lacks 1 and 2; the 2 below its first gap forces 1 there.
const std::vector<StepEntry> &stepOneEntries()
{
    static const std::vector<StepEntry> entries = {{6, 5, 1}, {6, 8, 2}};
    return entries;
}

// Step 2: the fifth column lacks 3 and 4; the 4 in the lower middle box forces 3 at the bottom.
const std::vector<StepEntry> &stepTwoEntries()
{
    static const std::vector<StepEntry> entries = {{8, 5, 3}, {1, 5, 4}};
    return entries;
}

std::string sampleDiagramFault()
{
    const Grid &givens = sampleGivens();
    const Grid &solution = sampleSolution();
    for (int r = 0; r < 9; ++r) {
        for (int c = 0; c < 9; ++c) {
            if (solution[r][c] < 1 || solution[r][c] > 9)
                return "solution cell " + std::to_string(r + 1) + "," + std::to_string(c + 1) + " is not a digit";
            if (givens[r][c] != 0 && givens[r][c] != solution[r][c])
                return "solution changes the given at " + std::to_string(r + 1) + "," + std::to_string(c + 1);
        }
    }
    for (int i = 0; i < 9; ++i) {
        std::set<int> row, col, box;
        for (int j = 0; j < 9; ++j) {
            row.insert(solution[i][j]);
            col.insert(solution[j][i]);
            box.insert(solution[(i / 3) * 3 + j / 3][(i % 3) * 3 + j % 3]);
        }
        if (row.size() != 9)
            return "row " + std::to_string(i + 1) + " repeats a digit";
        if (col.size() != 9)
            return "column " + std::to_string(i + 1) + " repeats a digit";
        if (box.size() != 9)
            return "box " + std::to_string(i + 1) + " repeats a digit";
    }
    for (const auto *entries : {&stepOneEntries(), &stepTwoEntries()}) {
        for (const StepEntry &entry : *entries) {
            if (givens[entry.row - 1][entry.col - 1] != 0)
                return "a step writes over a given";
            if (solution[entry.row - 1][entry.col - 1] != entry.value)
                return "a step writes a digit the solution does not have";
        }
    }
    return {};
}

} // namespace painter
