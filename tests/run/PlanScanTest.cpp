// Where an interrupted plan is cut, and the plan that is rebuilt from the cut.
#include "files/TempProgramDir.h"

#include "plan/PlanLine.h"
#include "run/PlanRebuild.h"
#include "run/PlanScan.h"

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

const QPoint kOffsets{3, 5}; // column offset, row offset

class PlanScan : public ::testing::Test {
protected:
    void write(const QList<QByteArray>& lines) {
        QByteArray bytes;
        for (const QByteArray& line : lines)
            bytes += line + "\r\n";
        temp.put(QStringLiteral("plan.txt"), bytes);
    }
    PlanCut exact(StoppedPosition stop, qint64 recordedLine) {
        PlanReader plan;
        EXPECT_TRUE(plan.open(temp.filePath(QStringLiteral("plan.txt"))));
        return cutAfterRecordedLine(plan, kOffsets, stop, recordedLine);
    }
    PlanCut firstMatch(StoppedPosition stop) {
        PlanReader plan;
        EXPECT_TRUE(plan.open(temp.filePath(QStringLiteral("plan.txt"))));
        return cutAtFirstMatch(plan, kOffsets, stop);
    }
    QStringList rebuilt(const PlanCut& cut) {
        EXPECT_TRUE(writeRebuiltPlan(temp.dir(), temp.filePath(QStringLiteral("plan.txt")), cut)
                        .result.ok());
        return QString::fromLatin1(temp.bytes(QStringLiteral("1.txt")))
            .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }

    TempProgramDir temp;
};

// Field row 9 is plan row 4; field column c is plan column c - 3.
TEST_F(PlanScan, ThreeCellsIntoAKnockLineClearsTheirDigitsAndRebuildsFromTheLinesStart) {
    write({"", goToLine(4, 6), "Down: ", "Knock: 12345678", "Up  : "});
    const StoppedPosition stop{9, 9 + 3};
    for (const PlanCut& cut : {exact(stop, 3), firstMatch(stop)}) {
        ASSERT_EQ(cut.kind, PlanCut::Kind::AtLine);
        EXPECT_EQ(cut.line, 4);
        EXPECT_EQ(cut.cutText, "Knock: 00045678");
        EXPECT_EQ(cut.start, (PlanCell{4, 6}));
    }
    EXPECT_EQ(rebuilt(exact(stop, 3)),
              (QStringList{"GoTo:      4     6", "Down: ", "Knock: 00045678", "Up  : "}));
}

TEST_F(PlanScan, BackwardLineCountsItsPassedCellsFromItsRightEnd) {
    write({goToLine(4, 20), "KBack: 11112222"});
    const PlanCut cut = exact({9, 23 - 5}, 1);
    ASSERT_EQ(cut.kind, PlanCut::Kind::AtLine);
    EXPECT_EQ(cut.cutText, "KBack: 00000222");
    EXPECT_EQ(cut.start, (PlanCell{4, 20}));
}

// Line 4 strikes row 4 from column 2 to 9; line 10 crosses row 4 again from column 9 to 6.
const QList<QByteArray> kRevisitingPlan{"",       goToLine(4, 2), "Down: ", "Knock: 11111111",
                                        "Up  : ", goToLine(2, 5), "Down: ", "Knock: 2222",
                                        "Up  : ", goToLine(4, 6), "Down: ", "Knock: 3333",
                                        "Up  : "};

TEST_F(PlanScan, RecordedLineDecidesWhichVisitOfTheStoppedCellIsTheStop) {
    write(kRevisitingPlan);
    const StoppedPosition stop{9, 6 + 3};
    const PlanCut first = firstMatch(stop);
    ASSERT_EQ(first.kind, PlanCut::Kind::AtLine);
    EXPECT_EQ(first.line, 4) << "without a record the first visit is taken";

    // Nine lines done: the head was on its way back along row 4 (line 10).
    const PlanCut cut = exact(stop, 9);
    ASSERT_EQ(cut.kind, PlanCut::Kind::AtLine);
    EXPECT_EQ(cut.line, 10);
    EXPECT_EQ(cut.cutText, goToLine(4, 6));
    EXPECT_EQ(cut.start, (PlanCell{2, 9})) << "where line 10 began";
    // Three lines done: it stopped in line 4, four cells in.
    const PlanCut early = exact(stop, 3);
    EXPECT_EQ(early.line, 4);
    EXPECT_EQ(early.cutText, "Knock: 00001111");
    // A record that lags behind (the last writes never reached the disk) still cuts at a
    // line after it that holds the stop.
    EXPECT_EQ(exact({7, 8 + 3}, 2).line, 6);
    EXPECT_EQ(exact({7, 8 + 3}, 7).line, 8);
}

TEST_F(PlanScan, MoveDownwardsHoldsItsOvershootButNotBeyond) {
    // From field row 9 down to row 7: the head goes down to row 3 at column 13, climbs back
    // to row 7 and then moves left to column 8.
    write({goToLine(4, 2), "Knock: 11111111", goToLine(2, 5), "Up  : "});
    EXPECT_EQ(exact({5 - 4 + 2, 10 + 3}, 2).line, 3);
    EXPECT_EQ(exact({5 - 4 + 1, 10 + 3}, 2).kind, PlanCut::Kind::NotFound);
    EXPECT_EQ(exact({7, 5 + 3}, 2).line, 3);
    EXPECT_EQ(exact({7, 4 + 3}, 2).kind, PlanCut::Kind::NotFound);
}

TEST_F(PlanScan, RowsBelowTheOriginAreFoundAsTheDeviceReportsThem) {
    // Field row 1 reached from row 6: the overshoot goes to row -3, which the device reports
    // from its 16-bit step count as (65536 - 6) / 2.
    write({goToLine(1, 1), goToLine(-4, 1), "Up  : "});
    const PlanCut cut = exact({(65536 - 6) / 2, 4}, 1);
    ASSERT_EQ(cut.kind, PlanCut::Kind::AtLine);
    EXPECT_EQ(cut.line, 2);
}

TEST_F(PlanScan, PassNotBegunKeepsEveryLineAndACompletedPassKeepsNone) {
    write(kRevisitingPlan);
    const PlanCut notBegun = exact({1234, 5678}, ProgressEntry::kNotStarted);
    EXPECT_EQ(notBegun.kind, PlanCut::Kind::FromLine);
    EXPECT_EQ(rebuilt(notBegun).size(), kRevisitingPlan.size() - 1) << "the empty line too";
    EXPECT_EQ(temp.bytes(QStringLiteral("1.txt")), temp.bytes(QStringLiteral("plan.txt")));

    const PlanCut done = exact({1234, 5678}, kRevisitingPlan.size());
    EXPECT_EQ(done.kind, PlanCut::Kind::FromLine);
    EXPECT_TRUE(rebuilt(done).isEmpty());

    // The emptied first plan of a resumed second-pass job: nothing is left whether or not the
    // pass had begun.
    write({});
    for (const qint64 recorded : {qint64(ProgressEntry::kNotStarted), qint64(0), qint64(3)}) {
        const PlanCut empty = exact({0, 0}, recorded);
        EXPECT_EQ(empty.kind, PlanCut::Kind::FromLine) << recorded;
        EXPECT_EQ(empty.line, 1) << recorded;
        EXPECT_TRUE(rebuilt(empty).isEmpty()) << recorded;
    }
}

TEST_F(PlanScan, StopOnNoPathAndUnreadableMovesAreReported) {
    write(kRevisitingPlan);
    EXPECT_EQ(exact({0, 0}, 2).kind, PlanCut::Kind::NotFound);
    EXPECT_EQ(firstMatch({200, 200}).kind, PlanCut::Kind::NotFound);

    write({"", goToLine(4, 2), "GoTo: xx"});
    const PlanCut damaged = exact({0, 0}, 2);
    EXPECT_EQ(damaged.kind, PlanCut::Kind::Failed);
    EXPECT_TRUE(damaged.error.contains(QStringLiteral("Строка 3"))) << damaged.error.toStdString();
    EXPECT_EQ(firstMatch({0, 0}).line, 1) << "the first line is at home";
}

TEST_F(PlanScan, RebuiltPlanIsInstalledUnderThePassesName) {
    temp.put(QStringLiteral("123123123.txt"), "first\r\n");
    temp.put(QStringLiteral("123sec.txt"), "second\r\n");
    temp.put(QStringLiteral("1.txt"), "rest\r\n");
    ASSERT_TRUE(installRebuiltPlan(temp.dir(), true).ok());
    EXPECT_EQ(temp.bytes(QStringLiteral("123123123.txt")), "");
    EXPECT_EQ(temp.bytes(QStringLiteral("123Sec.txt")), "rest\r\n");
    EXPECT_FALSE(temp.has(QStringLiteral("123sec.txt")));
    EXPECT_FALSE(temp.has(QStringLiteral("1.txt")));
    temp.put(QStringLiteral("1.txt"), "again\r\n");
    ASSERT_TRUE(installRebuiltPlan(temp.dir(), false).ok());
    EXPECT_EQ(temp.bytes(QStringLiteral("123123123.txt")), "again\r\n");
}

} // namespace
} // namespace zuk::test
