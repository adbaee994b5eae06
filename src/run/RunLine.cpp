#include "run/RunLine.h"

#include "app/Program.h"
#include "plan/PlanLine.h"
#include "run/HeadMove.h"
#include "run/StrikeMarks.h"
#include "service/FieldBounds.h"

#include <algorithm>

namespace zuk {

namespace {

// One row is two motor steps; a move of more rows than one command carries goes out in
// pieces of an even number of steps, so that a stop between two pieces is on a row.
constexpr qint64 kRowsPerMove = CommandSet::kMaxMoveSteps / 2;

void moveRows(CommandSet& commands, qint64 rows, bool up) {
    while (rows > 0 && commands.exchange().linkActive()) {
        const qint64 piece = std::min(rows, kRowsPerMove);
        if (up)
            commands.stepUp(2 * piece);
        else
            commands.stepDown(2 * piece);
        rows -= piece;
    }
}

FieldCell headCell(const Program& program) {
    return {program.commands.position.row, program.commands.position.column};
}

// Whether the head may be taken to the cell: the field the placement check measured the
// picture on, border included, and the column past its last, where a backward run that
// strikes the last column begins (the head steps before it strikes) and a forward run that
// struck it ends.
bool withinReach(const Program& program, const FieldCell& cell) {
    return pointInField(cell.column, cell.row, workingFieldInDots(program.image) + QSize(1, 0));
}

LineOutcome runGoTo(Program& program, QByteArrayView line) {
    const std::optional<PlanCell> cell = parseGoTo(line);
    if (!cell)
        return LineOutcome::Damaged;
    const QPoint offset = program.image.placement().offset;
    const FieldCell to{qint64{cell->row} + offset.y(), qint64{cell->column} + offset.x()};
    if (!withinReach(program, to))
        return LineOutcome::OffField;
    CommandSet& commands = program.commands;
    const HeadMove move = headMoveBetween(headCell(program), to);
    moveRows(commands, move.rowsUp, true);
    moveRows(commands, move.rowsDown, false);
    for (qint64 climb = 0; climb < move.climbs; ++climb)
        commands.stepUp(2);
    if (move.columns > 0)
        commands.left(move.columns);
    else if (move.columns < 0)
        commands.right(-move.columns);
    commands.position = {static_cast<qint32>(to.row), static_cast<qint32>(to.column)};
    return LineOutcome::Done;
}

void print(CommandSet& commands, bool forward, QByteArrayView digits) {
    commands.printLine(forward ? CommandSet::Direction::Forward : CommandSet::Direction::Backward,
                       QString::fromLatin1(digits));
}

void setRowMotorTiming(Program& program, int aboveIndex) {
    program.commands.progYMotor(CommandSet::kResolutionParameter,
                                static_cast<quint8>(program.settings.resolutionIndex + aboveIndex));
}

// In portrait mode a long backward line is struck in three pieces, the N edge dots at each
// end with their own row motor timing.
void printBackward(Program& program, QByteArrayView digits) {
    const qsizetype edge = program.settings.edgeDots;
    if (!program.settings.portrait || edge <= 0 || digits.size() <= 2 * edge) {
        print(program.commands, false, digits);
        return;
    }
    setRowMotorTiming(program, 17);
    print(program.commands, false, digits.first(edge));
    setRowMotorTiming(program, 16);
    print(program.commands, false, digits.sliced(edge, digits.size() - 2 * edge));
    setRowMotorTiming(program, 15);
    print(program.commands, false, digits.last(edge));
    setRowMotorTiming(program, 16);
}

void showCountedPosition(Program& program) {
    program.screen.setField(Field::CountPosX, QString::number(program.commands.position.column));
    program.screen.setField(Field::CountPosY, QString::number(program.commands.position.row));
}

// Self-testing: the device's own position counters must agree with the plan position.
void checkPosition(Program& program) {
    program.commands.monitor(program.stepControl);
    showCountedPosition(program);
    const PlanPosition& counted = program.commands.position;
    const std::optional<PlanPosition>& real = program.commands.shownRealPosition;
    const bool differs = !real || real->row != counted.row || real->column != counted.column;
    if (differs && program.stepControl) {
        program.screen.beep();
        program.exchange.countError();
    }
}

LineOutcome runStrikeLine(Program& program, QByteArrayView line, bool forward) {
    const StrikeRun run = strikeRunOf(line, forward);
    if (!allDigits(run.digits) || run.sent.size() > CommandSet::kMaxPrintDots)
        return LineOutcome::Damaged;
    if (run.sendsNothing())
        return LineOutcome::SentNothing;
    const FieldCell start = headCell(program);
    // The head starts within reach (every line leaves it there) and moves one way.
    if (!withinReach(program, {start.row, run.endColumn(start.column)}))
        return LineOutcome::OffField;
    if (forward) {
        print(program.commands, true, run.sent);
        if (program.stepControl) {
            program.commands.monitor(true);
            showCountedPosition(program);
        }
    } else {
        printBackward(program, run.sent);
        if (program.exchange.selfTesting())
            checkPosition(program);
    }
    const QRect changed = markStrikeRun(program.image.view(), start, run);
    if (!changed.isEmpty())
        program.screen.showFieldViewPart(program.image.view().image(), changed);
    return LineOutcome::Done;
}

} // namespace

LineOutcome runPlanLine(Program& program, QByteArrayView line) {
    switch (planLineKind(line)) {
    case PlanLineKind::GoTo:
        return runGoTo(program, line);
    case PlanLineKind::Knock:
        return runStrikeLine(program, line, true);
    case PlanLineKind::KBack:
        return runStrikeLine(program, line, false);
    case PlanLineKind::Up:
        program.commands.needleUp();
        return LineOutcome::Done;
    case PlanLineKind::Down:
        program.commands.needleDown(1);
        return LineOutcome::Done;
    case PlanLineKind::Other:
        break;
    }
    return LineOutcome::Done;
}

} // namespace zuk
