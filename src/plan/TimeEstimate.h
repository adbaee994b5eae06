#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QLocale>
#include <QString>

#include <array>
#include <optional>

namespace zuk {

class CommandSet;
class PlanReader;
class Screen;
class Texts;

// What the estimate of a job's duration depends on, as plain values.
struct EstimateInputs {
    qint32 linkDelay = 400;      // the measured link delay, added per move and needle line
    quint8 stepTimeFactor = 12;  // the motors' step-time factor
    quint8 motorParameter60 = 1; // the value last sent as motor parameter 0x60
    qint32 stepDuration = 0;     // an unstruck cell of a strike run
    // A struck cell of the strike codes 1 to 4 (levels "8", "16", "24", "32").
    std::array<qint32, 4> strikeDurations{};
    qint32 columnOffset = 0; // placement of the picture on the working field
    qint32 rowOffset = 0;
    bool secondPass = false; // the plan runs twice
    bool linkActive = true;  // without the link only needle lines and strikes count
};

// The inputs as the command set holds them after SetStrike.
EstimateInputs estimateInputs(const CommandSet& commands, qint32 columnOffset, qint32 rowOffset,
                              bool secondPass, bool linkActive);

// One head step in 10-µs units is k = step-time factor × motor parameter 0x60 × 100 × 0.024375
// = step-time factor × motor parameter × 39 / 16. The move terms trunc(k × n) are computed
// from that fraction in whole numbers, so no rounding of a real k can lose a unit.
qint64 stepTerm(const EstimateInputs& inputs, qint64 steps);

// The modelled time of plan lines read one after the other, as the estimate adds them up: a
// "GoTo:" costs a link delay and k per step for each axis from where the line before left the
// head (rows count two motor steps; a move to a smaller column costs a second link delay), a
// strike run the step or strike duration of each digit up to its last non-zero one, "Up  :"
// and "Down:" a link delay, any other line nothing. The estimate reads each pass through one;
// the run's progress line times the lines it has run with one.
class PlanLineTimes {
public:
    explicit PlanLineTimes(const EstimateInputs& inputs);
    // The next line's time in 10-µs units; nothing for a line the program cannot run (a
    // "GoTo:" without its two numbers, a strike run with a digit other than 0 to 4), see why().
    std::optional<qint64> next(QByteArrayView line);
    // Why the last line without a time has none.
    const char* why() const { return why_; }

private:
    std::optional<qint64> move(QByteArrayView line);
    std::optional<qint64> strikes(QByteArrayView line, int direction);

    EstimateInputs inputs_;
    // The time of one strike digit, or -1 for a character a strike run cannot hold.
    std::array<qint64, 256> digitTimes_{};
    qint64 previousRow_ = 0;
    qint64 previousColumn_ = 0;
    const char* why_ = "";
};

// The estimate of a plan: its total in 10-µs units, or why the plan could not be read.
struct JobEstimate {
    qint64 total = 0;
    QString error; // names the file and the line; empty on success
    bool ok() const { return error.isEmpty(); }
};

// Reads the open plan from its first line to its end, once per pass, and adds up the time of
// every line (PlanLineTimes). Leaves the plan at its first line. A line the program cannot
// run stops the estimate with an error naming it.
JobEstimate estimateJob(PlanReader& plan, const EstimateInputs& inputs);

// 10-µs units, the estimate's unit, in one millisecond of the program's clock.
inline constexpr qint64 kTimeUnitsPerMillisecond = 100;

// The duration as a time of day in the locale's time format; from 24 hours on the hours run
// past 23 ("31:05:12").
QString durationText(qint64 total, const QLocale& locale);
// The end time `total` after `now`: the time in the locale's format, with the date in front
// when the job ends on another day.
QString endTimeText(const QDateTime& now, qint64 total, const QLocale& locale);

// Fills the status bar: "Время завершения работы: " with the end time and
// "Длительность работы: " with the duration (the language file's captions when it has them).
void showJobEstimate(Screen& screen, const Texts& texts, const QDateTime& now, qint64 total,
                     const QLocale& locale = QLocale::system());

} // namespace zuk
