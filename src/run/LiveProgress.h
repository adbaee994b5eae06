#pragma once

#include "plan/PlanLine.h"
#include "plan/TimeEstimate.h"

#include <QByteArrayView>
#include <QLocale>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace zuk {

class Program;

// What the status bar's progress line shows while a job runs.
struct RunProgressFigures {
    qint64 linesDone = 0;  // plan lines run so far, in every pass of the job
    qint64 linesTotal = 0; // plan lines of every pass of the job
    // The time the rest of the job will take at the pace it has kept so far; nothing until
    // it has run for a second.
    std::optional<qint64> remainingMs;
    // The job runs; once it has ended the progress line shows nothing.
    bool running = true;
    bool operator==(const RunProgressFigures&) const = default;
};

// "Выполнено: 42 % (1 234 из 2 938), осталось: 0:41:10": the share of the plan lines in whole
// percent (100 only once every line is done), the lines, and the remaining time in the
// locale's time format, as the estimate shows the duration. Nothing once the job has ended.
QString runProgressText(const RunProgressFigures& figures, const QLocale& locale);

// How a job ended.
enum class JobEnd {
    Finished,    // the normal end: the plate is engraved
    Interrupted, // "Завершить работу": kept for the next start
    Stopped,     // a failure stopped it (its message says why)
};

// The job's figures at its end.
struct JobEndFigures {
    RunProgressFigures progress;
    qint64 elapsedMs = 0;         // from the start of its first line to its end, pauses included
    qint64 strikes = 0;           // dots struck
    StrikeCounts strikesByCode{}; // the dots struck with the strike codes "1" to "4"
};

// What the status line says when the job has ended: "Работа завершена за 00:12:34, ударов
// иглы: 22 778." and how the next job begins; how far an interrupted or stopped job got.
QString jobEndText(JobEnd end, const JobEndFigures& figures, const QLocale& locale);

// The work of plan lines: how many, and their time as the estimate models it (10-µs units).
struct PlanWork {
    qint64 lines = 0;
    qint64 modelled = 0;
    PlanWork& operator+=(const PlanWork& other) {
        lines += other.lines;
        modelled += other.modelled;
        return *this;
    }
};

// The arithmetic of the progress line. The lines done are counted against the lines of every
// pass of the job. The remaining time is re-projected from the time the job has actually
// taken: that time × the modelled time of the lines left / the modelled time of the lines
// done. A long move and a needle line differ a hundredfold, so the pace is measured against
// the work the lines were, not their number; where the model gives no time (nothing but
// zeros), the lines themselves are the measure. Only the run's own time counts: a wait
// between two ticks longer than kPauseMs (STOP, a dialog, an interruption) is left out, so a
// paused job does not seem to have slowed down.
class LiveProgress {
public:
    // At most one showing per second of the program's clock.
    static constexpr qint64 kShowIntervalMs = 1000;
    // The run timer ticks every millisecond; a longer wait than this between two ticks is a
    // pause.
    static constexpr qint64 kPauseMs = 1000;

    // The first line of a pass is about to run. The first pass, or a pass that does not
    // follow the first one measured, begins a new job: `pass` in this pass and `laterPasses`
    // in the pass still to come. The second pass after the first keeps what was done and
    // counts its own work from there.
    void beginPass(int pass, const PlanWork& thisPass, const PlanWork& laterPasses);
    // `passLinesDone` lines of the running pass have been run; the last of them was modelled
    // to take `lineModelled`.
    void lineDone(qint64 passLinesDone, qint64 lineModelled);
    // One tick of the run took the time from startMs to endMs.
    void tickTaken(qint64 startMs, qint64 endMs);

    RunProgressFigures figures() const;
    // The figures when the line is to be shown at nowMs: the first time in a job, then at
    // most once per kShowIntervalMs, and always once the last line of the job is done, so
    // that the line ends at 100 %.
    std::optional<RunProgressFigures> showingDue(qint64 nowMs);

    // The job's own time so far, pauses left out.
    qint64 activeMs() const { return activeMs_; }
    // The strike line that was the last line done struck this many dots, these by code.
    void strikesDone(qint64 count, const StrikeCounts& byCode) {
        strikes_ += count;
        for (std::size_t code = 0; code < byCode.size(); ++code)
            strikesByCode_[code] += byCode[code];
    }
    // The figures of the job at nowMs, when it has ended.
    JobEndFigures endFigures(qint64 nowMs) const;

private:
    int pass_ = 0;
    PlanWork total_;
    PlanWork done_;
    qint64 earlierPassesLines_ = 0;
    qint64 activeMs_ = 0;
    qint64 strikes_ = 0;
    StrikeCounts strikesByCode_{};
    std::optional<qint64> firstTickStartMs_;
    std::optional<qint64> lastTickEndMs_;
    std::optional<qint64> lastShownMs_;
    bool endShown_ = false;
};

// The progress line of the job the program runs: the arithmetic, and the model timing each
// line of the running pass as the run reads it.
struct JobLiveProgress {
    LiveProgress meter;
    std::optional<PlanLineTimes> lineTimes;
};

// The run's calls, on the job's progress line and the program's clock and screen.
// The tick is about to run the first line of the running pass: reads its plan once for its
// lines and their modelled time (with the values the estimate uses), and in the first pass of
// a double-pass job the second pass's plan too.
void beginLiveProgressPass(Program& program);
// The tick has run one more line of the pass.
void noteLiveProgressLine(Program& program, QByteArrayView line);
// The tick that began at startMs has ended: its time is counted, and while the job runs the
// line is shown when a showing is due.
void endLiveProgressTick(Program& program, qint64 startMs);
// The job has ended: the progress line is emptied, the status line says how the job ended, and
// the journal of jobs gets the job's record.
void showJobEnd(Program& program, JobEnd end);

} // namespace zuk
