#pragma once

#include "image/DotImage.h"
#include "plan/RegionSteps.h"

#include <utility>
#include <vector>

namespace zuk {

// The cells a plan build strikes, so that the converted picture can be put back when the
// build ends. While the build runs every struck cell holds -1 in the dot image, as the rules
// want it; one byte per cell of the dot image keeps the four dot values above 0 (a
// conversion gives no other), and any other value is kept exactly in a list.
class StruckDots {
public:
    explicit StruckDots(DotImage& picture);

    // Keeps the value of a cell of the picture's dot image, whose strike code (1..4, or 0 for
    // another value) is `code`, and writes -1 into it.
    void strike(double& cell, int code) {
        // The grid keeps its cells in one block, so the cell's place in it is its index.
        const auto at = static_cast<std::size_t>(&cell - cells_);
        if (code != 0)
            codes_[at] = static_cast<quint8>(code);
        else
            keepOther(at, cell);
        cell = planner::kStruck;
    }
    // Puts every kept value back.
    void restore();

private:
    void keepOther(std::size_t at, double value);

    double* cells_;
    // Over the whole dot image in its order: the strike code of each struck dot value, 5 for a
    // value kept in others_, 0 where nothing was struck.
    std::vector<quint8> codes_;
    std::vector<std::pair<std::size_t, double>> others_;
};

} // namespace zuk
