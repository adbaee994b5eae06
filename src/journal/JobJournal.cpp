#include "journal/JobJournal.h"

#include "app/Program.h"
#include "journal/JournalFile.h"
#include "plan/TimeEstimate.h"
#include "run/LiveProgress.h"

#include <algorithm>

namespace zuk {

namespace {

JournalOutcome outcomeOfRun(std::optional<RunOutcome> outcome) {
    switch (outcome.value_or(RunOutcome::StoppedAndKept)) {
    case RunOutcome::Finished:
        return JournalOutcome::Finished;
    case RunOutcome::FaultStop:
        return JournalOutcome::FaultStop;
    case RunOutcome::EndedWithoutDevice:
        return JournalOutcome::EndedWithoutDevice;
    case RunOutcome::PlanFault:
        return JournalOutcome::PlanFault;
    case RunOutcome::StoppedAndKept:
        break;
    }
    return JournalOutcome::StoppedAndKept;
}

// The record of the job under way as it ends; `figures` are the run's, none before a run.
JournalRecord recordOf(const Program& program, const JobJournal::OpenJob& open,
                       JournalOutcome outcome, const JobEndFigures* figures) {
    JournalRecord record;
    record.start = open.start;
    record.kind = open.kind;
    record.estimateMs = open.estimateMs;
    record.planLines = open.planLines;
    record.durationMs = program.clock.monotonicMs() - open.startMs;
    record.outcome = outcome;
    if (open.described) {
        const Job& job = program.job;
        record.pictureFile = job.pictureFile;
        record.offset = job.offset;
        record.density = job.choices.resolutionIndex;
        record.singleSided = job.choices.singleSided;
        record.portrait = job.choices.portrait;
        record.secondPass = job.choices.secondPass;
        record.first = job.choices.first;
        if (record.secondPass)
            record.second = job.choices.second;
    }
    if (figures) {
        record.planLines = std::max(record.planLines, figures->progress.linesTotal);
        record.linesDone = figures->progress.linesDone;
        record.strikes = figures->strikesByCode;
    }
    return record;
}

void appendRecordOf(Program& program, JournalOutcome outcome, const JobEndFigures* figures) {
    JobJournal& journal = program.journal;
    if (!journal.enabled || !journal.open)
        return;
    const JournalRecord record = recordOf(program, *journal.open, outcome, figures);
    journal.open.reset();
    const FileResult written = appendJournalRecord(program.dir.path(kJournalFileName), record);
    if (written.ok() || journal.failureShown)
        return;
    journal.failureShown = true;
    program.screen.showMessage(MessageKind::Warning,
                               written.error +
                                   QStringLiteral("\nЖурнал работ не пополнен; на работу это не "
                                                  "влияет. Об этом сообщается один раз."));
}

// The job under way, to be filled in; none when no job is under way.
// cppcheck-suppress constParameter ; the callers change the job through the pointer
JobJournal::OpenJob* openJob(Program& program) {
    return program.journal.open ? &*program.journal.open : nullptr;
}

// "1 работа", "3 работы", "5 работ".
QString jobsText(qsizetype count) {
    const qsizetype lastTwo = count % 100;
    const qsizetype last = count % 10;
    const char* word = "работ";
    if (last == 1 && lastTwo != 11)
        word = "работа";
    else if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14))
        word = "работы";
    return QStringLiteral("%1 %2").arg(count).arg(QString::fromUtf8(word));
}

} // namespace

void journalJobBegun(Program& program, JournalKind kind) {
    JobJournal::OpenJob open;
    open.kind = kind;
    open.start = program.clock.now();
    open.startMs = program.clock.monotonicMs();
    program.journal.open = open;
}

void journalJobDescribed(Program& program) {
    if (JobJournal::OpenJob* open = openJob(program))
        open->described = true;
}

void journalJobEstimated(Program& program, qint64 estimate, qint64 planLines) {
    if (JobJournal::OpenJob* open = openJob(program)) {
        open->estimateMs = estimate / kTimeUnitsPerMillisecond;
        open->planLines = planLines;
    }
}

void journalJobEnded(Program& program, const JobEndFigures& figures) {
    appendRecordOf(program, outcomeOfRun(program.job.outcome), &figures);
}

void journalJobEndedBeforeRun(Program& program, JournalOutcome outcome) {
    appendRecordOf(program, outcome, nullptr);
}

std::vector<JournalDay> journalByDay(std::vector<JournalRecord> records) {
    std::stable_sort(
        records.begin(), records.end(),
        [](const JournalRecord& a, const JournalRecord& b) { return a.start > b.start; });
    std::vector<JournalDay> days;
    for (JournalRecord& record : records) {
        if (days.empty() || days.back().date != record.start.date())
            days.push_back(JournalDay{record.start.date(), 0, {}});
        days.back().machineMs += record.durationMs;
        days.back().records.push_back(std::move(record));
    }
    return days;
}

std::vector<JournalDay> loadJournal(Program& program) {
    const QString path = program.dir.path(kJournalFileName);
    JournalRead read = readJournal(path);
    if (!read.error.isEmpty())
        program.screen.showMessage(MessageKind::Error, read.error);
    else if (!read.damagedLines.isEmpty())
        program.screen.showMessage(MessageKind::Warning,
                                   damagedLinesMessage(path, read.damagedLines));
    return journalByDay(std::move(read.records));
}

QString journalDayTitle(const JournalDay& day) {
    return QStringLiteral("%1: %2, машинное время %3")
        .arg(day.date.toString(QStringLiteral("dd.MM.yyyy")), jobsText(day.records.size()),
             journalDurationText(day.machineMs));
}

} // namespace zuk
