// Builds the source file of the puzzle catalogue: fixed seed, the same file on every run.
//
// Usage: generate_catalogue <output .cpp>   (statistics go to standard error)
//
// Four entries are fixed in advance; the other 227 are searched so that the
// whole catalogue has the intended spread of givens and of half-turn symmetric
// patterns, every entry having exactly one solution and no two entries alike.
// A search starts from a random full grid and takes givens away (in
// half-turn pairs for a symmetric pattern) while the solution stays unique,
// then puts givens back up to the wanted count. The rare small sizes come
// from a further step that trades a pair of givens for a centre digit; what
// the search still misses is derived from an entry of the same size by
// relabelling digits and shuffling rows and columns.

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "DealPuzzle.h"
#include "PuzzleCatalogue.h"
#include "Solver.h"

namespace {

using Cells = Solver::Cells;

constexpr std::uint32_t Seed = 20021231;

struct KnownEntry
{
    int index;
    const char* text;
};

// The entries every copy of the game has always carried at these places.
constexpr KnownEntry KnownEntries[] = {
    {0, "054702031610008002200034000508010020009607100040050609000870003800900065170306940"},
    {1, "200709400080060050307004108100408002020000040400502001702800609050090020009103005"},
    {224, "000300000006008900010020070700000030005000800020000007030070010009800500000006000"},
    {230, "000000600000169000005000209040900030030000050020008070607000500000852000008000000"},
};

// Givens → number of entries, over the whole catalogue.
const std::map<int, int> Distribution = {
    {20, 2}, {21, 2}, {22, 1}, {23, 1}, {24, 15}, {25, 15}, {26, 30}, {27, 22},
    {28, 75}, {29, 8}, {30, 11}, {31, 1}, {32, 46}, {34, 1}, {38, 1},
};
constexpr int SymmetricTotal = 222;

// Where the catalogue's few patterns without half-turn symmetry go (givens → entries).
const std::map<int, int> AsymmetricSizes = {{26, 2}, {27, 1}, {28, 3}, {32, 3}};

// Below this many givens a symmetric search rarely succeeds; after
// RareAttempts reductions the missing ones are derived.
constexpr int RareBelow = 24;
constexpr int RareAttempts = 14000;

// ---------------------------------------------------------------- randomness

class Random
{
public:
    explicit Random(std::uint32_t seed)
        : m_draw(seed)
    {
    }

    int Below(int bound) { return m_draw.Below(bound); }

    // Fisher–Yates with our own draw, so every platform gives the same order.
    template<typename T>
    void Shuffle(std::vector<T>& items)
    {
        for (int i = static_cast<int>(items.size()) - 1; i > 0; --i)
            std::swap(items[i], items[Below(i + 1)]);
    }

private:
    DealRandom m_draw;
};

std::vector<int> Permutation(int size, Random& random)
{
    std::vector<int> order(size);
    for (int i = 0; i < size; ++i)
        order[i] = i;
    random.Shuffle(order);
    return order;
}

// ---------------------------------------------------------------- grids

Cells FromText(const std::string& text)
{
    Cells cells{};
    for (int i = 0; i < 81; ++i)
        cells[i] = static_cast<std::uint8_t>(text[i] - '0');
    return cells;
}

std::string ToText(const Cells& cells)
{
    std::string text(81, '0');
    for (int i = 0; i < 81; ++i)
        text[i] = static_cast<char>('0' + cells[i]);
    return text;
}

int GivenCount(const Cells& cells)
{
    int count = 0;
    for (std::uint8_t value : cells)
        count += value != 0;
    return count;
}

bool IsSymmetric(const Cells& cells)
{
    for (int i = 0; i < 81; ++i)
        if ((cells[i] != 0) != (cells[80 - i] != 0))
            return false;
    return true;
}

bool HasOneSolution(const Cells& cells)
{
    return Solver(cells).CountSolutions(2) == 1;
}

Cells RandomSolution(Random& random)
{
    // The three boxes on the diagonal do not constrain each other.
    Cells cells{};
    for (int box = 0; box < 3; ++box) {
        const std::vector<int> digits = Permutation(9, random);
        for (int i = 0; i < 9; ++i)
            cells[(box * 3 + i / 3) * 9 + box * 3 + i % 3] = static_cast<std::uint8_t>(digits[i] + 1);
    }
    return *Solver(cells).FirstSolution();
}

// Cells that come and go together: half-turn pairs (and the centre alone),
// or single cells for a pattern without symmetry.
std::vector<std::vector<int>> Orbits(bool symmetric)
{
    std::vector<std::vector<int>> orbits;
    for (int cell = 0; cell < (symmetric ? 41 : 81); ++cell)
        orbits.push_back(symmetric && cell != 40 ? std::vector<int>{cell, 80 - cell} : std::vector<int>{cell});
    return orbits;
}

// Takes givens away while the solution stays unique: a minimal puzzle.
Cells Reduce(const Cells& solution, bool symmetric, Random& random)
{
    Cells puzzle = solution;
    std::vector<std::vector<int>> orbits = Orbits(symmetric);
    random.Shuffle(orbits);
    for (const std::vector<int>& orbit : orbits) {
        for (int cell : orbit)
            puzzle[cell] = 0;
        if (!HasOneSolution(puzzle))
            for (int cell : orbit)
                puzzle[cell] = solution[cell];
    }
    return puzzle;
}

// Puts givens of the solution back until the puzzle has `target` of them;
// more givens never spoil uniqueness. False when the symmetry cannot reach it.
bool FillUp(Cells& puzzle, const Cells& solution, int target, bool symmetric, Random& random)
{
    int count = GivenCount(puzzle);
    if (symmetric && (target - count) % 2 != 0) {
        if (puzzle[40] != 0)
            return false;
        puzzle[40] = solution[40];
        ++count;
    }
    std::vector<std::vector<int>> orbits = Orbits(symmetric);
    random.Shuffle(orbits);
    for (const std::vector<int>& orbit : orbits) {
        if (count >= target)
            break;
        if (orbit.size() == 1 && symmetric)
            continue; // the centre was settled above
        if (puzzle[orbit[0]] != 0)
            continue;
        for (int cell : orbit)
            puzzle[cell] = solution[cell];
        count += static_cast<int>(orbit.size());
    }
    return count == target;
}

// A relabelling of the digits and a shuffle of rows, columns, bands and
// stacks that maps half-turn partners onto half-turn partners: the outer two
// bands may swap, the rows of the top band move freely and the bottom band
// mirrors them, the middle band may only swap its outer rows. Sudoku rules
// and the number of solutions are unchanged.
std::array<int, 9> SymmetricLineOrder(Random& random)
{
    std::array<int, 9> order{};
    const bool swapBands = random.Below(2) == 1;
    const std::vector<int> top = Permutation(3, random);
    const bool flipMiddle = random.Below(2) == 1;
    for (int i = 0; i < 3; ++i) {
        order[i] = (swapBands ? 6 : 0) + top[i];
        order[8 - i] = 8 - order[i];
    }
    order[3] = flipMiddle ? 5 : 3;
    order[4] = 4;
    order[5] = flipMiddle ? 3 : 5;
    return order;
}

Cells DeriveSymmetric(const Cells& source, Random& random)
{
    const std::array<int, 9> rows = SymmetricLineOrder(random);
    const std::array<int, 9> columns = SymmetricLineOrder(random);
    const std::vector<int> digits = Permutation(9, random);
    Cells derived{};
    for (int row = 0; row < 9; ++row)
        for (int column = 0; column < 9; ++column) {
            const int value = source[rows[row] * 9 + columns[column]];
            derived[row * 9 + column] = static_cast<std::uint8_t>(value == 0 ? 0 : digits[value - 1] + 1);
        }
    return derived;
}

// A minimal symmetric puzzle loses one half-turn pair and takes a different
// centre digit instead (or a centre where it had none): now and then the
// result has a unique solution again, with one or two givens fewer than any
// plain reduction reached. This is how the rare odd sizes are found.
std::vector<Cells> ShrinkThroughCentre(const Cells& minimal)
{
    std::vector<Cells> found;
    for (int cell = 0; cell < 40; ++cell) {
        if (minimal[cell] == 0)
            continue;
        Cells candidate = minimal;
        candidate[cell] = 0;
        candidate[80 - cell] = 0;
        for (int digit = 1; digit <= 9; ++digit) {
            if (digit == minimal[40])
                continue; // the same centre: a plain removal, which a minimal puzzle refuses
            candidate[40] = static_cast<std::uint8_t>(digit);
            const Solver solver(candidate);
            if (solver.IsConsistent() && solver.CountSolutions(2) == 1)
                found.push_back(candidate);
        }
    }
    return found;
}

// ---------------------------------------------------------------- the catalogue

struct Catalogue
{
    std::set<std::string> texts;
    std::vector<std::string> generated;
    int derived = 0;
    std::string shrunkSizes;
    std::string derivedSizes;
    long reductions = 0;

    bool Add(const Cells& puzzle)
    {
        const std::string text = ToText(puzzle);
        if (!texts.insert(text).second)
            return false;
        generated.push_back(text);
        return true;
    }
};

std::string SourceFile(const std::vector<std::string>& entries)
{
    std::string out;
    out += "// The puzzle catalogue's entries, written by tools/catalogue/generate_catalogue; do not edit by hand.\n";
    out += "#include \"PuzzleCatalogueData.h\"\n\n";
    out += "namespace PuzzleCatalogue::Data {\n\n";
    out += "// Row by row from the top, each row from the left; '0' is an empty cell.\n";
    out += "const std::string_view Entries[Count] = {\n";
    for (std::size_t i = 0; i < entries.size(); ++i)
        out += "    \"" + entries[i] + "\", // " + std::to_string(i) + "\n";
    out += "};\n\n} // namespace PuzzleCatalogue::Data\n";
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: generate_catalogue <output .cpp>\n";
        return 2;
    }
    const auto started = std::chrono::steady_clock::now();
    Random random(Seed);
    Catalogue catalogue;

    // What the search must still produce, after the fixed entries.
    std::map<int, int> symmetricNeeded = Distribution;
    std::map<int, int> asymmetricNeeded = AsymmetricSizes;
    for (const auto& [size, count] : AsymmetricSizes)
        symmetricNeeded[size] -= count;
    for (const KnownEntry& known : KnownEntries) {
        const Cells cells = FromText(known.text);
        catalogue.texts.insert(known.text);
        --(IsSymmetric(cells) ? symmetricNeeded : asymmetricNeeded)[GivenCount(cells)];
    }
    auto stillNeeded = [](const std::map<int, int>& needed, bool includeRare) {
        int total = 0;
        for (const auto& [size, count] : needed)
            if (includeRare || size >= RareBelow)
                total += count;
        return total;
    };

    // Patterns without symmetry: single-cell reductions reach low counts easily.
    while (stillNeeded(asymmetricNeeded, true) > 0) {
        const Cells solution = RandomSolution(random);
        Cells puzzle = Reduce(solution, false, random);
        ++catalogue.reductions;
        for (auto& [size, count] : asymmetricNeeded) {
            if (count == 0 || size < GivenCount(puzzle))
                continue;
            if (FillUp(puzzle, solution, size, false, random) && !IsSymmetric(puzzle) && catalogue.Add(puzzle))
                --count;
            break;
        }
    }

    // Symmetric patterns: each minimal puzzle serves the smallest size still
    // wanted that it can reach, so the rare small sizes are filled first.
    long rareAttempts = 0;
    while (stillNeeded(symmetricNeeded, false) > 0
           || (stillNeeded(symmetricNeeded, true) > 0 && rareAttempts < RareAttempts)) {
        if (stillNeeded(symmetricNeeded, false) == 0)
            ++rareAttempts;
        const Cells solution = RandomSolution(random);
        Cells puzzle = Reduce(solution, true, random);
        ++catalogue.reductions;
        const int minimal = GivenCount(puzzle);
        const int shrunkSize = minimal - (puzzle[40] == 0 ? 1 : 2);
        if (shrunkSize < RareBelow && symmetricNeeded[shrunkSize] > 0) {
            bool used = false;
            for (const Cells& shrunk : ShrinkThroughCentre(puzzle))
                if (symmetricNeeded[shrunkSize] > 0 && catalogue.Add(shrunk)) {
                    --symmetricNeeded[shrunkSize];
                    catalogue.shrunkSizes += " " + std::to_string(shrunkSize) + "@" + std::to_string(catalogue.reductions);
                    used = true;
                }
            if (used)
                continue;
        }
        for (auto& [size, count] : symmetricNeeded) {
            if (count == 0 || size < minimal || ((size - minimal) % 2 != 0 && puzzle[40] != 0))
                continue;
            if (FillUp(puzzle, solution, size, true, random) && catalogue.Add(puzzle))
                --count;
            break;
        }
    }

    // Rare sizes the search did not reach: an entry of the same size, fixed
    // or found above, relabelled and shuffled. Failing that, a fixed entry
    // with one given fewer and no centre, which then takes its centre digit.
    for (auto& [size, count] : symmetricNeeded) {
        while (count > 0) {
            std::vector<std::pair<std::string, std::string>> sources; // text, where it comes from
            for (const std::string& text : catalogue.generated)
                sources.emplace_back(text, "a searched entry");
            for (const KnownEntry& known : KnownEntries)
                sources.emplace_back(known.text, "entry " + std::to_string(known.index));
            const std::pair<std::string, std::string>* base = nullptr;
            for (const auto& source : sources) {
                const Cells cells = FromText(source.first);
                if (IsSymmetric(cells) && GivenCount(cells) == size) {
                    base = &source;
                    break;
                }
            }
            for (const auto& source : sources) {
                const Cells cells = FromText(source.first);
                if (!base && IsSymmetric(cells) && GivenCount(cells) == size - 1 && cells[40] == 0) {
                    base = &source;
                    break;
                }
            }
            if (!base) {
                std::cerr << "no entry to derive " << size << " givens from\n";
                return 1;
            }
            Cells puzzle = DeriveSymmetric(FromText(base->first), random);
            if (GivenCount(puzzle) < size)
                puzzle[40] = (*Solver(puzzle).FirstSolution())[40];
            if (catalogue.Add(puzzle)) {
                --count;
                ++catalogue.derived;
                catalogue.derivedSizes += " " + std::to_string(size) + " from " + base->second + ";";
            }
        }
    }

    // The fixed entries keep their places; the rest fill the gaps in random order.
    random.Shuffle(catalogue.generated);
    std::vector<std::string> entries(PuzzleCatalogue::Count);
    for (const KnownEntry& known : KnownEntries)
        entries[known.index] = known.text;
    std::size_t next = 0;
    for (std::string& entry : entries)
        if (entry.empty())
            entry = catalogue.generated.at(next++);

    // Check the whole result before writing it.
    std::map<int, int> sizes;
    int symmetric = 0;
    for (const std::string& entry : entries) {
        const Cells cells = FromText(entry);
        if (!HasOneSolution(cells)) {
            std::cerr << "entry without a unique solution: " << entry << "\n";
            return 1;
        }
        ++sizes[GivenCount(cells)];
        symmetric += IsSymmetric(cells);
    }
    if (next != catalogue.generated.size() || sizes != Distribution || symmetric != SymmetricTotal
        || std::set<std::string>(entries.begin(), entries.end()).size() != entries.size()) {
        std::cerr << "the catalogue came out wrong\n";
        return 1;
    }

    std::ofstream file(argv[1], std::ios::binary);
    file << SourceFile(entries);
    if (!file.flush()) {
        std::cerr << "cannot write " << argv[1] << "\n";
        return 1;
    }

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::fprintf(stderr, "%d entries written to %s in %.1f s: %ld reductions searched, shrunk through the centre:%s; %d symmetric, %d derived:%s\n",
                 PuzzleCatalogue::Count, argv[1], seconds, catalogue.reductions, catalogue.shrunkSizes.c_str(), symmetric,
                 catalogue.derived,
                 catalogue.derivedSizes.c_str());
    return 0;
}
