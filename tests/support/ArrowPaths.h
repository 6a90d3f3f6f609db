// The arrow keys a player presses to take the game's mark from one open cell to another.
#pragma once

#include <array>
#include <deque>
#include <optional>
#include <vector>

// The four arrows, as row and column steps.
enum class Arrow { Left, Right, Up, Down };

// Where an arrow takes the mark from (row, column), all 1 to 9: the next open
// cell that way in the same row or column, round the edge; the mark stays when
// the line has no other open cell. `open[(row - 1) * 9 + column - 1]`.
inline std::pair<int, int> ArrowTarget(const std::array<bool, 81> &open, int row, int column, Arrow arrow)
{
    const int rowStep = arrow == Arrow::Up ? -1 : arrow == Arrow::Down ? 1 : 0;
    const int columnStep = arrow == Arrow::Left ? -1 : arrow == Arrow::Right ? 1 : 0;
    int r = row, c = column;
    for (int step = 0; step < 8; ++step) {
        r = (r - 1 + rowStep + 9) % 9 + 1;
        c = (c - 1 + columnStep + 9) % 9 + 1;
        if (open[(r - 1) * 9 + c - 1])
            return {r, c};
    }
    return {row, column};
}

// The fewest arrows from one open cell to another, or nothing when it cannot be reached.
inline std::optional<std::vector<Arrow>> ArrowPath(const std::array<bool, 81> &open, std::pair<int, int> from,
                                                   std::pair<int, int> to)
{
    std::array<int, 81> cameFrom{};
    std::array<Arrow, 81> by{};
    cameFrom.fill(-1);
    const auto index = [](std::pair<int, int> cell) { return (cell.first - 1) * 9 + cell.second - 1; };
    std::deque<std::pair<int, int>> queue{from};
    cameFrom[index(from)] = index(from);
    while (!queue.empty()) {
        const auto cell = queue.front();
        queue.pop_front();
        if (cell == to) {
            std::vector<Arrow> path;
            for (int at = index(to); at != index(from); at = cameFrom[at])
                path.insert(path.begin(), by[at]);
            return path;
        }
        for (Arrow arrow : {Arrow::Left, Arrow::Right, Arrow::Up, Arrow::Down}) {
            const auto next = ArrowTarget(open, cell.first, cell.second, arrow);
            if (cameFrom[index(next)] < 0) {
                cameFrom[index(next)] = index(cell);
                by[index(next)] = arrow;
                queue.push_back(next);
            }
        }
    }
    return std::nullopt;
}
