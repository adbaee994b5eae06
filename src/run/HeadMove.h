#pragma once

#include <QByteArrayView>
#include <QtGlobal>

namespace zuk {

// A cell of the working field: a plan coordinate plus the placement offset.
struct FieldCell {
    qint64 row = 0;
    qint64 column = 0;
    bool operator==(const FieldCell&) const = default;
};

// How the run takes the head from one cell to another for a "GoTo:" line: rows first, then
// columns. A row is always reached moving up (the row count growing), so that the row
// drive's play is taken up the same way every time: a row further down is overshot by four
// rows and climbed back one row at a time.
struct HeadMove {
    static constexpr qint64 kOvershootRows = 4;

    qint64 rowsUp = 0;   // one climb straight to the target row
    qint64 rowsDown = 0; // down this far (the distance plus the overshoot), then the climbs
    qint64 climbs = 0;   // single-row climbs after a move down
    qint64 columns = 0;  // above 0 towards growing columns ("Left"), below 0 "Right"

    // The lowest and highest rows the head passes, at the starting column.
    qint64 lowestRow(const FieldCell& from) const { return from.row - rowsDown; }
    qint64 highestRow(const FieldCell& from) const { return from.row + rowsUp; }
};

HeadMove headMoveBetween(const FieldCell& from, const FieldCell& to);

// A "Knock:" (forward) or "KBack:" (backward) line as the run sends it.
struct StrikeRun {
    QByteArrayView digits; // one per cell, as in the plan
    QByteArrayView sent;   // without the trailing "0" characters: what the print line carries
    bool forward = true;

    // Digits, but all "0": the run sends nothing for the line.
    bool sendsNothing() const { return !digits.isEmpty() && sent.isEmpty(); }
    // Where the head ends, from the column where the line began.
    qint64 endColumn(qint64 start) const {
        return forward ? start + sent.size() : start - sent.size();
    }
    // The column of the cell the digit at `index` strikes: forward the head strikes the cell
    // under it and steps on, backward it steps first.
    static qint64 struckColumn(qint64 start, bool forward, qint64 index) {
        return forward ? start + index : start - 1 - index;
    }
};

StrikeRun strikeRunOf(QByteArrayView line, bool forward);

} // namespace zuk
