#include "plan/PlanBuilder.h"

#include "plan/DotSnapshot.h"
#include "plan/GrayDump.h"
#include "plan/PlanOutput.h"
#include "plan/RegionSteps.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace zuk {
namespace {

using namespace planner;

// An entry of the empty-row table: the row holds no cell still to plan.
constexpr qint32 kEmptyRow = 1000;
// Gaps up to this many cells are crossed through their middle; longer ones through a point
// this far before the target (next row, single-sided) ...
constexpr qint32 kNearGap = 20;
// ... or this far before the target (same row).
constexpr qint32 kFarLead = 5;

char strikeDigit(double value) {
    if (value == 255)
        return '4';
    if (value == 192)
        return '3';
    if (value == 128)
        return '2';
    if (value == 64)
        return '1';
    // No strike: a cell with dot value 0, or one struck earlier in this build (-1), which the
    // head still steps over.
    return '0';
}

// Where the head lowers the needle before the next stretch of the same row, after a forward
// and after a backward run ending at column e.
qint32 approachRightward(qint32 e, qint32 s) {
    const qint32 d = s - e;
    return d <= kNearGap ? e + d / 2 : s - kFarLead;
}
qint32 approachLeftward(qint32 e, qint32 s) {
    const qint32 d = e - s;
    return d <= kNearGap ? e - d / 2 : s + kFarLead;
}
// Single-sided mode, the next row's stretch at s after a run ending at e. A far target stays
// 20 cells ahead of the head on either side (to the right the mirror of the leftward rule, so
// that the head never moves away from the target or off the field).
qint32 approachNextRow(qint32 e, qint32 s) {
    const qint32 d = s - e;
    if (std::abs(d) <= kNearGap)
        return e + d / 2;
    return d < 0 ? e - (-d - kNearGap) : s - kNearGap;
}

// How a strike run ended: on its end cell (at `column`), or by leaving the box.
struct RunEnd {
    bool atEndCell = false;
    bool forward = true;
    qint32 row = 0;
    qint32 column = 0;
};

// What follows a strike run: another run, a new search for a run start, or the next region.
struct Continuation {
    enum Kind { Run, FindRunStart, NextRegion } kind;
    RunEnd run{};
};

enum class Outcome { Complete, WriteFailed, NeverCloses, NoProgress };

class Builder {
public:
    Builder(PlanGrids& grids, bool singleSided, PlanOutput& out, PlanProgress& progress,
            std::vector<qint32>& emptyRows)
        : grids_(grids), singleSided_(singleSided), out_(out), progress_(progress),
          emptyRows_(emptyRows) {}

    Outcome run();
    PlanCellPosition failedRegion() const { return failedRegion_; }
    qint64 regions() const { return regions_; }

private:
    std::optional<PlanCellPosition> FindStartRow();
    bool FindRunStart(const RegionBox& box, PlanCellPosition& cursor) const;
    void strikeRegion(const RegionBox& box);
    Continuation::Kind continueRuns(const RegionBox& box, RunEnd run);
    Continuation afterForwardRun(const RegionBox& box, const RunEnd& run);
    Continuation afterBackwardRun(const RegionBox& box, const RunEnd& run);
    RunEnd forwardRun(const RegionBox& box, qint32 row, qint32 start);
    RunEnd backwardRun(const RegionBox& box, qint32 row, qint32 start);
    bool strikeCell(qint32& mark, double& value, qint32 endFlag);

    PlanGrids& grids_;
    const bool singleSided_;
    PlanOutput& out_;
    PlanProgress& progress_;
    std::vector<qint32>& emptyRows_;
    // Where the last region search stopped. Rows above it are marked empty, and no cell of
    // its row left of it can gain a mark again: everything a region changes lies in its box
    // (which holds its start), where a cell whose mark is 0 ends at 0, except the cells one
    // column right of the box that a span without a right edge runs into.
    PlanCellPosition searchFrom_{1, 1};
    PlanCellPosition failedRegion_;
    qint64 regions_ = 0;
};

Outcome Builder::run() {
    for (;;) {
        if (out_.failed())
            return Outcome::WriteFailed;
        const std::optional<PlanCellPosition> start = FindStartRow();
        if (!start)
            return Outcome::Complete;
        ++regions_;
        const RegionTrace trace = TraceRegion(grids_, *start);
        if (!trace.closed || !trace.box.contains(*start)) {
            // A start outside its own box keeps its mark, so every later search would find it
            // again and plan the same region for ever.
            failedRegion_ = *start;
            return trace.closed ? Outcome::NoProgress : Outcome::NeverCloses;
        }
        FillSpans(grids_, trace.box);
        TrimSpans(grids_, trace.box);
        strikeRegion(trace.box);
    }
}

// The region search covers the picture cells, grid rows 1..H and columns 1..W.
std::optional<PlanCellPosition> Builder::FindStartRow() {
    const qint32 height = grids_.height();
    const qint32 width = grids_.width();
    for (; searchFrom_.row <= height; ++searchFrom_.row, searchFrom_.column = 1) {
        if (emptyRows_[searchFrom_.row] == kEmptyRow)
            continue;
        const qint32* marks = grids_.markRow(searchFrom_.row);
        for (qint32 column = searchFrom_.column; column <= width; ++column) {
            if (marks[column] > 0) {
                searchFrom_.column = column;
                progress_.regionSearched(searchFrom_.row, column, false);
                return searchFrom_;
            }
        }
        emptyRows_[searchFrom_.row] = kEmptyRow;
    }
    progress_.regionSearched(height, -1, true);
    return std::nullopt;
}

// The topmost, then leftmost cell of the box whose mark is above 1. While a region is struck
// marks only go to 0, so nothing before the cursor can be found again.
bool Builder::FindRunStart(const RegionBox& box, PlanCellPosition& cursor) const {
    for (; cursor.row <= box.lastRow; ++cursor.row, cursor.column = box.firstColumn) {
        const qint32* marks = grids_.markRow(cursor.row);
        for (; cursor.column <= box.lastColumn; ++cursor.column)
            if (marks[cursor.column] > 1)
                return true;
    }
    return false;
}

void Builder::strikeRegion(const RegionBox& box) {
    PlanCellPosition cursor{box.firstRow, box.firstColumn};
    while (!out_.failed() && FindRunStart(box, cursor)) {
        const RunEnd run = forwardRun(box, cursor.row, cursor.column);
        if (continueRuns(box, run) == Continuation::NextRegion)
            return;
    }
}

Continuation::Kind Builder::continueRuns(const RegionBox& box, RunEnd run) {
    for (;;) {
        if (!run.atEndCell || out_.failed())
            return Continuation::FindRunStart;
        const Continuation next =
            run.forward ? afterForwardRun(box, run) : afterBackwardRun(box, run);
        if (next.kind != Continuation::Run)
            return next.kind;
        run = next.run;
    }
}

// The rows after `row`, at least one and then up to the box's last row, searched with
// `search`; the row found and its column, or -1 as the column.
template <typename Search>
PlanCellPosition followingRow(const RegionBox& box, qint32 row, Search search) {
    qint32 column = -1;
    do {
        ++row;
        column = search(row);
    } while (column == -1 && row < box.lastRow);
    return {row, column};
}

// Every run starts on the leftmost (forward) or rightmost (backward) in-region cell of its
// row and clears every cell it passes, so the next stretch of the row lies beyond its end.
Continuation Builder::afterForwardRun(const RegionBox& box, const RunEnd& run) {
    const qint32 row = run.row;
    const qint32 end = run.column;
    if (const qint32 s = FirstMarkedFromLeft(grids_, box, row, end + 1); s != -1) {
        out_.upBlock();
        out_.approach(row, approachRightward(end, s));
        return {Continuation::Run, forwardRun(box, row, s)};
    }
    if (singleSided_) {
        const qint32 s = FirstMarkedFromLeft(grids_, box, row + 1);
        out_.upBlock();
        if (s == -1)
            return {Continuation::FindRunStart};
        out_.approach(row + 1, approachNextRow(end, s));
        return {Continuation::Run, forwardRun(box, row + 1, s)};
    }
    const PlanCellPosition next =
        followingRow(box, row, [&](qint32 r) { return LastMarkedFromRight(grids_, box, r); });
    if (next.column != -1)
        return {Continuation::Run, backwardRun(box, next.row, next.column)};
    out_.upBlock();
    return {Continuation::NextRegion};
}

Continuation Builder::afterBackwardRun(const RegionBox& box, const RunEnd& run) {
    const qint32 row = run.row;
    const qint32 end = run.column;
    if (const qint32 s = LastMarkedFromRight(grids_, box, row, end - 1); s != -1) {
        out_.upBlock();
        out_.approach(row, approachLeftward(end, s));
        return {Continuation::Run, backwardRun(box, row, s)};
    }
    const PlanCellPosition next =
        followingRow(box, row, [&](qint32 r) { return FirstMarkedFromLeft(grids_, box, r); });
    if (next.column != -1)
        return {Continuation::Run, forwardRun(box, next.row, next.column)};
    out_.upBlock();
    return {Continuation::NextRegion};
}

// Writes the cell's code and strikes it; true when the cell ends the run.
bool Builder::strikeCell(qint32& mark, double& value, qint32 endFlag) {
    out_.digit(strikeDigit(value));
    const bool endsRun = (mark & endFlag) && (mark & kInRegion);
    if (mark > 0)
        mark = 0;
    if (value > 0)
        value = kStruck;
    return endsRun;
}

RunEnd Builder::forwardRun(const RegionBox& box, qint32 row, qint32 start) {
    out_.forwardRunHeader(row, start);
    qint32* marks = grids_.markRow(row);
    double* values = grids_.valueRow(row);
    for (qint32 column = start; column <= box.lastColumn; ++column)
        if (strikeCell(marks[column], values[column], kRightEdge))
            return {true, true, row, column};
    return {false, true, row, 0};
}

RunEnd Builder::backwardRun(const RegionBox& box, qint32 row, qint32 start) {
    out_.backwardRunHeader(row, start);
    qint32* marks = grids_.markRow(row);
    double* values = grids_.valueRow(row);
    for (qint32 column = start; column >= box.firstColumn; --column)
        if (strikeCell(marks[column], values[column], kLeftEdge))
            return {true, false, row, column};
    return {false, false, row, 0};
}

// The grids as an open allocates them, with the margin of gray 0 around the picture that
// keeps every neighbour of a picture cell inside the grids.
bool picturePrepared(const Picture& picture) {
    const int h = picture.height();
    const int w = picture.width();
    const bool sized = picture.gray.rows() == h + 4 && picture.gray.cols() == w + 4 &&
                       picture.dots.rows() == h + 4 && picture.dots.cols() == w + 4 &&
                       picture.marks.rows() == h + 5 && picture.marks.cols() == w + 5 &&
                       picture.marks.rowLength(h + 3) == w + 5 &&
                       picture.emptyRows.size() == static_cast<std::size_t>(h) + 5;
    if (!sized)
        return false;
    for (int column = 0; column <= w + 1; ++column)
        if (picture.gray.row(0)[column] != 0 || picture.gray.row(h + 1)[column] != 0)
            return false;
    for (int row = 1; row <= h; ++row)
        if (picture.gray.row(row)[0] != 0 || picture.gray.row(row)[w + 1] != 0)
            return false;
    return true;
}

// Every cell of rows 0..H+1, columns 0..W+1: 1 for a picture cell, else 0.
void rebuildMarks(Picture& picture) {
    for (int row = 0; row <= picture.height() + 1; ++row) {
        const qint32* grays = picture.gray.row(row);
        qint32* marks = picture.marks.row(row);
        for (int column = 0; column <= picture.width() + 1; ++column)
            marks[column] = grays[column] != 0 ? kUnplanned : 0;
    }
}

PlanBuildResult failure(const QString& error) {
    PlanBuildResult result;
    result.error = error;
    return result;
}

QString refusal(Outcome outcome, PlanCellPosition region) {
    const QString what =
        outcome == Outcome::NeverCloses
            ? QStringLiteral("контур области, начинающейся в строке %1, столбце %2, не "
                             "возвращается к своему началу")
            : QStringLiteral("область в строке %1, столбце %2 находится снова и снова без "
                             "продвижения");
    return QStringLiteral("План гравировки не построен: %1. Гравировка по этому рисунку "
                          "невозможна.")
        .arg(what.arg(region.row).arg(region.column));
}

} // namespace

PlanBuildResult buildPlanFiles(Picture& picture, bool singleSided, const PlanFiles& files,
                               PlanProgress& progress) {
    if (!picturePrepared(picture))
        return failure(QStringLiteral(
            "План гравировки не построен: рисунок не подготовлен, откройте его снова."));
    rebuildMarks(picture);
    if (!files.dump.isEmpty()) {
        if (const QString error = writeGrayDump(picture, files.dump); !error.isEmpty())
            return failure(error);
    }
    std::fill(picture.emptyRows.begin(), picture.emptyRows.end(), 0);
    BufferedFileWriter writer(files.plan);
    if (!writer.open())
        return failure(writer.error());

    PlanOutput out(writer);
    PlanGrids grids(picture);
    DotSnapshot converted(picture);
    Builder builder(grids, singleSided, out, progress, picture.emptyRows);
    const Outcome outcome = builder.run();
    converted.restore();

    if (outcome == Outcome::NeverCloses || outcome == Outcome::NoProgress) {
        writer.cancel();
        return failure(refusal(outcome, builder.failedRegion()));
    }
    if (!writer.commit())
        return failure(writer.error());
    PlanBuildResult result;
    result.ok = true;
    result.lines = out.lines();
    result.regions = builder.regions();
    return result;
}

PlanBuildResult buildPlan(Picture& picture, bool singleSided, const ProgramDir& dir,
                          PlanProgress& progress) {
    return buildPlanFiles(
        picture, singleSided,
        {dir.path(QLatin1String(kPlanFileName)), dir.path(QLatin1String(kGrayDumpFileName))},
        progress);
}

} // namespace zuk
