#include "image/Resampling.h"

#include "image/RowBands.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

namespace zuk {
namespace {

// The weights of one new pixel: old pixels first..first+count-1.
struct Taps {
    int first = 0;
    int count = 0;
    int offset = 0; // into the weights of all pixels
};

// The triangle filter from `from` old pixels to `to` new ones along one side, the weights of
// each new pixel adding up to 1.
class Filter {
public:
    Filter(int from, int to) : taps_(std::size_t(to)) {
        const double scale = double(from) / double(to);
        const double halfWidth = std::max(scale, 1.0);
        for (int i = 0; i < to; ++i) {
            const double centre = (i + 0.5) * scale;
            const int first = std::max(0, int(std::floor(centre - halfWidth)));
            const int end = std::min(from, int(std::ceil(centre + halfWidth)));
            Taps& taps = taps_[std::size_t(i)];
            taps.first = first;
            taps.offset = int(weights_.size());
            double sum = 0;
            for (int j = first; j < end; ++j) {
                const double weight = std::max(0.0, 1 - std::abs(j + 0.5 - centre) / halfWidth);
                weights_.push_back(float(weight));
                sum += weight;
            }
            taps.count = end - first;
            for (int k = 0; k < taps.count; ++k)
                weights_[std::size_t(taps.offset) + std::size_t(k)] /= float(sum);
        }
    }

    const Taps& taps(int i) const { return taps_[std::size_t(i)]; }
    const float* weights(const Taps& taps) const { return weights_.data() + taps.offset; }

private:
    std::vector<Taps> taps_;
    std::vector<float> weights_;
};

QRgb roundedRgb(float red, float green, float blue) {
    const auto channel = [](float value) { return std::clamp(int(std::lround(value)), 0, 255); };
    return qRgb(channel(red), channel(green), channel(blue));
}

// Each row to the new width.
QImage resampledRows(const QImage& picture, int width) {
    QImage result(width, picture.height(), QImage::Format_RGB32);
    if (result.isNull())
        throw std::bad_alloc();
    const Filter filter(picture.width(), width);
    uchar* const bits = result.bits(); // taken before the threads start: no detach in them
    const qsizetype stride = result.bytesPerLine();
    forRowBands(picture.height(), [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) {
            const auto* in = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
            auto* out = reinterpret_cast<QRgb*>(bits + y * stride);
            for (int x = 0; x < width; ++x) {
                const Taps& taps = filter.taps(x);
                const float* weights = filter.weights(taps);
                float red = 0, green = 0, blue = 0;
                for (int k = 0; k < taps.count; ++k) {
                    const QRgb pixel = in[taps.first + k];
                    red += weights[k] * float(qRed(pixel));
                    green += weights[k] * float(qGreen(pixel));
                    blue += weights[k] * float(qBlue(pixel));
                }
                out[x] = roundedRgb(red, green, blue);
            }
        }
    });
    return result;
}

// Each column to the new height, a row of new pixels at a time.
QImage resampledColumns(const QImage& picture, int height) {
    const int width = picture.width();
    QImage result(width, height, QImage::Format_RGB32);
    if (result.isNull())
        throw std::bad_alloc();
    const Filter filter(picture.height(), height);
    uchar* const bits = result.bits(); // taken before the threads start: no detach in them
    const qsizetype stride = result.bytesPerLine();
    forRowBands(height, [&](int firstRow, int endRow) {
        std::vector<float> sums(std::size_t(width) * 3);
        for (int y = firstRow; y < endRow; ++y) {
            std::fill(sums.begin(), sums.end(), 0.0f);
            const Taps& taps = filter.taps(y);
            const float* weights = filter.weights(taps);
            for (int k = 0; k < taps.count; ++k) {
                const auto* in =
                    reinterpret_cast<const QRgb*>(picture.constScanLine(taps.first + k));
                for (int x = 0; x < width; ++x) {
                    sums[3 * std::size_t(x)] += weights[k] * float(qRed(in[x]));
                    sums[3 * std::size_t(x) + 1] += weights[k] * float(qGreen(in[x]));
                    sums[3 * std::size_t(x) + 2] += weights[k] * float(qBlue(in[x]));
                }
            }
            auto* out = reinterpret_cast<QRgb*>(bits + y * stride);
            for (int x = 0; x < width; ++x)
                out[x] = roundedRgb(sums[3 * std::size_t(x)], sums[3 * std::size_t(x) + 1],
                                    sums[3 * std::size_t(x) + 2]);
        }
    });
    return result;
}

} // namespace

QImage resampled(const QImage& picture, QSize size) {
    QImage result = picture.format() == QImage::Format_RGB32
                        ? picture
                        : picture.convertToFormat(QImage::Format_RGB32);
    if (size.width() != result.width())
        result = resampledRows(result, size.width());
    if (size.height() != result.height())
        result = resampledColumns(result, size.height());
    return result;
}

} // namespace zuk
