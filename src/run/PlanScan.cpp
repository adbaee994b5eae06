#include "run/PlanScan.h"

#include "run/ProgressRecord.h"

#include <QDir>

#include <optional>
#include <utility>

namespace zuk {

namespace {

// The device reports a column as a 16-bit count and a row as its 16-bit step count halved,
// so a position is known only up to these spans.
constexpr qint64 kReportedColumns = 65536;
constexpr qint64 kReportedRows = 32768;

qint64 wrapped(qint64 value, qint64 span) {
    const qint64 rest = value % span;
    return rest < 0 ? rest + span : rest;
}

// Whether a value between `a` and `b` (either order) is reported as `reported`.
bool reportedWithin(qint64 a, qint64 b, qint64 reported, qint64 span) {
    if (a > b)
        std::swap(a, b);
    return b - a + 1 >= span || a + wrapped(reported - a, span) <= b;
}

bool onRow(qint64 row, const StoppedPosition& stop) {
    return wrapped(row, kReportedRows) == stop.row;
}
bool onColumn(qint64 column, const StoppedPosition& stop) {
    return wrapped(column, kReportedColumns) == stop.column;
}

FieldCell onField(const PlanCell& cell, QPoint offsets) {
    return {qint64{cell.row} + offsets.y(), qint64{cell.column} + offsets.x()};
}

PlanCell inPlan(const FieldCell& cell, QPoint offsets) {
    return {static_cast<qint32>(cell.row - offsets.y()),
            static_cast<qint32>(cell.column - offsets.x())};
}

PlanCut failed(QString error) {
    PlanCut cut;
    cut.kind = PlanCut::Kind::Failed;
    cut.error = std::move(error);
    return cut;
}

PlanCut damagedGoTo(const PlanReader& plan, qint64 number, const QByteArray& line) {
    return failed(
        QStringLiteral("Строка %1 плана \"%2\" повреждена: \"%3\"")
            .arg(number)
            .arg(QDir::toNativeSeparators(plan.path()), QString::fromLatin1(line.left(40))));
}

PlanCut cutAt(qint64 number, QByteArray text, PlanCell start) {
    PlanCut cut;
    cut.kind = PlanCut::Kind::AtLine;
    cut.line = number;
    cut.cutText = std::move(text);
    cut.start = start;
    return cut;
}

PlanCut fromLine(qint64 number) {
    PlanCut cut;
    cut.kind = PlanCut::Kind::FromLine;
    cut.line = number;
    return cut;
}

// One plan line as the head goes through it.
struct LineVisit {
    FieldCell end;          // where the line leaves the head
    bool holds = false;     // the line's path holds the stopped position
    qint64 passedCells = 0; // strike lines: cells the head had passed at the stop
};

LineVisit visitStrikeLine(const StrikeRun& run, const FieldCell& head, StoppedPosition stop) {
    LineVisit visit{{head.row, run.endColumn(head.column)}};
    if (!onRow(head.row, stop) ||
        !reportedWithin(head.column, visit.end.column, stop.column, kReportedColumns))
        return visit;
    visit.holds = true;
    const qint64 travelled = run.forward ? stop.column - head.column : head.column - stop.column;
    visit.passedCells = wrapped(travelled, kReportedColumns);
    return visit;
}

// Nothing when the line is a "GoTo:" whose numbers cannot be read.
std::optional<LineVisit> visitLine(QByteArrayView line, const FieldCell& head, QPoint offsets,
                                   StoppedPosition stop) {
    switch (planLineKind(line)) {
    case PlanLineKind::GoTo: {
        const std::optional<PlanCell> cell = parseGoTo(line);
        if (!cell)
            return std::nullopt;
        const FieldCell target = onField(*cell, offsets);
        const HeadMove move = headMoveBetween(head, target);
        const bool onRows =
            onColumn(head.column, stop) &&
            reportedWithin(move.lowestRow(head), move.highestRow(head), stop.row, kReportedRows);
        const bool onColumns =
            onRow(target.row, stop) &&
            reportedWithin(head.column, target.column, stop.column, kReportedColumns);
        return LineVisit{target, onRows || onColumns};
    }
    case PlanLineKind::Knock:
        return visitStrikeLine(strikeRunOf(line, true), head, stop);
    case PlanLineKind::KBack:
        return visitStrikeLine(strikeRunOf(line, false), head, stop);
    default:
        return LineVisit{head, onRow(head.row, stop) && onColumn(head.column, stop)};
    }
}

QByteArray withPassedCellsCleared(QByteArray line, qint64 passedCells) {
    for (qint64 k = 0; k < passedCells; ++k)
        line[kStrikeDigitsStart + k] = '0';
    return line;
}

} // namespace

PlanCut cutAfterRecordedLine(PlanReader& plan, QPoint offsets, StoppedPosition stop,
                             qint64 recordedLine) {
    if (recordedLine == ProgressEntry::kNotStarted)
        return fromLine(1);
    FieldCell head; // every pass begins at home
    qint64 number = 0;
    while (!plan.atEnd()) {
        const QByteArray line = plan.next();
        if (!plan.error().isEmpty())
            return failed(plan.error());
        ++number;
        const std::optional<LineVisit> visit = visitLine(line, head, offsets, stop);
        if (!visit)
            return damagedGoTo(plan, number, line);
        if (number > recordedLine && visit->holds)
            return cutAt(number, withPassedCellsCleared(line, visit->passedCells),
                         inPlan(head, offsets));
        head = visit->end;
    }
    if (!plan.error().isEmpty())
        return failed(plan.error());
    // Every line had completed: nothing of this pass is left.
    if (number <= recordedLine)
        return fromLine(number + 1);
    return {};
}

PlanCut cutAtFirstMatch(PlanReader& plan, QPoint offsets, StoppedPosition stop) {
    FieldCell scan;
    qint64 lineStart = 0;
    qint64 number = 0;
    while (!plan.atEnd()) {
        QByteArray line = plan.next();
        if (!plan.error().isEmpty())
            return failed(plan.error());
        ++number;
        const PlanLineKind kind = planLineKind(line);
        if (kind == PlanLineKind::GoTo) {
            const std::optional<PlanCell> cell = parseGoTo(line);
            if (!cell)
                return damagedGoTo(plan, number, line);
            scan = onField(*cell, offsets);
        } else if ((kind == PlanLineKind::Knock || kind == PlanLineKind::KBack) &&
                   onRow(scan.row, stop)) {
            // Step over the digits up to the stopped column, clearing each one passed.
            lineStart = scan.column;
            const int step = kind == PlanLineKind::Knock ? 1 : -1;
            for (qsizetype k = kStrikeDigitsStart; k < line.size(); ++k) {
                scan.column += step;
                line[k] = '0';
                if (onColumn(scan.column, stop))
                    break;
            }
        }
        if (onRow(scan.row, stop) && onColumn(scan.column, stop))
            return cutAt(number, line, inPlan({scan.row, lineStart}, offsets));
    }
    if (!plan.error().isEmpty())
        return failed(plan.error());
    return {};
}

} // namespace zuk
