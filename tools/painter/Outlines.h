// The six windows' outlines as horizontal pixel spans, the shapes the painted window pictures must fill.
#pragma once

#include <QRegion>
#include <QRect>
#include <QString>
#include <vector>

namespace painter {

// One run of rows [firstRow, lastRow] sharing the same half-open spans [from, to).
struct OutlineBand {
    int firstRow;
    int lastRow;
    std::vector<std::pair<int, int>> spans;
};

struct Outline {
    QString window;                // picture folder: menu, preview, tips, example, game, results
    int width;
    int height;
    std::vector<OutlineBand> bands;

    // The window's visible area in logical pixels.
    QRegion region() const;
    // The rounded pieces the outline is made of (one, or two for the menu), as bounding boxes.
    std::vector<QRect> pieces() const;
};

const Outline &outlineOf(const QString &window);
const std::vector<Outline> &allOutlines();

} // namespace painter
