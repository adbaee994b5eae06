#pragma once

#include "journal/JournalRecord.h"

#include <QDateTime>

#include <optional>
#include <vector>

namespace zuk {

class Program;
struct JobEndFigures;

// The journal of the program's jobs ("Журнал работ"): the job under way from its start (or
// its resumption) to its end, when its record is appended to "Journal.csv" in the program
// directory. The job start, the resumption and the run's ends report to it through the calls
// below; whoever starts a job (the window, zuk-batch, a test plate) knows nothing of it. It
// writes nothing else and sends nothing: a journal that cannot be written is shown once as a
// warning and the job goes on as if there were none.
class JobJournal {
public:
    // The job under way.
    struct OpenJob {
        JournalKind kind = JournalKind::Job;
        QDateTime start;
        qint64 startMs = 0;
        // The program's Job holds this job's values (a resumption that failed before it read
        // the recovery file leaves them out).
        bool described = false;
        std::optional<qint64> estimateMs;
        qint64 planLines = 0;
    };

    // False for a program whose jobs are no jobs on the machine (the preview's).
    bool enabled = true;
    std::optional<OpenJob> open;
    // A failure to write the journal has been shown (once per run of the program).
    bool failureShown = false;
};

// A job start or a resumption has begun, now by the program's clock.
void journalJobBegun(Program& program, JournalKind kind);
// The program's Job now holds the values of the job under way.
void journalJobDescribed(Program& program);
// The job's estimate (10-µs units) and its plan lines in all its passes.
void journalJobEstimated(Program& program, qint64 estimate, qint64 planLines);
// The run has ended (Job::outcome says how) with these figures: the record is appended.
void journalJobEnded(Program& program, const JobEndFigures& figures);
// The job start or the resumption ended before a run: the record is appended.
void journalJobEndedBeforeRun(Program& program, JournalOutcome outcome);

// The journal of the program directory as read, newest first by day with the machine time of
// each day; a damaged line is reported once on the program's screen, and the file is left as
// it is.
struct JournalDay {
    QDate date;
    qint64 machineMs = 0;               // the durations of the day's records added up
    std::vector<JournalRecord> records; // newest first
};
std::vector<JournalDay> journalByDay(std::vector<JournalRecord> records);
std::vector<JournalDay> loadJournal(Program& program);

// "05.01.2026: 3 записи, машинное время 1:02:03".
QString journalDayTitle(const JournalDay& day);

} // namespace zuk
