#include "run/HeadMove.h"

#include "plan/PlanLine.h"

namespace zuk {

HeadMove headMoveBetween(const FieldCell& from, const FieldCell& to) {
    HeadMove move;
    const qint64 rows = to.row - from.row;
    if (rows > 0) {
        move.rowsUp = rows;
    } else if (rows < 0) {
        move.rowsDown = -rows + HeadMove::kOvershootRows;
        move.climbs = HeadMove::kOvershootRows;
    }
    move.columns = to.column - from.column;
    return move;
}

StrikeRun strikeRunOf(QByteArrayView line, bool forward) {
    const QByteArrayView digits = strikeDigits(line);
    return StrikeRun{digits, withoutTrailingZeros(digits), forward};
}

} // namespace zuk
