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
    for (double weight : weights)
        normalised.push_back(float(weight / sum));
    return normalised;
}

// One row of the blur: the columns blurred first (into the row's middle part of `padded`, the
// edge values repeated on both sides), then the row.
class RowBlur {
public:
    RowBlur(const QImage& gray, const std::vector<float>& weights)
        : gray_(gray), weights_(weights), reach_(int(weights.size()) - 1),
          padded_(std::size_t(gray.width() + 2 * reach_)), blurred_(std::size_t(gray.width())) {}

    const std::vector<float>& operator()(int y) {
        const int width = gray_.width();
        float* columns = padded_.data() + reach_;
        std::fill_n(columns, width, 0.0f);
        for (int k = -reach_; k <= reach_; ++k) {
            const float weight = weights_[std::size_t(std::abs(k))];
            const uchar* row = gray_.constScanLine(std::clamp(y + k, 0, gray_.height() - 1));
            for (int x = 0; x < width; ++x)
                columns[x] += weight * float(row[x]);
        }
        std::fill(padded_.begin(), padded_.begin() + reach_, columns[0]);
        std::fill(padded_.end() - reach_, padded_.end(), columns[width - 1]);
        std::fill(blurred_.begin(), blurred_.end(), 0.0f);
        for (int k = -reach_; k <= reach_; ++k) {
            const float weight = weights_[std::size_t(std::abs(k))];
            const float* shifted = columns + k;
            for (int x = 0; x < width; ++x)
                blurred_[std::size_t(x)] += weight * shifted[x];
        }
        return blurred_;
    }

private:
    const QImage& gray_;
    const std::vector<float>& weights_;
    const int reach_;
    std::vector<float> padded_;
    std::vector<float> blurred_;
};

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
    forRowBands(gray.height(), [&](int firstRow, int endRow) {
        RowBlur blur(gray, weights);
        for (int y = firstRow; y < endRow; ++y) {
            const std::vector<float>& blurred = blur(y);
            const uchar* in = gray.constScanLine(y);
            uchar* out = bits + y * stride;
            for (int x = 0; x < gray.width(); ++x) {
                const float g = float(in[x]);
                const float value =
                    std::clamp(g + strength * (g - blurred[std::size_t(x)]), 0.0f, 255.0f);
                out[x] = uchar(value + 0.5f);
            }
        }
    });
    return result;
}

} // namespace zuk
