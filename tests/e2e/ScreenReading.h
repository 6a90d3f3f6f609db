// Reading the game's screen: digits in the cells by their ink, and short texts by matching rendered letters.
#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <array>

// The ink of one cell: the pixels that stand out from the cell's background,
// whatever colour the digit is drawn in (blue givens, black entries).
struct Ink {
    QImage mask;  // Grayscale8, 255 where there is ink
    int pixels = 0;
};

Ink InkOf(const QImage& patch);

// How well two glyphs cover each other (intersection over union), at the best
// of small shifts: a digit centred in a 31 or a 32 pixels high cell may move by one.
double Overlap(const Ink& a, const Ink& b);

struct Reading {
    int digit = 0;  // 0 for an empty cell
    double score = 0;
    double runnerUp = 0;
};

// Which of the nine glyphs (index 0 is the digit 1) the ink is; an empty cell
// when there is hardly any ink.
Reading ReadDigit(const Ink& ink, const std::array<Ink, 9>& glyphs);

// A text drawn black on white in the given font, cut to its ink.
QImage RenderText(const QString& text, const QFont& font);

// The best normalised correlation of the rendered text with the screen's
// brightness anywhere inside the area (the text's top-left corner moving over it).
double TextMatch(const QImage& screen, const QRect& area, const QImage& text);
