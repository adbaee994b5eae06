#include "plan/RegionSteps.h"

#include <algorithm>
#include <array>

namespace zuk::planner {

void RegionBox::widen(qint32 row, qint32 column) {
    firstRow = std::min(firstRow, row);
    lastRow = std::max(lastRow, row);
    firstColumn = std::min(firstColumn, column);
    lastColumn = std::max(lastColumn, column);
}

PlanGrids::PlanGrids(DotImage& picture)
    : gray_(picture.gray), marks_(picture.height() + 5, picture.width() + 5, picture.height() + 4),
      dots_(picture.dots), height_(picture.height()), width_(picture.width()) {}

namespace {

// The eight neighbours in clockwise order on the screen (rows grow downwards).
enum Direction { NE, E, SE, S, SW, W, NW, N, kDirections };
constexpr std::array<qint32, kDirections> kRowStep = {-1, 0, 1, 1, 1, 0, -1, -1};
constexpr std::array<qint32, kDirections> kColumnStep = {1, 1, 1, 0, -1, -1, -1, 0};

// The edge flags the current cell gets for a move in a direction, found as the n-th
// neighbour of the sweep: the flag is set when n is above the threshold (0 = always,
// 8 = never).
constexpr std::array<int, kDirections> kLeftEdgeAbove = {3, 4, 5, 6, 7, 8, 0, 0};
constexpr std::array<int, kDirections> kRightEdgeAbove = {7, 8, 0, 0, 3, 4, 5, 6};

int opposite(int direction) {
    return (direction + kDirections / 2) % kDirections;
}

// One position of the walk: the cell and where its previous cell lies.
struct WalkState {
    qint32 row;
    qint32 column;
    int previous;
    bool operator==(const WalkState&) const = default;
};

// Brent's cycle detection over the walk. Once the walk has come back to a state, one period
// has been walked; the walk is then given one more period to end.
class PeriodWatch {
public:
    explicit PeriodWatch(WalkState first) : saved_(first) {}

    // Called after every move; false when the walk can no longer end.
    bool mayStillEnd(const WalkState& state) {
        if (period_ > 0)
            return ++sincePeriodFound_ <= period_;
        ++length_;
        if (state == saved_) {
            period_ = length_;
        } else if (length_ == power_) {
            saved_ = state;
            power_ *= 2;
            length_ = 0;
        }
        return true;
    }

private:
    WalkState saved_;
    qint64 power_ = 1;
    qint64 length_ = 0;
    qint64 period_ = 0;
    qint64 sincePeriodFound_ = 0;
};

} // namespace

RegionTrace TraceRegion(PlanGrids& grids, PlanCellPosition start) {
    RegionTrace trace;
    RegionBox& box = trace.box;
    box = {grids.height(), 0, grids.width(), 0};
    grids.mark(start.row, start.column) |= kInRegion | kLeftEdge;
    WalkState state{start.row, start.column, N}; // the previous cell is taken to be above
    PeriodWatch watch(state);
    for (;;) {
        const int first = (state.previous + 1) % kDirections;
        int found = -1;
        int count = 1;
        for (; count <= kDirections; ++count) {
            const int direction = (first + count - 1) % kDirections;
            if (grids.gray(state.row + kRowStep[direction], state.column + kColumnStep[direction]) >
                0) {
                found = direction;
                break;
            }
        }
        qint32& current = grids.mark(state.row, state.column);
        if (found < 0) {
            current |= kLeftEdge | kRightEdge;
            box.widen(state.row, state.column);
            trace.closed = true;
            return trace;
        }
        if (count > kLeftEdgeAbove[found])
            current |= kLeftEdge;
        if (count > kRightEdgeAbove[found])
            current |= kRightEdge;
        state = {state.row + kRowStep[found], state.column + kColumnStep[found], opposite(found)};
        grids.mark(state.row, state.column) |= kInRegion;
        box.widen(state.row, state.column);
        if (state.row == start.row && state.column == start.column) {
            const qint32 belowLeft = grids.mark(start.row + 1, start.column - 1);
            if (belowLeft == 0 || (belowLeft & kInRegion)) {
                trace.closed = true;
                return trace;
            }
        }
        if (!watch.mayStillEnd(state))
            return trace;
    }
}

void FillSpans(PlanGrids& grids, const RegionBox& box) {
    for (qint32 row = box.firstRow; row <= box.lastRow; ++row) {
        qint32* marks = grids.markRow(row);
        qint32 column = box.firstColumn;
        for (;;) {
            while (column <= box.lastColumn && !(marks[column] & kLeftEdge))
                ++column;
            if (column > box.lastColumn)
                break;
            // Up to and including the next right edge (the left-edge cell itself may be
            // one), or one column past the box when none follows.
            for (;; ++column) {
                marks[column] |= kInRegion;
                if ((marks[column] & kRightEdge) || column > box.lastColumn)
                    break;
            }
            if (column >= box.lastColumn)
                break;
            ++column;
        }
    }
}

namespace {

// One trimming pass over a row, from the `from` column towards the `to` column: at each cell
// carrying `edge` (the span's near edge in the pass's direction) the cells up to the first
// struck one are dropped, and that cell becomes the span's new edge (`passedValue` when the
// span's far edge `farEdge` was passed on the way, else `edgeValue`).
struct TrimPass {
    qint32 from;
    qint32 to;
    int step;
    qint32 edge;
    qint32 farEdge;
    qint32 edgeValue;
};

void trimRow(qint32* marks, const double* values, const TrimPass& pass) {
    const auto beyond = [&](qint32 column) { return (column - pass.to) * pass.step > 0; };
    qint32 column = pass.from;
    for (;;) {
        while (!beyond(column) && !(marks[column] & pass.edge))
            column += pass.step;
        if (beyond(column))
            return;
        bool farEdgePassed = false;
        for (;; column += pass.step) {
            if (beyond(column))
                return;
            qint32& mark = marks[column];
            if (!(mark & kInRegion))
                continue;
            const double value = values[column];
            if (mark & pass.farEdge)
                farEdgePassed = true;
            if (value > 0) {
                mark = farEdgePassed ? kSpanBoth : pass.edgeValue;
                break;
            }
            // A cell without a dot goes, except a far edge struck earlier (-1), which stays.
            if (!(mark & pass.farEdge) || value == 0)
                mark = 0;
        }
        column += pass.step;
    }
}

} // namespace

void TrimSpans(PlanGrids& grids, const RegionBox& box) {
    const TrimPass fromLeft{box.firstColumn, box.lastColumn, 1, kLeftEdge, kRightEdge, kSpanStart};
    const TrimPass fromRight{box.lastColumn, box.firstColumn, -1, kRightEdge, kLeftEdge, kSpanEnd};
    for (qint32 row = box.firstRow; row <= box.lastRow; ++row)
        trimRow(grids.markRow(row), grids.valueRow(row), fromLeft);
    for (qint32 row = box.firstRow; row <= box.lastRow; ++row)
        trimRow(grids.markRow(row), grids.valueRow(row), fromRight);
}

qint32 FirstMarkedFromLeft(const PlanGrids& grids, const RegionBox& box, qint32 row,
                           qint32 fromColumn) {
    const qint32* marks = grids.markRow(std::max(row, 0));
    for (qint32 column = std::max(fromColumn, box.firstColumn); column <= box.lastColumn; ++column)
        if (marks[column] & kInRegion)
            return column;
    return -1;
}

qint32 LastMarkedFromRight(const PlanGrids& grids, const RegionBox& box, qint32 row,
                           qint32 fromColumn) {
    const qint32* marks = grids.markRow(std::max(row, 0));
    for (qint32 column = std::min(fromColumn, box.lastColumn); column >= box.firstColumn; --column)
        if (marks[column] & kInRegion)
            return column;
    return -1;
}

} // namespace zuk::planner
