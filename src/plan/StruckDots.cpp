#include "plan/StruckDots.h"

#include <array>
#include <bit>

namespace zuk {
namespace {

constexpr quint8 kOtherValue = 5;

} // namespace

StruckDots::StruckDots(DotImage& picture)
    : cells_(picture.dots.empty() ? nullptr : picture.dots.row(0)),
      codes_(static_cast<std::size_t>(picture.dots.rows()) *
             static_cast<std::size_t>(picture.dots.cols())) {}

void StruckDots::keepOther(std::size_t at, double value) {
    codes_[at] = kOtherValue;
    others_.emplace_back(at, value);
}

void StruckDots::restore() {
    // The bits of the dot values of codes 1..4. A select on the bits runs without branches,
    // which matters on a photo, where struck and unstruck cells alternate at random.
    static constexpr std::array<quint64, 8> kLevelBits = {
        0, std::bit_cast<quint64>(64.0), std::bit_cast<quint64>(128.0),
        std::bit_cast<quint64>(192.0), std::bit_cast<quint64>(255.0)}; // codes 0..7
    const quint8* codes = codes_.data();
    double* cells = cells_;
    const std::size_t count = codes_.size();
    for (std::size_t at = 0; at < count; ++at) {
        const unsigned code = codes[at];
        const quint64 kept = code - 1u < 4u ? kLevelBits[code] : std::bit_cast<quint64>(cells[at]);
        cells[at] = std::bit_cast<double>(kept);
    }
    for (const auto& [at, value] : others_)
        cells[at] = value;
}

} // namespace zuk
