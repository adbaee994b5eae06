#include "ReferenceConversion.h"

#include "image/ToneTables.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>

namespace zuk::test {
namespace {

// Rows 176..205 as given: '.' empty, '1'..'4' the values 64, 128, 192, 255.
// clang-format off
const char* const kGivenRows[] = {
    "4.4.4.4.4..4.424.4.44.4.4.444..444.4.4.44.4.4.4.4..4.4.4.4.444..4.4.4..4.4.444.4444.4.434..4.4.4.4.4",
    "4.4.4.4.4..4.444.4.44.4.4.444..444.4.3.44.4.4.4.4..4.4.4.4.444..4.4.4..4.4.444.4444.4.4.4..4.4.424.4",
    "4.4.4.4.4..4.444.4.44.4.4.444..444.4.4.44.4.4.4.4..4.4.4.4.444..4.434..4.4.444.4444.4.4.4..4.4.444.4",
    "4.4.4.4.4..4.444.3.44.4.4.444.2444.4.4.44.4.4.4.4..4.4.4.4.444..4.4.4..4.4.444.4444.4.4.4..4.4.444.4",
    "4.4.4.4.4..4.444.4.44.4.4.444.4444.4.4.44.4.4.434..4.4.4.4.444..4.4.41.4.4.444.4444.4.4.4..4.4.444.4",
    "4.4.4.4.4..4.444.4.44.4.4.444.4444.4.4.44.4.4.4.4..4.4.4.4.444..4.4.44.4.4.444.4444.4.4.4..4.4.443.4",
    "4.4.4.4.4..4.444.4244.4.4.444.4444.4.4.44.4.4.4.4..4.4.4.4.444..4.4.44.4.4.443.4444.4.4.4..4.4.444.4",
    "4.4.4.4.4..4.444.4444.4.4.434.4444.4.4.44.4.4.4.4..4.4.4.4.4441.4.4.44.4.4.444.4444.4.4.4..4.4.444.4",
    "4.4.4.4.4..4.444.4444.4.4.444.4444.4.4.44.4.4.4.4..4.4.4.3.4444.4.4.44.4.4.444.4444.4.4.4..4.4.444.4",
    "4.4.4.434..4.444.4444.4.4.444.4444.4.4.44.4.4.4.4..4.4.4.4.4444.4.4.44.4.4.444.4444.4.4.4..424.444.4",
    "4.4.4.4.4..4.444.4444.4.4.444.4444.4.4.44.4.4.4.4..4.4.4.4.4444.4.4.44.4.4.444.444434.4.4..444.444.4",
    "4.4.4.4.4..4.444.4444.4.4.444.4443.4.4.44.4.4.424..4.4.4.4.4444.4.4.44.4.4.444.4444.4.4.4..444.444.4",
    "4.4.4.4.4..4.444.4444.4.4.44414444.4.4.44.4.4.444..4.4.4.4.444434.4.44.4.4.444.4444.4.4.4..444.444.4",
    "4.4.4.4.4..4.344.4444.4.4.44434444.4.4.44.4.4.444..4.4.4.4.4444.4.4.44.4.4.444.4444.4.4.4..444.444.4",
    "424.4.4.4..4.444.4444.4.4.44444444.4.4.44.434.444..4.4.4.4.4444.4.4.44.4.4.444.4444.4.4.4..444.444.4",
    "444.4.4.4..4.444.4444.4.4.44444444.4.4.44.4.4.444..4.4.4.4.4444.4.4.44.4.4.444.4444.4.4.4..443.444.4",
    "444.4.4.4..4.444.4444.4.4.44444444.4.4.44.4.4.444..4.4.4.4.4444.4.4.44.4.3.444.4444.4.4.4..444.44414",
    "444.4.4.4..4.444.4444.434.44444444.4.4.44.4.4.444..4.4.4.4.4444.4.4.44.4.4.444.4444.4.4.4..444.44434",
    "444.4.4.4..4.444.4444.4.4.44444444.4.4.44.4.4.444..4.314.4.4444.4.4.44.4.4.444.4444.4.4.4..444.44444",
    "44434.4.4..4.444.4444.4.4.44444444.4.4.44.4.4.444..4.444.4.4444.4.4.44.4.4.444.4444.4.4.4..444.44444",
    "444.4.4.4..4.444.4444.4.4.44444444.4.4.44.4.4.444..4.444.4.4444.4.4.44.424.444.4444.4.4.43.444.44444",
    "444.4.4.4..4.444.4444.4.4.44444444.4.4.34.4.4.444..4.444.4.4444.4.4.44.444.444.4444.4.4.4..444.44444",
    "444.4.4.4..4.444.4444.4.4.44444444.424.44.4.4.444..4.444.4.4444.4.4.43.444.444.4444.4.4.4..444.44444",
    "444.4.4.4..4.444.4434.4.4.44444444.424.44.4.4.444..4.444.4.4444.4.4.44.444.444.4444.4.4.4..444.44444",
    "444.4.4.4..4.444.444424.4.44444444.444.44.4.4.4443.4.444.4.4444.4.4.44.444.444.4444.4.4.4..444.44444",
    "444.4.4.4..4.444.444444.4.44444444.444.44.4.4.444..4.444.4.4444.4.4.44.444.444.4444.4.4.4..444.44443",
    "444.4.4.4..4.444.444444.4.44444444.444.44.4.4.444..4.444.4.4444.4.4.442444.444.3444.4.4.4..444.44444",
    "444.4.4.4..4.444.444444.4.44434444.444.44.414.444..4.444.4.4444.4.4.444444.444.4444.4.4.4..444.44444",
    "444.4.4.4..4.444.444444.4.44444444.444.44.424.444..4.444.4.3444.4.4.444444.444.4444.4.4.4..444.44444",
    "444.4.4.43.4.444.444444.4.44444444.444.44.444.444..4.444.4.4444.4.4.444444.444.4444.4.4.4..444.44444",
};
// clang-format on

int valueOfCode(char code) {
    switch (code) {
    case '1':
        return 64;
    case '2':
        return 128;
    case '3':
        return 192;
    case '4':
        return 255;
    default:
        return 0;
    }
}

std::vector<int> givenRow(int gray) {
    const std::string codes = kGivenRows[gray - 176];
    std::vector<int> row;
    for (char code : codes)
        row.push_back(valueOfCode(code));
    return row;
}

// The positions that rows 1..24 fill with 64, one more per row.
const int kFirstRowsPositions[24] = {11, 77, 91, 37, 33, 99, 73, 19, 5, 50, 25, 52,
                                     85, 58, 22, 88, 82, 28, 70, 46, 3, 66, 30, 7};

// Each row worked out on its own: rows 26..125 are row 126 with a prefix of the spread
// order turned to 64, rows 126..175 are row 176 with a run of the spread order from its
// position 50 turned to 128.
std::vector<int> derivedRow(int gray) {
    const auto& spread = writtenSpreadOrder();
    std::vector<int> row(100, 0);
    if (gray >= 1 && gray <= 24) {
        for (int n = 0; n < gray; ++n)
            row[kFirstRowsPositions[n]] = 64;
    } else if (gray == 25) {
        row.assign(100, 64);
    } else if (gray >= 26 && gray <= 125) {
        row = derivedRow(126);
        for (int k = 0; k <= 125 - gray; ++k)
            row[spread[k]] = 64;
    } else if (gray >= 126 && gray <= 175) {
        row = givenRow(176);
        for (int k = 50; k <= 225 - gray; ++k)
            row[spread[k]] = 128;
    } else if (gray >= 176 && gray <= 205) {
        row = givenRow(gray);
    } else if (gray >= 206) {
        row.assign(100, 255);
    }
    return row;
}

} // namespace

const std::array<int, 100>& writtenSpreadOrder() {
    static const std::array<int, 100> order = {
        0, 50, 20, 70, 90, 40, 10, 60, 30, 80, 5, 55, 25, 75, 95, 45, 15, 65, 35, 85,
        9, 59, 29, 79, 99, 49, 19, 69, 39, 89, 3, 53, 23, 73, 93, 43, 13, 63, 33, 83,
        7, 57, 27, 77, 97, 47, 17, 67, 37, 87, 2, 52, 22, 72, 92, 42, 12, 62, 32, 82,
        6, 56, 26, 76, 96, 46, 16, 66, 36, 86, 1, 51, 21, 71, 91, 41, 11, 61, 31, 81,
        4, 54, 24, 74, 94, 44, 14, 64, 34, 84, 8, 58, 28, 78, 98, 48, 18, 68, 38, 88};
    return order;
}

ReferencePatterns referencePatterns() {
    ReferencePatterns patterns;
    for (int gray = 0; gray < 256; ++gray) {
        patterns.rows.push_back(derivedRow(gray));
        patterns.positions[gray] = gray <= 156 ? std::abs(gray - 57) : 255 - gray;
    }
    return patterns;
}

namespace {

// The picture with two spare columns on each side and one spare row below, as reals.
class Canvas {
public:
    Canvas(int width, int height)
        : width_(width), cells_(std::size_t(height + 1) * (width + 4), 0.0) {}
    double& operator()(int x, int y) { return cells_[std::size_t(y) * (width_ + 4) + x + 2]; }

private:
    int width_;
    std::vector<double> cells_;
};

struct Share {
    int dx; // along the direction of travel
    int dy;
    int sixteenths;
};
constexpr Share kShares[] = {{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}};

int takePattern(ReferencePatterns& patterns, int gray) {
    int& position = patterns.positions[gray];
    for (;;) {
        const int value = patterns.rows[gray][position];
        position = (position + 1) % 100;
        if (value != 0)
            return value;
    }
}

} // namespace

std::vector<int> referenceConvert(const std::vector<int>& grays, int width, int height,
                                  ConversionVariant variant, ReferencePatterns& patterns) {
    const PictureTables tables = PictureTables::afterStartUp();
    const bool combined = variant == ConversionVariant::Combined;
    auto grayAt = [&](int x, int y) {
        return x >= 0 && x < width ? grays[std::size_t(y) * width + x] : 0;
    };
    Canvas canvas(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            canvas(x, y) =
                combined ? tables.combinedTone[grayAt(x, y)] : tables.simpleTone[grayAt(x, y)];

    for (int y = 0; y < height; ++y) {
        // Rows 0, 2, 4, ... run right from one column before the picture to one after it;
        // the others run left over the picture only.
        const bool rightward = y % 2 == 0;
        const int direction = rightward ? 1 : -1;
        const int first = rightward ? -1 : width - 1;
        const int last = rightward ? width : 0;
        for (int x = first;; x += direction) {
            const double value = canvas(x, y);
            double dot = 0;
            if (combined) {
                const int gray = grayAt(x + 1, y); // the pixel to the right decides
                if (gray > 0 && std::trunc(value) > gray / 2)
                    dot = takePattern(patterns, gray);
            } else if (value >= 126) {
                dot = 255;
            }
            canvas(x, y) = dot;
            const double error = value - dot;
            for (const Share& share : kShares)
                canvas(x + share.dx * direction, y + share.dy) += error * share.sixteenths / 16;
            if (x == last)
                break;
        }
    }

    std::vector<int> dots;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool lastRowDropped = combined && y == height - 1;
            dots.push_back(lastRowDropped ? 0 : int(canvas(x, y)));
        }
    return dots;
}

} // namespace zuk::test
