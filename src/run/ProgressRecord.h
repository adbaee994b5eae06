#pragma once

#include "app/ProgramDir.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace zuk {

// The progress record: beside the recovery file, how many lines of which plan the running
// pass has completed. The recovery file says which job runs; the record says exactly how far
// it got, so that a resumed job neither strikes a cell twice nor misses one.
inline const QString kProgressFileName = QStringLiteral("JobProgress.txt");

// What tells one plan file from another: its size and a digest of its bytes. A line number
// counted in a plan applies only to a plan with the same identity.
struct PlanIdentity {
    qint64 size = 0;
    QByteArray digest; // SHA-256 of the file's bytes, hexadecimal

    bool operator==(const PlanIdentity&) const = default;
};

struct PlanIdentityRead {
    std::optional<PlanIdentity> identity;
    QString error; // names the file when it cannot be read
};
PlanIdentityRead identifyPlanFile(const QString& path);

// How far one pass got in one plan.
struct ProgressEntry {
    // The pass has not begun: the device has not yet been homed for it, so nothing of it was
    // struck and the head's position says nothing about it.
    static constexpr qint64 kNotStarted = -1;

    int pass = 1; // 1 the first pass, 2 the second
    // The number of plan lines (counted from 1) whose commands all completed; 0 once the
    // device has been homed and told "Begin print" for this pass.
    qint64 line = kNotStarted;
    QString planName; // the plan file the lines count in
    PlanIdentity plan;

    bool operator==(const ProgressEntry&) const = default;
};

// The record as stored. It holds one entry while a pass runs; while the job moves from one
// plan to the next (second pass start, plan rebuild) it holds the new entry and the old one,
// so that whichever plan a crash leaves in force, an entry applies to it.
struct ProgressRecord {
    std::vector<ProgressEntry> entries;

    // The first entry for this pass and plan; nothing when none applies.
    std::optional<ProgressEntry> find(int pass, const PlanIdentity& plan) const;
    bool operator==(const ProgressRecord&) const = default;
};

QByteArray progressRecordBytes(const ProgressRecord& record);
// Nothing when the bytes are not a whole record (a damaged or foreign file).
std::optional<ProgressRecord> parseProgressRecord(const QByteArray& bytes);

enum class ProgressStatus { Ok, Missing, Damaged };
struct ProgressRead {
    ProgressStatus status = ProgressStatus::Missing;
    ProgressRecord record;
};
ProgressRead readProgressRecord(const ProgramDir& dir);
FileResult removeProgressRecord(const ProgramDir& dir);

// How a record is written. Both replace the file in one atomic rename, so a crash of the
// program at any instant leaves the old record or the new one. Durable also forces the
// bytes to the disk first, so that they survive a crash of the computer.
enum class Durability { Fast, Durable };
FileResult writeProgressRecord(const QString& path, const ProgressRecord& record,
                               Durability durability);

// The run's side of the record. It keeps the entry of the pass that runs, stores it after
// every completed plan line through a fast write, and makes it durable at least once a
// second of the program's clock and at every change of pass or plan.
class ProgressRecorder {
public:
    static constexpr qint64 kDurableIntervalMs = 1000;

    // Starts recording: the first entry is the pass that runs from now on; any further
    // entries stay in the file until the next write. Written durably.
    FileResult begin(const ProgramDir& dir, ProgressRecord record, qint64 nowMs);
    bool active() const { return active_; }
    const ProgressEntry& current() const { return current_; }
    // Everything stored so far has been forced to the disk.
    bool onDisk() const { return !dirty_; }

    // The device has been homed and told "Begin print" for the pass: line 0, written durably.
    FileResult markBegun(qint64 nowMs);
    // The lines up to `line` of the running pass have completed.
    FileResult lineCompleted(qint64 line, qint64 nowMs);
    // Writes durably what has not yet reached the disk.
    FileResult flush(qint64 nowMs);
    // The job is over: the record goes.
    FileResult remove();

private:
    FileResult store(const ProgressRecord& record, Durability durability, qint64 nowMs);

    QString path_;
    ProgramDir dir_;
    ProgressEntry current_;
    bool active_ = false;
    bool dirty_ = false;
    qint64 lastDurableMs_ = 0;
};

} // namespace zuk
