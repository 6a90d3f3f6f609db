// Drawing kit shared by every picture: panes, decorative headings, icons, picture buttons and diagrams.
#pragma once

#include "Outlines.h"
#include "SampleDiagram.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <map>

namespace painter {

// Inks of the whole set: one colour per meaning, used alike on every window.
namespace ink {
inline const QColor black(26, 26, 26);
inline const QColor red(211, 38, 38);
inline const QColor green(46, 150, 52);
inline const QColor blue(21, 101, 192);
inline const QColor gameBlue(0, 102, 255);     // the fixed cells' colour
inline const QColor yellow(250, 200, 20);
inline const QColor gold(214, 158, 14);
inline const QColor violet(128, 48, 170);
inline const QColor pink(222, 62, 120);
} // namespace ink

// The windows' own colours, which opaque panels and labels on them also use.
namespace paper {
inline const QColor menu(187, 228, 170);
inline const QColor preview(255, 241, 164);
inline const QColor tips(181, 232, 252);
inline const QColor example(255, 201, 191);
inline const QColor game(181, 232, 252);
inline const QColor clock(181, 235, 255);
inline const QColor results(255, 246, 214);
} // namespace paper

struct PaneStyle {
    QColor fill;
    QColor rim;
    QColor rimLight;   // the bevel line just inside the rim
};

enum class ButtonState { Normal, Over, Down, Disabled };
enum class ButtonLayout { IconBeside, IconOnly };

struct ButtonLook {
    QString icon;
    QString word;     // empty for icon-only buttons
    QColor colour;    // the lit colour
    ButtonLayout layout = ButtonLayout::IconBeside;
    qreal maxWordSize = 26;   // a column of buttons shares one cap, so their words match
};

enum class Cell { Empty, Given, Entered };

class Studio
{
public:
    explicit Studio(const QString &iconFolder);

    // Family names of the bundled fonts, resolved after they are registered.
    static QString garamond() { return QStringLiteral("EB Garamond"); }
    static QString sans() { return QStringLiteral("Liberation Sans"); }
    static QString serif() { return QStringLiteral("Liberation Serif"); }
    static QString mono() { return QStringLiteral("Liberation Mono"); }
    static QFont font(const QString &family, qreal pixelSize, bool bold);

    // Fills the whole picture with the rim colour and lays the rounded panes over it, so
    // whatever the outline keeps shows either rim or pane and never a stray backdrop.
    void drawPane(QPainter &p, const Outline &outline, const PaneStyle &style) const;

    // Words in decorative letters: shadow, dark outline, gradient fill in the given colour.
    // Lines are centred in the box at the largest size that fits. The letters' face reads against
    // the backdrop (the colour behind the box) at a contrast of at least `minimumContrast`: a dark
    // ink is deepened as far as that needs, a light ink (yellow, gold) keeps its colour on a dark
    // plaque that fills the box.
    void drawHeading(QPainter &p, const QRectF &box, const QStringList &lines, const QColor &colour,
                     const QColor &backdrop, qreal maxPixelSize = 200) const;
    static constexpr qreal minimumContrast = 4.5;

    // An icon from the icon folder, flooded with one colour.
    void drawIcon(QPainter &p, const QString &name, const QRectF &box, const QColor &colour) const;

    // A picture button over whatever the caller has already painted as its backdrop.
    void drawButton(QPainter &p, const QSizeF &size, const ButtonLook &look, ButtonState state) const;

    // A sudoku diagram filling the box: digits by the cells' kind, outlined parts drawn by the caller.
    struct DiagramGeometry {
        qreal left, top, cellWidth, cellHeight;
        QRectF cell(int row, int col) const;
        QRectF rows(int first, int last) const;
        QRectF cols(int first, int last) const;
        QRectF box(int boxRow, int boxCol) const;
    };
    DiagramGeometry drawDiagram(QPainter &p, const QRectF &box, const Grid &digits,
                                const std::array<std::array<Cell, 9>, 9> &kinds,
                                const QColor &givenColour, const QColor &enteredColour) const;
    // A thick rounded outline around part of a diagram.
    static void outlinePart(QPainter &p, const QRectF &area, const QColor &colour, qreal width = 3);
    // A curved arrow with a filled head, from a label towards what it names.
    static void drawArrow(QPainter &p, const QPointF &from, const QPointF &control, const QPointF &to,
                          const QColor &colour);

    // Word-wraps text into the width with the given font, returning the lines.
    static QStringList wrap(const QString &text, const QFont &font, qreal width);

private:
    QString m_iconFolder;
    mutable std::map<QString, QByteArray> m_svgCache;
    mutable std::map<QString, QRectF> m_inkCache;
    const QByteArray &svg(const QString &name) const;
    // The part of an icon's square that holds ink, as fractions of the square.
    QRectF iconInk(const QString &name) const;
};

// Relative luminance of an opaque colour, and the contrast ratio of two (1 to 21), as the
// accessibility guidelines for text define them.
qreal relativeLuminance(const QColor &colour);
qreal contrastRatio(const QColor &a, const QColor &b);
// The colour darkened, keeping its hue, just far enough to reach the contrast against the backdrop.
QColor deepenedFor(const QColor &colour, const QColor &backdrop, qreal contrast);

// The device pixels per logical pixel of whatever the painter draws on.
qreal deviceScale(const QPainter &p);

} // namespace painter
