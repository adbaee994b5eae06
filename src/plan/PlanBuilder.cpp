#include "plan/PlanBuilder.h"

#include "plan/GrayDump.h"
#include "plan/PlanOutput.h"
#include "plan/RegionSteps.h"
#include "plan/StruckDots.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <optional>

namespace zuk {
namespace {

using namespace planner;

// An entry of the empty-row table: the row holds no cell still to plan.
constexpr qint32 kEmptyRow = 1000;
// The near-gap limit: a gap of up to this many cells is crossed through its middle. A longer
// one to the next row (single-sided) is crossed through a point this far before the target.
constexpr qint32 kNearGap = 20;
// A longer gap within the row is crossed through a point this far before the target.
constexpr qint32 kFarLead = 5;

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
            std::vector<qint32>& emptyRows, StruckDots& struck)
        : grids_(grids), singleSided_(singleSided), out_(out), progress_(progress),
          emptyRows_(emptyRows), struck_(struck) {}

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
    Continuation turnToFollowingRow(const RegionBox& box, qint32 row, bool forward);
    RunEnd forwardRun(const RegionBox& box, qint32 row, qint32 start);
    RunEnd backwardRun(const RegionBox& box, qint32 row, qint32 start);
    RunEnd strikeCells(qint32 row, qint32 start, int step, qint32 limit, qint32 endFlag);

    PlanGrids& grids_;
    const bool singleSided_;
    PlanOutput& out_;
    PlanProgress& progress_;
    std::vector<qint32>& emptyRows_;
    StruckDots& struck_;
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
    return turnToFollowingRow(box, row, false);
}

Continuation Builder::afterBackwardRun(const RegionBox& box, const RunEnd& run) {
    const qint32 row = run.row;
    const qint32 end = run.column;
    if (const qint32 s = LastMarkedFromRight(grids_, box, row, end - 1); s != -1) {
        out_.upBlock();
        out_.approach(row, approachLeftward(end, s));
        return {Continuation::Run, backwardRun(box, row, s)};
    }
    return turnToFollowingRow(box, row, true);
}

// Double-sided mode: the stretch of the following rows, struck in the other direction at once,
// or the end of the region.
Continuation Builder::turnToFollowingRow(const RegionBox& box, qint32 row, bool forward) {
    const PlanCellPosition next = followingRow(box, row, [&](qint32 r) {
        return forward ? FirstMarkedFromLeft(grids_, box, r) : LastMarkedFromRight(grids_, box, r);
    });
    if (next.column == -1) {
        out_.upBlock();
        return {Continuation::NextRegion};
    }
    return {Continuation::Run, forward ? forwardRun(box, next.row, next.column)
                                       : backwardRun(box, next.row, next.column)};
}

RunEnd Builder::forwardRun(const RegionBox& box, qint32 row, qint32 start) {
    out_.forwardRunHeader(row, start);
    return strikeCells(row, start, 1, box.lastColumn, kRightEdge);
}

RunEnd Builder::backwardRun(const RegionBox& box, qint32 row, qint32 start) {
    out_.backwardRunHeader(row, start);
    return strikeCells(row, start, -1, box.firstColumn, kLeftEdge);
}

// Writes the code of every cell from `start` on in steps of `step` and strikes it, up to the
// first cell that carries `endFlag` with the in-region flag (the run's end cell), or until
// the run passes `limit`. The codes go out in chunks, so that the loop keeps to the grids.
RunEnd Builder::strikeCells(qint32 row, qint32 start, int step, qint32 limit, qint32 endFlag) {
    constexpr int kChunk = 512;
    char codes[kChunk];
    int count = 0;
    qint32* marks = grids_.markRow(row);
    double* values = grids_.valueRow(row);
    RunEnd end{false, step > 0, row, 0};
    for (qint32 column = start; (column - limit) * step <= 0; column += step) {
        qint32& mark = marks[column];
        double& value = values[column];
        const int code = strikeCode(value);
        codes[count++] = char('0' + code);
        if (count == kChunk) {
            out_.digits(codes, count);
            count = 0;
        }
        const bool endsRun = (mark & endFlag) && (mark & kInRegion);
        if (mark > 0)
            mark = 0;
        if (value > 0)
            struck_.strike(value, code);
        if (endsRun) {
            end.atEndCell = true;
            end.column = column;
            break;
        }
    }
    out_.digits(codes, count);
    return end;
}

// The grids as a conversion makes them, with the margin of gray 0 around the picture that
// keeps every neighbour of a picture cell inside the grids.
bool picturePrepared(const DotImage& picture) {
    const int h = picture.height();
    const int w = picture.width();
    const bool sized = picture.gray.rows() == h + 4 && picture.gray.cols() == w + 4 &&
                       picture.dots.rows() == h + 4 && picture.dots.cols() == w + 4;
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
void rebuildMarks(PlanGrids& grids) {
    const int lastRow = grids.height() + 1;
    const int lastColumn = grids.width() + 1;
    for (int row = 0; row <= lastRow; ++row) {
        const qint32* grays = grids.grayRow(row);
        qint32* marks = grids.markRow(row);
        for (int column = 0; column <= lastColumn; ++column)
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

// The build proper, with the builder's own grids; throws std::bad_alloc when there is no room
// for them.
PlanBuildResult buildWithGrids(DotImage& picture, bool singleSided, const PlanFiles& files,
                               PlanProgress& progress) {
    PlanGrids grids(picture);
    rebuildMarks(grids);
    if (!files.dump.isEmpty()) {
        if (const QString error = writeGrayDump(picture, files.dump); !error.isEmpty())
            return failure(error);
    }
    std::vector<qint32> emptyRows(static_cast<std::size_t>(picture.height()) + 5, 0);
    BufferedFileWriter writer(files.plan);
    if (!writer.open())
        return failure(writer.error());

    PlanOutput out(writer);
    StruckDots struck(picture);
    Builder builder(grids, singleSided, out, progress, emptyRows, struck);
    Outcome outcome = Outcome::Complete;
    try {
        outcome = builder.run();
    } catch (...) {
        struck.restore(); // the dots stay as converted whatever happens
        throw;
    }
    struck.restore();

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

} // namespace

PlanBuildResult buildPlanFiles(DotImage& picture, bool singleSided, const PlanFiles& files,
                               PlanProgress& progress) {
    if (!picturePrepared(picture))
        return failure(QStringLiteral(
            "План гравировки не построен: рисунок не подготовлен, откройте его снова."));
    try {
        return buildWithGrids(picture, singleSided, files, progress);
    } catch (const std::bad_alloc&) {
        return failure(QStringLiteral("План гравировки не построен: недостаточно памяти."));
    }
}

PlanBuildResult buildPlan(DotImage& picture, bool singleSided, const ProgramDir& dir,
                          PlanProgress& progress) {
    return buildPlanFiles(
        picture, singleSided,
        {dir.path(QLatin1String(kPlanFileName)), dir.path(QLatin1String(kGrayDumpFileName))},
        progress);
}

} // namespace zuk
