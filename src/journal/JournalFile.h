#pragma once

#include "app/ProgramDir.h"
#include "journal/JournalRecord.h"

#include <QByteArray>
#include <QList>

#include <vector>

namespace zuk {

// The journal of jobs in the program directory.
inline const QString kJournalFileName = QStringLiteral("Journal.csv");

// The journal is a CSV file made for spreadsheet programs as an operator opens it, by a
// double click, on a computer set up for Russian:
// - UTF-8 with a byte-order mark: without the mark such programs take the file for the
//   system's 8-bit code page and the Russian texts come out garbled; with it every one of
//   them reads UTF-8, and picture names in any script survive;
// - ";" between fields: the list separator where the comma is the decimal separator, so
//   the columns open split without an import dialog;
// - texts in double quotes (a quote inside doubled), numbers bare, so that a picture name
//   holding ";" stays one field and the numbers stay numbers;
// - the date as "dd.MM.yyyy HH:mm:ss" and durations as "H:MM:SS", which they read as a date
//   and as a time that can be summed;
// - CR LF line ends and a header line naming the columns.
// One line per record, appended whole in one write and forced to the disk, so a crash leaves
// at most one torn last line, which reading skips.

// The header line, without its line end.
QByteArray journalHeaderLine();
// The record as one line of the file, without its line end.
QByteArray journalLine(const JournalRecord& record);
// The record a line holds; nothing for a line that is not one (torn, damaged by hand, a
// header).
std::optional<JournalRecord> parseJournalLine(QByteArrayView line);

// Appends the record to the journal file at `path`, the mark and the header first when the
// file is new or empty, a line end first when a torn line ends it. Nothing else of the file is
// touched.
FileResult appendJournalRecord(const QString& path, const JournalRecord& record);

// The journal as read: its records in file order and the lines (counted from 1) that are not
// records and were skipped.
struct JournalRead {
    std::vector<JournalRecord> records;
    QList<qint64> damagedLines;
    bool missing = false;
    QString error;
};
JournalRead readJournal(const QString& path);

// The one message that tells the operator which lines of the journal were skipped; empty when
// none were.
QString damagedLinesMessage(const QString& path, const QList<qint64>& lines);

} // namespace zuk
