#include "run/LiveProgress.h"

#include "app/Program.h"
#include "plan/PlanReader.h"
#include "run/PlanFiles.h"
#include "run/RunState.h"

#include <algorithm>
#include <cmath>

namespace zuk {

namespace {

// The estimate's times count 10-µs units.
constexpr qint64 kUnitsPerMs = 100;

// The work of a plan file, read once through a PlanReader and timed as the estimate times it;
// nothing when it cannot be read or holds a line the program cannot run (the run stops there
// with its own message).
std::optional<PlanWork> planWork(const QString& path, const EstimateInputs& inputs) {
    PlanReader plan;
    if (!plan.open(path))
        return std::nullopt;
    PlanLineTimes times(inputs);
    PlanWork work;
    while (!plan.atEnd()) {
        const QByteArray line = plan.next();
        const std::optional<qint64> time = times.next(line);
        if (!plan.error().isEmpty() || !time)
            return std::nullopt;
        work.modelled += *time;
    }
    work.lines = plan.linesRead();
    return work;
}

EstimateInputs runInputs(const Program& program) {
    const QPoint offset = program.job.offset;
    return estimateInputs(program.commands, offset.x(), offset.y(), program.job.secondPassToCome(),
                          program.exchange.linkActive());
}

} // namespace

QString runProgressText(const RunProgressFigures& figures, const QLocale& locale) {
    const qint64 percent =
        figures.linesTotal > 0 ? figures.linesDone * 100 / figures.linesTotal : 0;
    QString text = QStringLiteral("Выполнено: %1 % (%2 из %3)")
                       .arg(percent)
                       .arg(figures.linesDone)
                       .arg(figures.linesTotal);
    if (figures.remainingMs)
        text += QStringLiteral(", осталось: ") +
                durationText(*figures.remainingMs * kUnitsPerMs, locale);
    return text;
}

void LiveProgress::beginPass(int pass, const PlanWork& thisPass, const PlanWork& laterPasses) {
    if (pass == 2 && pass_ == 1) {
        pass_ = 2;
        earlierPassesLines_ = done_.lines;
        total_ = done_;
        total_ += thisPass;
        return;
    }
    *this = LiveProgress{};
    pass_ = pass;
    total_ = thisPass;
    total_ += laterPasses;
}

void LiveProgress::lineDone(qint64 passLinesDone, qint64 lineModelled) {
    done_.lines = earlierPassesLines_ + passLinesDone;
    done_.modelled += lineModelled;
}

void LiveProgress::tickTaken(qint64 startMs, qint64 endMs) {
    const bool followsTheLastTick = lastTickEndMs_ && startMs - *lastTickEndMs_ <= kPauseMs;
    const qint64 from = followsTheLastTick ? *lastTickEndMs_ : startMs;
    activeMs_ += std::max<qint64>(0, endMs - from);
    lastTickEndMs_ = endMs;
}

RunProgressFigures LiveProgress::figures() const {
    RunProgressFigures figures{done_.lines, std::max(total_.lines, done_.lines), std::nullopt};
    const bool modelled = total_.modelled > 0 && done_.modelled > 0;
    const double done = modelled ? double(done_.modelled) : double(done_.lines);
    const double left = modelled ? double(std::max<qint64>(0, total_.modelled - done_.modelled))
                                 : double(figures.linesTotal - done_.lines);
    if (done > 0 && activeMs_ >= kShowIntervalMs)
        figures.remainingMs = std::llround(double(activeMs_) * left / done);
    return figures;
}

std::optional<RunProgressFigures> LiveProgress::showingDue(qint64 nowMs) {
    if (pass_ == 0)
        return std::nullopt;
    if (total_.lines > 0 && done_.lines >= total_.lines) {
        if (endShown_)
            return std::nullopt;
        endShown_ = true;
    } else if (lastShownMs_ && nowMs - *lastShownMs_ < kShowIntervalMs) {
        return std::nullopt;
    }
    lastShownMs_ = nowMs;
    return figures();
}

void beginLiveProgressPass(Program& program) {
    JobLiveProgress& progress = program.job.liveProgress;
    const int pass = runningPass(program);
    const EstimateInputs inputs = runInputs(program);
    const std::optional<PlanWork> thisPass = planWork(program.job.plan.path(), inputs);
    // The second pass's levels are sent when it begins; until then it is timed, as the
    // estimate times it, with the first pass's.
    const std::optional<PlanWork> laterPasses =
        pass == 1 && program.job.secondPassToCome()
            ? planWork(program.dir.path(kSecondPassPlanName), inputs)
            : std::optional<PlanWork>(PlanWork{});
    if (!thisPass || !laterPasses) {
        // Not shown for a job it cannot measure.
        progress = JobLiveProgress{};
        return;
    }
    progress.meter.beginPass(pass, *thisPass, *laterPasses);
    progress.lineTimes.emplace(inputs);
}

void noteLiveProgressLine(Program& program, QByteArrayView line) {
    JobLiveProgress& progress = program.job.liveProgress;
    const qint64 modelled = progress.lineTimes ? progress.lineTimes->next(line).value_or(0) : 0;
    progress.meter.lineDone(program.job.plan.linesRead(), modelled);
}

void endLiveProgressTick(Program& program, qint64 startMs) {
    LiveProgress& meter = program.job.liveProgress.meter;
    const qint64 nowMs = program.clock.monotonicMs();
    meter.tickTaken(startMs, nowMs);
    if (const std::optional<RunProgressFigures> figures = meter.showingDue(nowMs))
        program.screen.showRunProgress(*figures);
}

} // namespace zuk
