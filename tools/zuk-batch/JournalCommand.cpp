#include "JournalCommand.h"

#include "Arguments.h"

#include "app/ProgramDir.h"
#include "journal/JobJournal.h"
#include "journal/JournalFile.h"

#include <QDir>

namespace zuk::batch {

const char* const kJournalUsage = "journal [--dir DIR]";
const char* const kJournalDetails =
    "Every job, resumption and test-plate job that engrave, resume, test-plate or the window\n"
    "ran in the program directory DIR (default: the current one) has one record in its\n"
    "\"Journal.csv\", appended when the job ended. The journal is printed newest first: a line\n"
    "a day with the machine time of the day, then a line a job with the columns named in the\n"
    "first line. A damaged line is reported on the standard error and skipped; the file is\n"
    "never changed. Exit status: 0 printed (an empty journal too), 1 the file cannot be read,\n"
    "2 bad usage.";

namespace {

void printDays(const std::vector<JournalDay>& days, QTextStream& out) {
    const QString separator = QStringLiteral(" | ");
    out << "  " << journalColumnTitles().join(separator) << '\n';
    for (const JournalDay& day : days) {
        out << journalDayTitle(day) << '\n';
        for (const JournalRecord& record : day.records)
            out << "  " << journalRecordCells(record).join(separator) << '\n';
    }
    out.flush();
}

} // namespace

int runJournal(const QStringList& args, Streams streams) {
    QString directory = QDir::currentPath();
    ArgumentReader reader(args, "journal", streams.err);
    while (!reader.atEnd() && !reader.failed()) {
        if (!reader.option("dir", directory) && !reader.unknownOption())
            reader.mistake(QStringLiteral("unexpected argument \"%1\"").arg(reader.plain()));
    }
    if (reader.failed())
        return kExitUsage;
    const QString path = ProgramDir(directory).path(kJournalFileName);
    JournalRead read = readJournal(path);
    if (!read.error.isEmpty()) {
        streams.err << "zuk-batch: " << read.error << Qt::endl;
        return kExitFailed;
    }
    if (!read.damagedLines.isEmpty())
        streams.err << "zuk-batch: " << damagedLinesMessage(path, read.damagedLines) << Qt::endl;
    if (read.missing) {
        streams.out << "no journal of jobs in " << QDir::toNativeSeparators(directory) << Qt::endl;
        return kExitOk;
    }
    printDays(journalByDay(std::move(read.records)), streams.out);
    return kExitOk;
}

} // namespace zuk::batch
