#include "image/Sharpening.h"

#include "image/PageMemory.h"
#include "image/RowBands.h"
#include "image/VectorLoops.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

namespace zuk {
namespace {

// The Gaussian's weights from its centre outwards, three standard deviations wide, adding up
// to 1 over both sides.
std::vector<float> gaussian(double radius) {
    const int reach = std::max(1, int(std::ceil(3 * radius)));
    std::vector<double> weights(std::size_t(reach) + 1);
    double sum = 0;
    for (int k = 0; k <= reach; ++k) {
        weights[std::size_t(k)] = std::exp(-double(k) * k / (2 * radius * radius));
        sum += k == 0 ? weights[0] : 2 * weights[std::size_t(k)];
    }
    std::vector<float> normalised;
    normalised.reserve(weights.size());
    for (double weight : weights)
        normalised.push_back(float(weight / sum));
    return normalised;
}

// Column sums of one row: each value's own gray and those at each distance above and below it
// (the edge rows repeated), weighed; the Gaussian is symmetric, so the two values at the same
// distance are added before they are weighed.
ZUK_VECTOR_LOOPS
void blurColumns(const uchar* const* rows, const float* weights, int reach, int width,
                 float* columns) {
    const uchar* centre = rows[reach];
    for (int x = 0; x < width; ++x)
        columns[x] = weights[0] * float(centre[x]);
    for (int k = 1; k <= reach; ++k) {
        const uchar* above = rows[reach - k];
        const uchar* under = rows[reach + k];
        for (int x = 0; x < width; ++x)
            columns[x] += weights[k] * float(int(above[x]) + int(under[x]));
    }
}

// The row of column sums blurred along the row; `columns` has `reach` values before and after
// the row, its edge values repeated.
ZUK_VECTOR_LOOPS
void blurRow(const float* columns, const float* weights, int reach, int width, float* blurred) {
    for (int x = 0; x < width; ++x)
        blurred[x] = weights[0] * columns[x];
    for (int k = 1; k <= reach; ++k) {
        const float* left = columns - k;
        const float* right = columns + k;
        for (int x = 0; x < width; ++x)
            blurred[x] += weights[k] * (left[x] + right[x]);
    }
}

// g + amount · (g − blurred), rounded and held to 0..255. The value is at most a few thousand
// either way, so the rounding can truncate the value plus a half: a value that truncates
// upwards below -1/2 is held to 0 anyway. Held as whole numbers, the loop runs on vectors.
ZUK_VECTOR_LOOPS
void unsharpRow(const uchar* in, const float* blurred, int width, float amount, uchar* out) {
    for (int x = 0; x < width; ++x) {
        const float g = float(in[x]);
        // NOLINTNEXTLINE(bugprone-incorrect-roundings): values below -1/2 are held to 0
        const int rounded = int(g + amount * (g - blurred[x]) + 0.5f);
        out[x] = uchar(rounded < 0 ? 0 : rounded > 255 ? 255 : rounded);
    }
}

// The blur of one row after another, with its working rows.
class RowBlur {
public:
    RowBlur(const QImage& gray, const std::vector<float>& weights)
        : gray_(gray), weights_(weights), reach_(int(weights.size()) - 1), width_(gray.width()),
          rows_(weights.size() * 2 - 1), padded_(std::size_t(width_ + 2 * reach_)),
          blurred_(std::size_t(width_)) {}

    const float* operator()(int y) {
        const int lastRow = gray_.height() - 1;
        for (std::size_t k = 0; k < rows_.size(); ++k)
            rows_[k] = gray_.constScanLine(std::clamp(y + int(k) - reach_, 0, lastRow));
        float* const columns = padded_.data() + reach_;
        blurColumns(rows_.data(), weights_.data(), reach_, width_, columns);
        std::fill(padded_.begin(), padded_.begin() + reach_, columns[0]);
        std::fill(padded_.end() - reach_, padded_.end(), columns[width_ - 1]);
        blurRow(columns, weights_.data(), reach_, width_, blurred_.data());
        return blurred_.data();
    }

private:
    const QImage& gray_;
    const std::vector<float>& weights_;
    const int reach_;
    const int width_;
    std::vector<const uchar*> rows_;
    std::vector<float> padded_;
    std::vector<float> blurred_;
};

} // namespace

QImage sharpened(const QImage& gray, double amount, double radius) {
    if (amount <= 0 || gray.isNull())
        return gray;
    QImage result = pictureInFreshPages(gray.width(), gray.height(), QImage::Format_Grayscale8);
    if (result.isNull())
        throw std::bad_alloc();
    result.setDotsPerMeterX(gray.dotsPerMeterX());
    result.setDotsPerMeterY(gray.dotsPerMeterY());
    const std::vector<float> weights = gaussian(radius);
    const float strength = float(amount);
    uchar* const bits = result.bits(); // taken before the threads start: no detach in them
    const qsizetype stride = result.bytesPerLine();
    const int width = gray.width();
    forRowBands(gray.height(), [&](int firstRow, int endRow) {
        RowBlur blur(gray, weights);
        for (int y = firstRow; y < endRow; ++y)
            unsharpRow(gray.constScanLine(y), blur(y), width, strength, bits + y * stride);
    });
    return result;
}

} // namespace zuk
