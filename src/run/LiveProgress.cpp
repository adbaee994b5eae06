#include "run/LiveProgress.h"

#include "app/CountText.h"
#include "app/Program.h"
#include "journal/JobJournal.h"
#include "plan/PlanLine.h"
#include "plan/PlanReader.h"
#include "plan/TimeEstimate.h"
#include "run/PlanFiles.h"
#include "run/RunState.h"

#include <algorithm>
#include <cmath>

namespace zuk {

namespace {

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

// The share of the lines done in whole percent: 100 only once every line is done.
qint64 donePercent(const RunProgressFigures& figures) {
    return figures.linesTotal > 0 ? figures.linesDone * 100 / figures.linesTotal : 0;
}

// How far the job got: "выполнено 57 % (1 234 из 2 938 строк)".
QString linesDoneText(const RunProgressFigures& figures) {
    return QStringLiteral("выполнено %1 % (%2 из %3 строк)")
        .arg(donePercent(figures))
        .arg(countText(figures.linesDone), countText(figures.linesTotal));
}

// The dots a strike line strikes: its digits other than "0".
qint64 strikesOfLine(QByteArrayView line) {
    const PlanLineKind kind = planLineKind(line);
    if (kind != PlanLineKind::Knock && kind != PlanLineKind::KBack)
        return 0;
    const QByteArrayView digits = strikeDigits(line);
    return qint64(std::count_if(digits.begin(), digits.end(), [](char d) { return d != '0'; }));
}

} // namespace

QString jobEndText(JobEnd end, const JobEndFigures& figures, const QLocale& locale) {
    switch (end) {
    case JobEnd::Finished:
        return QStringLiteral("Работа завершена за %1, ударов иглы: %2. «Тест» снова подключит "
                              "устройство для следующей работы.")
            .arg(durationText(figures.elapsedMs * kTimeUnitsPerMillisecond, locale),
                 countText(figures.strikes));
    case JobEnd::Interrupted:
        return QStringLiteral("Работа прервана: %1. Её данные сохранены: при следующем запуске "
                              "программы её можно будет завершить.")
            .arg(linesDoneText(figures.progress));
    case JobEnd::Stopped:
        break;
    }
    return QStringLiteral("Работа остановлена: %1.").arg(linesDoneText(figures.progress));
}

QString runProgressText(const RunProgressFigures& figures, const QLocale& locale) {
    if (!figures.running)
        return QString();
    QString text = QStringLiteral("Выполнено: %1 % (%2 из %3)")
                       .arg(donePercent(figures))
                       .arg(countText(figures.linesDone), countText(figures.linesTotal));
    if (figures.remainingMs)
        text += QStringLiteral(", осталось: ") +
                durationText(*figures.remainingMs * kTimeUnitsPerMillisecond, locale);
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
    if (!firstTickStartMs_)
        firstTickStartMs_ = startMs;
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

JobEndFigures LiveProgress::endFigures(qint64 nowMs) const {
    return {figures(), firstTickStartMs_ ? nowMs - *firstTickStartMs_ : 0, strikes_,
            strikesByCode_};
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
    progress.meter.strikesDone(strikesOfLine(line), strikeCounts(line));
}

void endLiveProgressTick(Program& program, qint64 startMs) {
    LiveProgress& meter = program.job.liveProgress.meter;
    const qint64 nowMs = program.clock.monotonicMs();
    meter.tickTaken(startMs, nowMs);
    // A tick that ended the job has shown its end.
    if (!program.timers.optimizing)
        return;
    if (const std::optional<RunProgressFigures> figures = meter.showingDue(nowMs))
        program.screen.showRunProgress(*figures);
}

void showJobEnd(Program& program, JobEnd end) {
    RunProgressFigures ended;
    ended.running = false;
    program.screen.showRunProgress(ended);
    const JobEndFigures figures =
        program.job.liveProgress.meter.endFigures(program.clock.monotonicMs());
    program.screen.setStatusLine(jobEndText(end, figures, QLocale::system()));
    journalJobEnded(program, figures);
}

} // namespace zuk
