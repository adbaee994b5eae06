#include "testplate/PlateDigits.h"

#include <array>

namespace zuk {

namespace {

// Each digit's rows, top first; bit 2 is the left column.
constexpr std::array<std::array<quint8, kDigitRows>, 10> kGlyphs{{
    {7, 5, 5, 5, 7}, // 0
    {2, 6, 2, 2, 7}, // 1
    {7, 1, 7, 4, 7}, // 2
    {7, 1, 7, 1, 7}, // 3
    {5, 5, 7, 1, 1}, // 4
    {7, 4, 7, 1, 7}, // 5
    {7, 4, 7, 5, 7}, // 6
    {7, 1, 2, 2, 2}, // 7
    {7, 5, 7, 5, 7}, // 8
    {7, 5, 7, 1, 7}, // 9
}};

} // namespace

QSize digitsSize(const QString& number, int scale) {
    const int count = int(number.size());
    if (count == 0)
        return {};
    return {(count * (kDigitColumns + 1) - 1) * scale, kDigitRows * scale};
}

std::vector<QPoint> digitDots(const QString& number, int scale) {
    std::vector<QPoint> dots;
    for (int place = 0; place < number.size(); ++place) {
        const int digit = number.at(place).digitValue();
        if (digit < 0)
            continue;
        const int left = place * (kDigitColumns + 1) * scale;
        for (int row = 0; row < kDigitRows; ++row)
            for (int column = 0; column < kDigitColumns; ++column) {
                if (!(kGlyphs[digit][row] & (4 >> column)))
                    continue;
                for (int dy = 0; dy < scale; ++dy)
                    for (int dx = 0; dx < scale; ++dx)
                        dots.emplace_back(left + column * scale + dx, row * scale + dy);
            }
    }
    return dots;
}

} // namespace zuk
