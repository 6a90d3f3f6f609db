// Reading the game's screen: digits in the cells by their ink, and short texts by matching rendered letters.
#include "ScreenReading.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Below this distance from the background (in RGB) nothing is drawn.
constexpr double FaintestInk = 60.0;

double distance(QRgb a, QRgb b)
{
    const double red = qRed(a) - qRed(b), green = qGreen(a) - qGreen(b), blue = qBlue(a) - qBlue(b);
    return std::sqrt(red * red + green * green + blue * blue);
}

// The background is what the patch's outer ring mostly shows.
QRgb backgroundOf(const QImage& patch)
{
    std::vector<int> reds, greens, blues;
    for (int x = 0; x < patch.width(); ++x)
        for (int y : {0, patch.height() - 1}) {
            const QRgb pixel = patch.pixel(x, y);
            reds.push_back(qRed(pixel)), greens.push_back(qGreen(pixel)), blues.push_back(qBlue(pixel));
        }
    for (int y = 0; y < patch.height(); ++y)
        for (int x : {0, patch.width() - 1}) {
            const QRgb pixel = patch.pixel(x, y);
            reds.push_back(qRed(pixel)), greens.push_back(qGreen(pixel)), blues.push_back(qBlue(pixel));
        }
    const auto median = [](std::vector<int>& values) {
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        return values[values.size() / 2];
    };
    return qRgb(median(reds), median(greens), median(blues));
}

double brightness(QRgb pixel)
{
    return 0.299 * qRed(pixel) + 0.587 * qGreen(pixel) + 0.114 * qBlue(pixel);
}

}  // namespace

Ink InkOf(const QImage& patch)
{
    Ink ink;
    ink.mask = QImage(patch.size(), QImage::Format_Grayscale8);
    ink.mask.fill(0);
    const QRgb background = backgroundOf(patch);
    double strongest = 0;
    for (int y = 0; y < patch.height(); ++y)
        for (int x = 0; x < patch.width(); ++x)
            strongest = std::max(strongest, distance(patch.pixel(x, y), background));
    if (strongest < FaintestInk)
        return ink;
    // Half way to the strongest ink, so blue and black glyphs get the same shape.
    for (int y = 0; y < patch.height(); ++y)
        for (int x = 0; x < patch.width(); ++x)
            if (distance(patch.pixel(x, y), background) >= strongest / 2) {
                ink.mask.setPixel(x, y, 255);
                ++ink.pixels;
            }
    return ink;
}

double Overlap(const Ink& a, const Ink& b)
{
    if (a.pixels == 0 || b.pixels == 0)
        return 0;
    double best = 0;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            int both = 0;
            for (int y = 0; y < a.mask.height(); ++y) {
                const int by = y + dy;
                if (by < 0 || by >= b.mask.height())
                    continue;
                const uchar* rowA = a.mask.constScanLine(y);
                const uchar* rowB = b.mask.constScanLine(by);
                for (int x = 0; x < a.mask.width(); ++x) {
                    const int bx = x + dx;
                    if (bx >= 0 && bx < b.mask.width() && rowA[x] && rowB[bx])
                        ++both;
                }
            }
            best = std::max(best, double(both) / double(a.pixels + b.pixels - both));
        }
    return best;
}

Reading ReadDigit(const Ink& ink, const std::array<Ink, 9>& glyphs)
{
    Reading reading;
    if (ink.pixels < 12)
        return reading;
    for (int digit = 1; digit <= 9; ++digit) {
        const double score = Overlap(ink, glyphs[digit - 1]);
        if (score > reading.score) {
            reading.runnerUp = reading.score;
            reading.score = score;
            reading.digit = digit;
        } else {
            reading.runnerUp = std::max(reading.runnerUp, score);
        }
    }
    return reading;
}

QImage RenderText(const QString& text, const QFont& font)
{
    const QFontMetrics metrics(font);
    QImage canvas(metrics.horizontalAdvance(text) + 8, metrics.height() + 8, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(4, 4 + metrics.ascent(), text);
    }
    QRect inked;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (brightness(canvas.pixel(x, y)) < 200)
                inked |= QRect(x, y, 1, 1);
    return canvas.copy(inked.adjusted(-1, -1, 1, 1));
}

double TextMatch(const QImage& screen, const QRect& area, const QImage& text)
{
    const int width = text.width(), height = text.height();
    std::vector<double> pattern(width * height);
    double patternMean = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            patternMean += pattern[y * width + x] = brightness(text.pixel(x, y));
    patternMean /= pattern.size();
    double patternNorm = 0;
    for (double& value : pattern) {
        value -= patternMean;
        patternNorm += value * value;
    }

    double best = -1;
    for (int top = area.top(); top <= area.bottom(); ++top)
        for (int left = area.left(); left <= area.right(); ++left) {
            if (left < 0 || top < 0 || left + width > screen.width() || top + height > screen.height())
                continue;
            double mean = 0;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    mean += brightness(screen.pixel(left + x, top + y));
            mean /= pattern.size();
            double product = 0, norm = 0;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const double value = brightness(screen.pixel(left + x, top + y)) - mean;
                    product += value * pattern[y * width + x];
                    norm += value * value;
                }
            if (norm > 0 && patternNorm > 0)
                best = std::max(best, product / std::sqrt(norm * patternNorm));
        }
    return best;
}
