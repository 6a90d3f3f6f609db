// Writes the six windows' stored outlines (<Window>.Mask.Data) from their rows and spans.
#include "OutlineTable.h"
#include "TShapedForm.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegion>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_outlines <output folder, e.g. assets/outlines>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (const WindowOutline &outline : WindowOutlines()) {
        QRegion region;
        for (const OutlineRows &rows : outline.rows) {
            for (const OutlineSpan &span : rows.spans)
                region += QRect(span.from, rows.firstRow, span.to - span.from, rows.lastRow - rows.firstRow + 1);
        }
        const QByteArray bytes = TShapedRegion::serialize(region);
        QFile file(folder.filePath(QString::fromLatin1(outline.window) + QStringLiteral(".Mask.Data")));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
        std::printf("%s: %lld bytes, %d rectangles\n", outline.window, static_cast<long long>(bytes.size()),
                    region.rectCount());
    }
    return 0;
}
