// The journal file: records written and read back whole, damaged lines skipped and named
// without the file being touched, and the journal by day, newest first, as its window shows it.
#include "journal/JournalFile.h"
#include "journal/JobJournal.h"
#include "journal/ui/JournalWindow.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace zuk {
namespace {

JournalRecord sample(int minute, JournalOutcome outcome) {
    JournalRecord record;
    record.start = QDateTime(QDate(2026, 3, 1 + minute / 60), QTime(9, minute % 60, 5));
    record.pictureFile = QStringLiteral("/работы/плита \"№1\"; гранит.bmp");
    record.offset = {12, 340};
    record.density = 3;
    record.secondPass = minute % 2 == 1;
    record.first = {40, 30, 20, 10};
    if (record.secondPass)
        record.second = {60, 50, 36, 26};
    record.planLines = 1234;
    record.linesDone = 617;
    record.strikes = {1, 22, 333, 4444};
    record.estimateMs = minute % 2 == 0 ? std::optional<qint64>(90061000) : std::nullopt;
    record.durationMs = 3723000;
    record.kind = minute % 3 == 0 ? JournalKind::Resumption : JournalKind::Job;
    record.outcome = outcome;
    return record;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void appendRaw(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(bytes);
}

TEST(JournalFile, RecordsReadBackWholeAndDamagedLinesAreSkippedAndNamedWithoutATouch) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(kJournalFileName);
    const JournalRecord first = sample(0, JournalOutcome::Finished);
    ASSERT_TRUE(appendJournalRecord(path, first).ok());
    // For spreadsheet programs: the byte-order mark, the header, CR LF.
    EXPECT_TRUE(fileBytes(path).startsWith("\xEF\xBB\xBF" + journalHeaderLine() + "\r\n"));

    const QByteArray good = journalLine(sample(1, JournalOutcome::Withdrawn));
    const std::vector<QByteArray> damaged{
        good.left(good.size() - 1), // a quote left open
        good + ";7",                // a field too many
        QByteArray(good).replace("Отменена", "Отмена"),
        QByteArray(good).replace(";1234;", ";12x4;"),
        QByteArray(good).replace("01.03.2026", "31.02.2026"),
        QByteArray(good).replace(";2;", ";3;"),
        QByteArray(good).replace("\"Работа\"", "\"Работа\xff\""),
        "hand-written note",
    };
    std::vector<JournalRecord> expected{first};
    QList<qint64> expectedDamaged;
    qint64 line = 3; // the header, then the first record
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE(damaged[i].toStdString());
        appendRaw(path, damaged[i] + "\r\n");
        expectedDamaged << line++;
        const JournalRecord next = sample(int(i) + 1, JournalOutcome(int(i) % 8));
        const QByteArray before = fileBytes(path);
        ASSERT_TRUE(appendJournalRecord(path, next).ok());
        EXPECT_TRUE(fileBytes(path).startsWith(before));
        expected.push_back(next);
        ++line;
    }
    // A torn last line: the next record starts a line of its own.
    appendRaw(path, good.left(good.size() / 2));
    expectedDamaged << line;
    const JournalRecord last = sample(61, JournalOutcome::ResumptionFailed);
    ASSERT_TRUE(appendJournalRecord(path, last).ok());
    expected.push_back(last);

    const JournalRead read = readJournal(path);
    EXPECT_EQ(read.records, expected);
    EXPECT_EQ(read.damagedLines, expectedDamaged);
    EXPECT_TRUE(
        damagedLinesMessage(path, read.damagedLines).contains(QStringLiteral("строки 3, 5, ")));
}

TEST(JournalFile, TheJournalByDayIsNewestFirstWithEachDaysMachineTimeAndSoIsTheWindow) {
    std::vector<JournalRecord> records;
    for (int minute : {0, 70, 5, 61})
        records.push_back(sample(minute, JournalOutcome::Finished));
    records[1].durationMs = 1000;
    const std::vector<JournalDay> days = journalByDay(records);
    ASSERT_EQ(days.size(), 2u);
    EXPECT_EQ(days[0].date, QDate(2026, 3, 2));
    EXPECT_EQ(days[0].machineMs, 3723000 + 1000);
    ASSERT_EQ(days[0].records.size(), 2u);
    EXPECT_EQ(days[0].records[0].start.time(), QTime(9, 10, 5));
    EXPECT_EQ(days[1].records[0].start.time(), QTime(9, 5, 5));
    EXPECT_EQ(journalDayTitle(days[1]),
              QStringLiteral("01.03.2026: 2 работы, машинное время 2:04:06"));

    // The window lists the days as they come, each over its jobs.
    const JournalWindow window(days);
    const QTreeWidget& list = *window.list();
    ASSERT_EQ(list.topLevelItemCount(), 2);
    EXPECT_EQ(list.topLevelItem(0)->text(0), journalDayTitle(days[0]));
    ASSERT_EQ(list.topLevelItem(1)->childCount(), 2);
    EXPECT_EQ(list.topLevelItem(1)->child(1)->text(0), QStringLiteral("09:00:05"));
    EXPECT_EQ(list.topLevelItem(1)->child(1)->text(3), QStringLiteral("Завершена"));
}

} // namespace
} // namespace zuk
