#include "image/Sharpening.h"

#include "image/RowBands.h"

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

// One row of the blur: the columns blurred first (into the row's middle part of `padded`, the
// edge values repeated on both sides), then the row. The Gaussian is symmetric, so the two
// values at the same distance are added before they are weighed.
class RowBlur {
public:
    RowBlur(const QImage& gray, const std::vector<float>& weights)
        : gray_(gray), weights_(weights), reach_(int(weights.size()) - 1), width_(gray.width()),
          padded_(std::size_t(width_ + 2 * reach_)), blurred_(std::size_t(width_)) {}

    const float* operator()(int y) {
        const int width = width_;
        float* const columns = padded_.data() + reach_;
        const uchar* centre = gray_.constScanLine(y);
        const float middle = weights_[0];
        for (int x = 0; x < width; ++x)
            columns[x] = middle * float(centre[x]);
        const int lastRow = gray_.height() - 1;
        for (int k = 1; k <= reach_; ++k) {
            const float weight = weights_[std::size_t(k)];
            const uchar* above = gray_.constScanLine(std::max(y - k, 0));
            const uchar* under = gray_.constScanLine(std::min(y + k, lastRow));
            for (int x = 0; x < width; ++x)
                columns[x] += weight * float(int(above[x]) + int(under[x]));
        }
        std::fill(padded_.begin(), padded_.begin() + reach_, columns[0]);
        std::fill(padded_.end() - reach_, padded_.end(), columns[width - 1]);
        float* const blurred = blurred_.data();
        for (int x = 0; x < width; ++x)
            blurred[x] = middle * columns[x];
        for (int k = 1; k <= reach_; ++k) {
            const float weight = weights_[std::size_t(k)];
            const float* left = columns - k;
            const float* right = columns + k;
            for (int x = 0; x < width; ++x)
                blurred[x] += weight * (left[x] + right[x]);
        }
        return blurred;
    }

private:
    const QImage& gray_;
    const std::vector<float>& weights_;
    const int reach_;
    const int width_;
    std::vector<float> padded_;
    std::vector<float> blurred_;
};

// g + amount · (g − blurred), rounded and held to 0..255. The value is at most a few thousand
// either way, so the rounding can truncate the value plus a half: a value that truncates
// upwards below -1/2 is held to 0 anyway. Held as whole numbers, the loop runs on vectors.
void unsharpRow(const uchar* in, const float* blurred, int width, float amount, uchar* out) {
    for (int x = 0; x < width; ++x) {
        const float g = float(in[x]);
        // NOLINTNEXTLINE(bugprone-incorrect-roundings): values below -1/2 are held to 0
        const int rounded = int(g + amount * (g - blurred[x]) + 0.5f);
        out[x] = uchar(rounded < 0 ? 0 : rounded > 255 ? 255 : rounded);
    }
}

} // namespace

QImage sharpened(const QImage& gray, double amount, double radius) {
    if (amount <= 0 || gray.isNull())
        return gray;
    QImage result(gray.size(), QImage::Format_Grayscale8);
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
