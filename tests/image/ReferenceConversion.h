#pragma once

#include "image/DialogChoices.h"

#include <array>
#include <vector>

namespace zuk::test {

// The pattern rows and their positions worked out by the test on its own, straight from the
// rules for each range of rows, for checking the program's tables and conversion.
struct ReferencePatterns {
    std::vector<std::vector<int>> rows; // 256 rows of 100 values
    std::array<int, 256> positions{};
};
ReferencePatterns referencePatterns();

// The spread order as written out in full.
const std::array<int, 100>& writtenSpreadOrder();

// A second implementation of both conversion variants, on plain picture coordinates: the
// source grays and tone values row by row in, the dot values row by row out. Advances the
// positions of `patterns` as the program does.
std::vector<int> referenceConvert(const std::vector<int>& grays, int width, int height,
                                  ConversionVariant variant, ReferencePatterns& patterns);

} // namespace zuk::test
