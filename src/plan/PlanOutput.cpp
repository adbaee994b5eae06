#include "plan/PlanOutput.h"

namespace zuk::planner {

void PlanOutput::lineBreak() {
    writer_.append(kPlanLineEnd);
    ++lineBreaks_;
    lineOpen_ = false;
}

void PlanOutput::text(QByteArrayView text) {
    writer_.append(text);
    lineOpen_ = lineOpen_ || !text.isEmpty();
}

void PlanOutput::goTo(qint32 row, qint32 column) {
    text(goToLine(row, column));
}

void PlanOutput::forwardRunHeader(qint32 row, qint32 column) {
    lineBreak();
    goTo(row, column);
    lineBreak();
    text(kDownLine);
    lineBreak();
    text(kKnockPrefix);
}

void PlanOutput::backwardRunHeader(qint32 row, qint32 column) {
    lineBreak();
    goTo(row, column + 1);
    lineBreak();
    text(kKBackPrefix);
}

void PlanOutput::upBlock() {
    lineBreak();
    text(kUpLine);
    lineBreak();
}

void PlanOutput::approach(qint32 row, qint32 column) {
    goTo(row, column);
    lineBreak();
    text(kDownLine);
}

} // namespace zuk::planner
