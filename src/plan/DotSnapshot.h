#pragma once

#include "image/Picture.h"

#include <utility>
#include <vector>

namespace zuk {

// A compact copy of the picture's dot values, so that the plan builder can mark the cells it
// strikes (-1) and put the converted values back afterwards: one byte per picture cell for
// the four dot values above 0, and the exact value of any other positive value (a conversion
// never gives one). Cells at or below 0 are never changed by the builder and are not kept.
class DotSnapshot {
public:
    explicit DotSnapshot(Picture& picture);
    // Puts every kept value back into the dot image.
    void restore();

private:
    Picture& picture_;
    std::vector<quint8> codes_;                          // row by row, W per picture row
    std::vector<std::pair<std::size_t, double>> others_; // index into codes_, value
};

} // namespace zuk
