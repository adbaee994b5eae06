#pragma once

#include "plan/PlanLine.h"
#include "plan/PlanReader.h"
#include "run/HeadMove.h"

#include <QByteArray>
#include <QPoint>
#include <QString>

namespace zuk {

// Where the device reported its head ("How"): the row as its 16-bit step count halved, the
// column as a 16-bit count.
struct StoppedPosition {
    quint16 row = 0;
    quint16 column = 0;
};

// Where the rest of an interrupted plan begins.
struct PlanCut {
    enum class Kind {
        // "GoTo: " start, "Down: ", the cut line, then the lines after it.
        AtLine,
        // The lines from `line` on, unchanged: the pass had not begun (from line 1), or it had
        // completed (from past the last line: nothing is left).
        FromLine,
        // No line of the plan holds the stopped position.
        NotFound,
        // The plan cannot be read, or it holds a "GoTo:" line the run cannot follow.
        Failed,
    };

    Kind kind = Kind::NotFound;
    qint64 line = 0;    // AtLine: the cut line's number (from 1); FromLine: the first line kept
    QByteArray cutText; // AtLine: the cut line with the digits of passed cells set to "0"
    PlanCell start;     // AtLine: the plan cell of the "GoTo: " before the cut line
    QString error;      // Failed: what is wrong, naming the file and the line
};

// The exact scan: follows the head through the plan as the run moves it and cuts at the
// first line after `recordedLine` whose path holds the stopped position: a strike line's row
// from its start to its end, a "GoTo:" line's move as the run makes it (rows first with the
// overshoot, then columns), any other line's position. Lines up to `recordedLine` completed;
// ProgressEntry::kNotStarted means the pass had not begun.
PlanCut cutAfterRecordedLine(PlanReader& plan, QPoint offsets, StoppedPosition stop,
                             qint64 recordedLine);

// The scan for a job without a progress record: the first line at which the scan's row and
// column equal the stopped position, counting strike digits only on the stopped row.
PlanCut cutAtFirstMatch(PlanReader& plan, QPoint offsets, StoppedPosition stop);

} // namespace zuk
