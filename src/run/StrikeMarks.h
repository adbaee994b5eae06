#pragma once

#include "image/FieldView.h"
#include "run/HeadMove.h"

#include <QRect>

namespace zuk {

// The run's progress display: every cell a strike line strikes becomes a pure red pixel of
// the working-field view, exactly on the picture's pixel for that cell.
inline constexpr QRgb kStrikeMark = 0xffff0000;

// The view pixel of a working-field cell. Picture pixel (x, y) is plan cell (y + 1, x + 1),
// and the view draws the picture at the placement offsets, so a cell's pixel lies one row
// and one column before its working-field row and column.
QPoint viewPixelOfCell(const FieldCell& cell);

// Marks the cells of a strike line that began at `start` (every digit but "0"); the
// rectangle of the pixels that changed, empty when none did.
QRect markStrikeRun(FieldView& view, const FieldCell& start, const StrikeRun& run);

} // namespace zuk
