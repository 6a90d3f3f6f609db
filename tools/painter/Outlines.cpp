// Span tables of the stored window outlines, so that each window picture's rounded rim lines up with its cut.
#include "Outlines.h"

#include "OutlineTable.h"

#include <stdexcept>
#include <string_view>

namespace painter {

namespace {

// The painter's folder name of each window class's pictures.
QString pictureFolder(const char *windowClass)
{
    static const std::pair<const char *, const char *> folders[] = {
        {"TForm1", "menu"}, {"TFPodglad", "preview"}, {"TFPrzyklad", "example"},
        {"TFRady", "tips"}, {"TFSudoku", "game"}, {"TF_Wyniki", "results"}};
    for (const auto &[name, folder] : folders) {
        if (std::string_view(name) == windowClass)
            return QString::fromLatin1(folder);
    }
    throw std::invalid_argument(std::string("no picture folder for window ") + windowClass);
}

// The same rows and spans the stored outlines were made from, so the pictures'
// rims cannot drift from the windows' cut.
std::vector<Outline> buildOutlines()
{
    std::vector<Outline> all;
    for (const WindowOutline &stored : WindowOutlines()) {
        Outline outline{pictureFolder(stored.window), stored.width, stored.height, {}};
        for (const OutlineRows &rows : stored.rows) {
            OutlineBand band{rows.firstRow, rows.lastRow, {}};
            for (const OutlineSpan &span : rows.spans)
                band.spans.emplace_back(span.from, span.to);
            outline.bands.push_back(std::move(band));
        }
        all.push_back(std::move(outline));
    }
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
