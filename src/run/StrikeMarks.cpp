#include "run/StrikeMarks.h"

#include <algorithm>
#include <limits>

namespace zuk {

QPoint viewPixelOfCell(const FieldCell& cell) {
    // Cells far outside the view map to a pixel outside it.
    const auto clamped = [](qint64 v) {
        return static_cast<int>(std::clamp<qint64>(v - 1, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
    };
    return {clamped(cell.column), clamped(cell.row)};
}

QRect markStrikeRun(FieldView& view, const FieldCell& start, const StrikeRun& run) {
    QRect changed;
    for (qsizetype i = 0; i < run.digits.size(); ++i) {
        if (run.digits[i] == '0')
            continue;
        const FieldCell cell{start.row, StrikeRun::struckColumn(start.column, run.forward, i)};
        const QPoint pixel = viewPixelOfCell(cell);
        if (view.paintPixel(pixel, kStrikeMark))
            changed |= QRect(pixel, QSize(1, 1));
    }
    return changed;
}

} // namespace zuk
