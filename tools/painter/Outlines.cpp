// Span tables of the stored window outlines, so that each window picture's rounded rim lines up with its cut.
#include "Outlines.h"

#include <stdexcept>

namespace painter {

namespace {

// The band lists read exactly as the outlines do: rows, then spans.
std::vector<Outline> buildOutlines()
{
    std::vector<Outline> all;
    all.push_back({"menu", 607, 479, {
        {0, 0, {{7, 100}, {122, 602}}},
        {1, 1, {{4, 103}, {121, 603}}},
        {2, 2, {{3, 104}, {120, 604}}},
        {3, 3, {{2, 105}, {119, 605}}},
        {4, 4, {{2, 105}, {118, 606}}},
        {5, 5, {{1, 106}, {118, 606}}},
        {6, 6, {{1, 106}, {117, 606}}},
        {7, 471, {{0, 107}, {117, 606}}},
        {472, 472, {{0, 106}, {118, 606}}},
        {473, 473, {{1, 106}, {118, 606}}},
        {474, 474, {{1, 105}, {119, 605}}},
        {475, 475, {{2, 104}, {120, 604}}},
        {476, 476, {{3, 103}, {121, 603}}},
        {477, 477, {{4, 102}, {123, 602}}},
        {478, 478, {{5, 100}, {125, 600}}},
    }});
    all.push_back({"preview", 359, 373, {
        {0, 0, {{6, 353}}}, {1, 1, {{4, 355}}}, {2, 2, {{3, 356}}}, {3, 3, {{2, 357}}},
        {4, 5, {{1, 358}}}, {6, 367, {{0, 358}}}, {368, 368, {{1, 358}}}, {369, 369, {{2, 357}}},
        {370, 370, {{3, 356}}}, {371, 371, {{4, 355}}}, {372, 372, {{6, 353}}},
    }});
    all.push_back({"example", 440, 500, {
        {0, 0, {{7, 433}}}, {1, 1, {{5, 435}}}, {2, 2, {{4, 436}}}, {3, 3, {{3, 437}}},
        {4, 4, {{2, 438}}}, {5, 5, {{1, 439}}}, {6, 493, {{0, 439}}}, {494, 494, {{1, 439}}},
        {495, 495, {{2, 438}}}, {496, 496, {{3, 437}}}, {497, 497, {{4, 436}}},
        {498, 498, {{6, 435}}}, {499, 499, {{8, 433}}},
    }});
    all.push_back({"tips", 231, 292, {
        {0, 0, {{5, 225}}}, {1, 1, {{4, 227}}}, {2, 2, {{3, 228}}}, {3, 3, {{2, 229}}},
        {4, 5, {{1, 230}}}, {6, 64, {{0, 230}}}, {65, 65, {{0, 31}, {32, 230}}},
        {66, 136, {{0, 230}}}, {137, 137, {{0, 28}, {29, 230}}}, {138, 286, {{0, 230}}},
        {287, 287, {{1, 230}}}, {288, 288, {{2, 229}}}, {289, 289, {{3, 228}}},
        {290, 290, {{4, 227}}}, {291, 291, {{6, 225}}},
    }});
    all.push_back({"game", 587, 365, {
        {0, 0, {{6, 581}}}, {1, 1, {{4, 583}}}, {2, 2, {{3, 584}}}, {3, 3, {{2, 585}}},
        {4, 4, {{1, 586}}}, {5, 359, {{0, 586}}}, {360, 360, {{1, 586}}}, {361, 361, {{2, 585}}},
        {362, 362, {{3, 584}}}, {363, 363, {{4, 583}}}, {364, 364, {{6, 581}}},
    }});
    all.push_back({"results", 290, 338, {
        {0, 0, {{5, 285}}}, {1, 1, {{3, 287}}}, {2, 2, {{2, 7}, {8, 288}}}, {3, 4, {{1, 289}}},
        {5, 331, {{0, 289}}}, {332, 333, {{1, 289}}}, {334, 334, {{2, 288}}},
        {335, 335, {{3, 287}}}, {336, 336, {{4, 286}}}, {337, 337, {{7, 283}}},
    }});
    return all;
}

} // namespace

QRegion Outline::region() const
{
    QRegion result;
    for (const OutlineBand &band : bands) {
        for (const auto &[from, to] : band.spans)
            result += QRect(from, band.firstRow, to - from, band.lastRow - band.firstRow + 1);
    }
    return result;
}

std::vector<QRect> Outline::pieces() const
{
    // Pieces are told apart by the gap between them: a span belongs to the piece whose
    // widest extent it overlaps. Holes of a single pixel do not split a piece.
    std::vector<QRect> result;
    for (const OutlineBand &band : bands) {
        for (const auto &[from, to] : band.spans) {
            QRect strip(from, band.firstRow, to - from, band.lastRow - band.firstRow + 1);
            bool merged = false;
            for (QRect &piece : result) {
                if (strip.left() <= piece.right() + 2 && strip.right() >= piece.left() - 2) {
                    piece = piece.united(strip);
                    merged = true;
                    break;
                }
            }
            if (!merged)
                result.push_back(strip);
        }
    }
    return result;
}

const std::vector<Outline> &allOutlines()
{
    static const std::vector<Outline> outlines = buildOutlines();
    return outlines;
}

const Outline &outlineOf(const QString &window)
{
    for (const Outline &outline : allOutlines()) {
        if (outline.window == window)
            return outline;
    }
    throw std::invalid_argument("no outline for window " + window.toStdString());
}

} // namespace painter
