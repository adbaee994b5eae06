#pragma once

#include "plan/BufferedFileWriter.h"
#include "plan/PlanLine.h"

namespace zuk::planner {

// The plan's blocks of lines, written exactly as the run and the estimate read them, with
// the number of lines the file holds.
class PlanOutput {
public:
    explicit PlanOutput(BufferedFileWriter& writer) : writer_(writer) {}

    // A line break, "GoTo: " with the run's start, a line break, "Down: ", a line break and
    // "Knock: ", left open for the digits.
    void forwardRunHeader(qint32 row, qint32 column);
    // A line break, "GoTo: " one column right of the run's first cell, a line break and
    // "KBack: ", left open.
    void backwardRunHeader(qint32 row, qint32 column);
    // A line break, "Up  : " and a line break.
    void upBlock();
    // "GoTo: " with the approach point, a line break and "Down: ", left open.
    void approach(qint32 row, qint32 column);
    // Strike codes, one per cell, on the open strike line.
    void digits(const char* codes, int count) { text(QByteArrayView(codes, count)); }

    // Lines as a reader counts them: one per line break, and the last line when it is not
    // followed by one.
    qint64 lines() const { return lineBreaks_ + (lineOpen_ ? 1 : 0); }
    bool failed() const { return writer_.failed(); }

private:
    void lineBreak();
    void text(QByteArrayView text);

    void goTo(qint32 row, qint32 column);

    BufferedFileWriter& writer_;
    qint64 lineBreaks_ = 0;
    bool lineOpen_ = false;
};

} // namespace zuk::planner
