#pragma once

#include <QByteArrayView>

namespace zuk {

class Program;

enum class LineOutcome {
    Done,
    // A strike line of "0" digits only: nothing was sent, and the tick skips its end-of-file
    // test.
    SentNothing,
    // A line the run cannot carry out (a "GoTo:" without numbers, a strike line with other
    // characters than digits or too long for one print line): nothing was sent.
    Damaged,
    // A line that would take the head off the working field (its border included): a
    // "GoTo:" to a cell off it, or a strike line that would run off it. Nothing was sent.
    OffField,
};

// Carries out one plan line on the device: the moves of "GoTo:", the print lines of
// "Knock:" and "KBack:" with their marks, the needle for "Up  :" and "Down:". The plan
// position follows the line also while no command can be sent.
LineOutcome runPlanLine(Program& program, QByteArrayView line);

} // namespace zuk
