// The progress record on disk: what it holds, how it is read back, how it is written.
#include "files/TempProgramDir.h"

#include "run/ProgressRecord.h"

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

PlanIdentity identityOf(TempProgramDir& temp, const QString& name, const QByteArray& bytes) {
    temp.put(name, bytes);
    const PlanIdentityRead read = identifyPlanFile(temp.filePath(name));
    EXPECT_TRUE(read.identity.has_value()) << read.error.toStdString();
    return read.identity.value_or(PlanIdentity{});
}

TEST(ProgressRecord, EntriesComeBackAsWrittenAndTheFirstMatchingOneApplies) {
    TempProgramDir temp;
    const PlanIdentity first = identityOf(temp, "123123123.txt", "GoTo:      1     1\r\n");
    const PlanIdentity copy = identityOf(temp, "123sec.txt", "GoTo:      1     1\r\n");
    const PlanIdentity rebuilt = identityOf(temp, "1.txt", "Up  : \r\n");
    EXPECT_EQ(first, copy) << "the second pass's copy holds the same lines";
    EXPECT_NE(first, rebuilt);
    EXPECT_EQ(first.size, 20);

    const ProgressRecord record{{ProgressEntry{2, ProgressEntry::kNotStarted, "123Sec.txt", copy},
                                 ProgressEntry{1, 57, "123123123.txt", first},
                                 ProgressEntry{1, 3, "123123123.txt", first}}};
    EXPECT_EQ(parseProgressRecord(progressRecordBytes(record)), std::optional(record));
    EXPECT_EQ(record.find(1, first)->line, 57);
    EXPECT_EQ(record.find(2, first)->line, ProgressEntry::kNotStarted);
    EXPECT_FALSE(record.find(1, rebuilt).has_value());
    EXPECT_FALSE(identifyPlanFile(temp.filePath("missing.txt")).identity.has_value());
}

TEST(ProgressRecord, AnythingButAWholeRecordIsDamaged) {
    const PlanIdentity plan{12, QByteArray(64, 'a')};
    const QByteArray whole =
        progressRecordBytes(ProgressRecord{{ProgressEntry{1, 4, "123123123.txt", plan}}});
    ASSERT_TRUE(parseProgressRecord(whole).has_value());
    for (qsizetype cut = 0; cut < whole.size(); ++cut)
        EXPECT_FALSE(parseProgressRecord(whole.left(cut)).has_value()) << cut;
    QByteArray changed = whole;
    changed.replace(" 4 ", " 5 ");
    EXPECT_FALSE(parseProgressRecord(changed).has_value()) << "the check line no longer fits";

    TempProgramDir temp;
    EXPECT_EQ(readProgressRecord(temp.dir()).status, ProgressStatus::Missing);
    temp.put("JobProgress.txt", changed);
    EXPECT_EQ(readProgressRecord(temp.dir()).status, ProgressStatus::Damaged);
}

TEST(ProgressRecord, AWriteCutShortLeavesTheOldRecordAndTheNextWriteStillWorks) {
    TempProgramDir temp;
    const PlanIdentity plan = identityOf(temp, "123123123.txt", "Up  : \r\n");
    ProgressRecorder recorder;
    ASSERT_TRUE(
        recorder.begin(temp.dir(), ProgressRecord{{ProgressEntry{1, 0, "123123123.txt", plan}}}, 0)
            .ok());
    ASSERT_TRUE(recorder.lineCompleted(7, 100).ok());
    // A crash in the middle of the next write: the scratch file half written.
    temp.put("JobProgress.txt.new", "ZUK job pro");
    EXPECT_EQ(readProgressRecord(temp.dir()).record.entries.at(0).line, 7);
    ASSERT_TRUE(recorder.lineCompleted(8, 200).ok());
    EXPECT_EQ(readProgressRecord(temp.dir()).record.entries.at(0).line, 8);
    ASSERT_TRUE(recorder.remove().ok());
    EXPECT_FALSE(temp.has("JobProgress.txt"));
}

TEST(ProgressRecord, ReachesTheDiskAtLeastOnceASecondAndAtEveryChangeOfPass) {
    TempProgramDir temp;
    const PlanIdentity plan = identityOf(temp, "123123123.txt", "Up  : \r\n");
    ProgressRecorder recorder;
    ASSERT_TRUE(recorder
                    .begin(temp.dir(),
                           ProgressRecord{{ProgressEntry{1, ProgressEntry::kNotStarted,
                                                         "123123123.txt", plan}}},
                           10000)
                    .ok());
    EXPECT_TRUE(recorder.onDisk());
    ASSERT_TRUE(recorder.markBegun(10100).ok());
    EXPECT_TRUE(recorder.onDisk());
    recorder.lineCompleted(1, 10400);
    recorder.lineCompleted(2, 11050);
    EXPECT_FALSE(recorder.onDisk()) << "lines within a second of the last forced write";
    recorder.lineCompleted(3, 11100);
    EXPECT_TRUE(recorder.onDisk());
    recorder.lineCompleted(4, 11200);
    EXPECT_FALSE(recorder.onDisk());
    ASSERT_TRUE(recorder.flush(11210).ok());
    EXPECT_TRUE(recorder.onDisk());
    EXPECT_EQ(readProgressRecord(temp.dir()).record.entries.at(0).line, 4);
}

} // namespace
} // namespace zuk::test
