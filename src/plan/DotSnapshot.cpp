#include "plan/DotSnapshot.h"

#include <array>

namespace zuk {
namespace {

constexpr quint8 kNotKept = 0;
constexpr quint8 kOtherValue = 5;
// The dot values of codes 1..4.
constexpr std::array<double, 5> kLevelValues = {0, 64, 128, 192, 255};

quint8 codeOf(double value) {
    for (quint8 code = 1; code < kLevelValues.size(); ++code)
        if (value == kLevelValues[code])
            return code;
    return value > 0 ? kOtherValue : kNotKept;
}

// The picture cells of the dot image: pixel (x, y) at row y+1, column x+2.
double* pictureCells(Picture& picture, int y) {
    return picture.dots.row(y + 1) + 2;
}

} // namespace

DotSnapshot::DotSnapshot(Picture& picture) : picture_(picture) {
    const int width = picture.width();
    codes_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(picture.height()));
    std::size_t index = 0;
    for (int y = 0; y < picture.height(); ++y) {
        const double* cells = pictureCells(picture, y);
        for (int x = 0; x < width; ++x, ++index) {
            codes_[index] = codeOf(cells[x]);
            if (codes_[index] == kOtherValue)
                others_.emplace_back(index, cells[x]);
        }
    }
}

void DotSnapshot::restore() {
    const int width = picture_.width();
    std::size_t index = 0;
    auto other = others_.begin();
    for (int y = 0; y < picture_.height(); ++y) {
        double* cells = pictureCells(picture_, y);
        for (int x = 0; x < width; ++x, ++index) {
            const quint8 code = codes_[index];
            if (code == kOtherValue)
                cells[x] = (other++)->second;
            else if (code != kNotKept)
                cells[x] = kLevelValues[code];
        }
    }
}

} // namespace zuk
