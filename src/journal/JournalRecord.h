#pragma once

#include "app/StrikeLevels.h"
#include "plan/PlanLine.h"

#include <QDateTime>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <optional>

namespace zuk {

// What a journal record is of: a job started with "Работа" (a test plate's small jobs are
// jobs too), or the resumption of an unfinished job.
enum class JournalKind { Job, Resumption };

// How the job of a record ended.
enum class JournalOutcome {
    Finished,       // the plate engraved (a resumption: the job resumed and finished)
    StoppedAndKept, // "Завершить работу" after STOP, or the window closed: the job kept
    FaultStop,      // the link failed: the job kept
    EndedWithoutDevice, // the plan ran with the link down: the job kept
    PlanFault,          // a plan line or file the run cannot carry out: the job kept
    NotBegunKept,       // a setting after the job's files failed: nothing struck, the job kept
    Withdrawn,          // the job start did not go ahead after all: nothing struck, no job left
    ResumptionFailed,   // the resumption could not go on: the job kept as it was
};

// One job as the journal records it when it has ended.
struct JournalRecord {
    QDateTime start;
    JournalKind kind = JournalKind::Job;
    QString pictureFile;
    QPoint offset;            // the placement: column and row of the picture's first dot
    int density = 0;          // the density line
    bool singleSided = false; // quality "Высокое"
    bool portrait = true;
    bool secondPass = false;
    StrikeLevels first;
    StrikeLevels second;  // only with the second pass
    qint64 planLines = 0; // plan lines of every pass of the run
    qint64 linesDone = 0;
    StrikeCounts strikes{}; // dots struck by strike code, as the run ran its lines
    std::optional<qint64> estimateMs;
    qint64 durationMs = 0; // from the job's start to its end, pauses included
    JournalOutcome outcome = JournalOutcome::Finished;

    qint64 strikesInAll() const;
    bool operator==(const JournalRecord&) const = default;
};

// What the journal calls the kind and the outcome: "Работа", "Продолжение"; "Завершена", …
QString journalKindText(JournalKind kind);
QString journalOutcomeText(JournalOutcome outcome);
std::optional<JournalKind> journalKindNamed(const QString& text);
std::optional<JournalOutcome> journalOutcomeNamed(const QString& text);

// A duration as "H:MM:SS", the hours running on past a day, as spreadsheet programs read a
// duration.
QString journalDurationText(qint64 ms);
std::optional<qint64> journalDurationMs(const QString& text);

// The record for the operator's eyes, one text a column of journalColumnTitles(): what the
// window's list and zuk-batch journal show.
QStringList journalColumnTitles();
QStringList journalRecordCells(const JournalRecord& record);

} // namespace zuk
