#pragma once

#include "app/ProgramDir.h"
#include "plan/EngravingChoices.h"

#include <QString>
#include <QStringList>

namespace zuk {

inline const QString kRecoveryFileName = QStringLiteral("ErorFile.txt");
inline const QString kAboutTextsFileName = QStringLiteral("DopFile.txt");
// Line 14 of a recovery file written when the second pass started.
inline const QString kSecondPassMark = QStringLiteral("Sec");
inline constexpr int kRecoveryLineCount = 13;
inline constexpr int kAboutTextCount = 6;

// The running job as the recovery file records it.
struct RecoveryData {
    QString pictureFile;  // full path of the picture
    int columnOffset = 0; // placement on the working field
    int rowOffset = 0;
    StrikeLevels first;
    bool secondPass = false; // a second pass follows (or runs)
    StrikeLevels second;
    int resolutionIndex = 0; // 0..8, or -1 and 9 from the density dialog's odd choices
    // Line 14 as read ("Sec" when the file was written at the start of the second pass);
    // empty when the file has 13 lines.
    QString tail;

    bool secondPassStarted() const { return tail == kSecondPassMark; }
    bool operator==(const RecoveryData&) const = default;
};

// The file's part of a job's choices: the forces of both passes, the second pass and the
// density line.
void recordChoices(RecoveryData& data, const EngravingChoices& choices);
// The choices as the file recorded them; the rest of `choices` stays as it is.
void restoreChoices(const RecoveryData& data, EngravingChoices& choices);

// When the file is written.
enum class RecoveryStage {
    JobStart,        // 13 lines; line 8 from the second-pass flag
    SecondPassStart, // 14 lines; line 8 "1", line 14 "Sec"
};

// The first three lines, read at start-up.
struct RecoveryHeader {
    QString pictureFile;
    int columnOffset = 0;
    int rowOffset = 0;
};

enum class RecoveryStatus {
    Ok,
    Missing,    // no recovery file: no job pending
    Unreadable, // the file exists but cannot be opened or read
    Damaged,    // too few lines, or a line that is not the number it must be
};

template <typename Data> struct RecoveryRead {
    RecoveryStatus status = RecoveryStatus::Ok;
    QString error; // what is wrong, for the operator; empty when status is Ok or Missing
    Data data;

    bool ok() const { return status == RecoveryStatus::Ok; }
};

// The lines of the file (13 or 14 by the stage).
QStringList recoveryLines(const RecoveryData& data, RecoveryStage stage);
// Reads lines as written by recoveryLines(); checks every number and its range.
RecoveryRead<RecoveryData> parseRecoveryLines(const QStringList& lines);

// Replaces the recovery file, never leaving a half-written one.
FileResult writeRecoveryFile(const ProgramDir& dir, const RecoveryData& data, RecoveryStage stage);
// Start-up: picture file name and placement offsets.
RecoveryRead<RecoveryHeader> readRecoveryHeader(const ProgramDir& dir);
// Resumption: everything the file holds.
RecoveryRead<RecoveryData> readRecoveryFile(const ProgramDir& dir);
bool recoveryFileExists(const ProgramDir& dir);
FileResult removeRecoveryFile(const ProgramDir& dir);

// Where a damaged recovery file went: the name it is kept under in the program directory
// for inspection, or why it could not be moved.
struct RecoverySetAside {
    QString keptAs;
    FileResult result;
};
// Moves a damaged recovery file out of the way, so that the next start does not find it
// again, under "ErorFile.damaged.txt" (or "ErorFile.damaged-2.txt" and so on, never
// replacing one kept earlier).
RecoverySetAside setDamagedRecoveryFileAside(const ProgramDir& dir);

// The about box's replacement texts: up to the first six lines of "DopFile.txt" (version
// line, then the distributor's contact lines). An empty list when the file is missing or
// cannot be read; the about box then keeps its own texts.
QStringList readAboutTexts(const ProgramDir& dir);

} // namespace zuk
