#pragma once

#include "image/DotImage.h"

#include <QtGlobal>

#include <array>

namespace zuk::planner {

// The bits of a mark-grid cell while a plan is built.
inline constexpr qint32 kUnplanned = 1;  // a picture cell not planned yet
inline constexpr qint32 kLeftEdge = 4;   // first cell of a span
inline constexpr qint32 kRightEdge = 8;  // last cell of a span
inline constexpr qint32 kInRegion = 128; // inside the region being planned
// The whole values the trimming gives to the cells a span now starts or ends on.
inline constexpr qint32 kSpanStart = kInRegion | kLeftEdge;
inline constexpr qint32 kSpanEnd = kInRegion | kRightEdge;
inline constexpr qint32 kSpanBoth = kInRegion | kLeftEdge | kRightEdge;

// The dot value written into a cell once it has been put into a strike run.
inline constexpr double kStruck = -1.0;

// The strike codes of the dot values 0..255: 4, 3, 2, 1 for 255, 192, 128, 64, else 0.
inline constexpr std::array<quint8, 256> kStrikeCodeOfValue = [] {
    std::array<quint8, 256> codes{};
    codes[64] = 1;
    codes[128] = 2;
    codes[192] = 3;
    codes[255] = 4;
    return codes;
}();

// The strike code of a cell's dot value; 0, no strike, for a cell without a dot and for one
// struck earlier in this build (-1), which the head still steps over.
inline int strikeCode(double value) {
    if (!(value >= 0 && value <= 255))
        return 0;
    const int whole = static_cast<int>(value);
    return whole == value ? kStrikeCodeOfValue[std::size_t(whole)] : 0;
}

// A cell of the plan, in gray-grid indices (picture pixel (x, y) is row y+1, column x+1).
struct PlanCellPosition {
    qint32 row = 0;
    qint32 column = 0;
    bool operator==(const PlanCellPosition&) const = default;
};

// The outline's extent: first and last row, first and last column.
struct RegionBox {
    qint32 firstRow = 0;
    qint32 lastRow = 0;
    qint32 firstColumn = 0;
    qint32 lastColumn = 0;

    void widen(qint32 row, qint32 column);
    bool contains(PlanCellPosition cell) const {
        return cell.row >= firstRow && cell.row <= lastRow && cell.column >= firstColumn &&
               cell.column <= lastColumn;
    }
    bool operator==(const RegionBox&) const = default;
};

// The builder's grids, addressed by plan cell: the gray grid and the dot image of the dots it
// plans, and its own mark grid. The dot value of plan cell (row, column) lies one column
// further right in the dot image.
class PlanGrids {
public:
    // The mark grid takes H+5 rows, rows 0..H+3 of W+5 cells, every one 0 (fresh pages that
    // cost nothing until they are written); throws std::bad_alloc when there is no room.
    explicit PlanGrids(DotImage& picture);

    int height() const { return height_; }
    int width() const { return width_; }

    const qint32* grayRow(qint32 row) const { return gray_.row(row); }
    qint32* markRow(qint32 row) { return marks_.row(row); }
    const qint32* markRow(qint32 row) const { return marks_.row(row); }
    // Indexed by plan column: valueRow(r)[c] is the dot value of plan cell (r, c).
    double* valueRow(qint32 row) { return dots_.row(row) + 1; }

    qint32 gray(qint32 row, qint32 column) const { return gray_.row(row)[column]; }
    qint32& mark(qint32 row, qint32 column) { return marks_.row(row)[column]; }
    // Checked access, for a look at the marks from outside the builder.
    qint32& markAt(qint32 row, qint32 column) { return marks_.at(row, column); }
    double& value(qint32 row, qint32 column) { return valueRow(row)[column]; }

private:
    const Grid<qint32>& gray_;
    Grid<qint32> marks_;
    Grid<double>& dots_;
    int height_;
    int width_;
};

// The outcome of a trace: the region's box, or the news that the outline never leads back to
// its start (the builder would follow it for ever).
struct RegionTrace {
    bool closed = false;
    RegionBox box;
};

// Follows the outline of the region that holds the start cell clockwise over its 8
// neighbours (a neighbour belongs to the region when its gray value is above 0), giving every
// cell on it the in-region flag and the left- and right-edge flags of its moves.
//
// The moves depend only on the current cell and the direction of the previous one, so the
// walk is eventually periodic. The walk is watched for its period (Brent's method, constant
// memory); once a whole period has been walked the flags no longer change, and a walk that
// has not ended one period later never ends.
RegionTrace TraceRegion(PlanGrids& grids, PlanCellPosition start);

// Gives every cell from a left-edge flag up to the next right-edge flag of the same row the
// in-region flag, holes included.
void FillSpans(PlanGrids& grids, const RegionBox& box);

// Drops the cells at both ends of each span that need no strike, so that every span starts
// and ends on a cell that is struck (its value becomes 132, 136 or 140).
void TrimSpans(PlanGrids& grids, const RegionBox& box);

// The leftmost column of the box, from `fromColumn` on, whose cell has the in-region flag,
// or -1. A negative row is taken as 0.
qint32 FirstMarkedFromLeft(const PlanGrids& grids, const RegionBox& box, qint32 row,
                           qint32 fromColumn);
inline qint32 FirstMarkedFromLeft(const PlanGrids& grids, const RegionBox& box, qint32 row) {
    return FirstMarkedFromLeft(grids, box, row, box.firstColumn);
}

// The rightmost such column, scanning leftwards from `fromColumn`, or -1.
qint32 LastMarkedFromRight(const PlanGrids& grids, const RegionBox& box, qint32 row,
                           qint32 fromColumn);
inline qint32 LastMarkedFromRight(const PlanGrids& grids, const RegionBox& box, qint32 row) {
    return LastMarkedFromRight(grids, box, row, box.lastColumn);
}

} // namespace zuk::planner
