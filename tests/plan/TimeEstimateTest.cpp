#include "plan/TimeEstimate.h"
#include "plan/PlanReader.h"
#include "support/RecordingScreen.h"

#include "app/Texts.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zuk {
namespace {

// Strike durations of the codes 1 to 4, all different so that a wrong index shows.
constexpr std::array<qint32, 4> kStrikes{1100, 2200, 3300, 4400};
constexpr qint32 kStep = 59;

EstimateInputs inputs() {
    EstimateInputs in; // link delay 400, step-time factor 12, motor parameter 1: k = 29.25
    in.stepDuration = kStep;
    in.strikeDurations = kStrikes;
    return in;
}

class TimeEstimateTest : public ::testing::Test {
protected:
    JobEstimate estimate(const QByteArray& plan, const EstimateInputs& in = inputs()) {
        QFile file(dir.filePath("123123123.txt"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(plan);
        file.close();
        EXPECT_TRUE(reader.open(file.fileName()));
        return estimate(in);
    }
    JobEstimate estimate(const EstimateInputs& in) {
        const JobEstimate result = estimateJob(reader, in);
        EXPECT_TRUE(result.ok()) << result.error.toStdString();
        return result;
    }

    QTemporaryDir dir;
    PlanReader reader;
};

const QByteArray kExample = "\r\n"
                            "GoTo:     10    20\r\n"
                            "Down: \r\n"
                            "Knock: 40\r\n"
                            "Up  : \r\n";

TEST_F(TimeEstimateTest, WorkedExampleWithKOf29Point25) {
    // 400 + trunc(29.25 × 10 × 2) = 985 and 400 + trunc(29.25 × 20) = 985 for the move, 400
    // for "Down: ", level 4 for the one digit left, 400 for "Up  : ".
    EXPECT_EQ(estimate(kExample).total, 985 + 985 + 400 + 4400 + 400);
    // The plan is left at its first line for the run.
    EXPECT_EQ(reader.linesRead(), 0);
    EXPECT_EQ(reader.next(), "");
    EXPECT_EQ(reader.next(), "GoTo:     10    20");
}

TEST_F(TimeEstimateTest, MovesCountFromThePreviousCellWithTheSmallerColumnPenalty) {
    // (0,0) → (0,10): 400 + 0 and 400 + 292; → (0,4): 400 + 0 and 2 × 400 + trunc(175.5).
    EXPECT_EQ(estimate("GoTo:      0    10\r\nGoTo:      0     4\r\n").total,
              400 + 400 + 292 + 400 + 800 + 175);
    // A smaller row costs one link delay: (10,0) → (4,0) is 400 + trunc(29.25 × 12) + 400.
    EXPECT_EQ(estimate("GoTo:     10     0\r\nGoTo:      4     0\r\n").total,
              (400 + 585 + 400) + (400 + 351 + 400));
}

TEST_F(TimeEstimateTest, StrikeRunsMoveThePreviousColumnByTheirDigitsWithoutTrailingZeros) {
    // "Knock: 01200" keeps "012": 3 cells right, so the "GoTo:" to column 3 is no move.
    EXPECT_EQ(estimate("GoTo:      0     0\r\nKnock: 01200\r\nGoTo:      0     3\r\n").total,
              800 + (kStep + 1100 + 2200) + 800);
    // "KBack: 3" is one cell left: back at column 0, the move to column 1 is one step right.
    EXPECT_EQ(estimate("GoTo:      0     1\r\nKBack: 3\r\nGoTo:      0     1\r\n").total,
              (400 + 400 + 29) + 3300 + (400 + 400 + 29));
    // A run of zeros only adds nothing and moves nothing.
    EXPECT_EQ(estimate("Knock: 0000\r\nKBack: \r\nKnock:\r\n").total, 0);
}

TEST_F(TimeEstimateTest, OffsetsPlaceEveryMoveOnTheWorkingField) {
    EstimateInputs in = inputs();
    in.rowOffset = 3;
    in.columnOffset = 7;
    // (0,0) → (13,27): 400 + trunc(29.25 × 26) = 1160 and 400 + trunc(29.25 × 27) = 1189.
    EXPECT_EQ(estimate("GoTo:     10    20\r\n", in).total, 1160 + 1189);
}

TEST_F(TimeEstimateTest, WithTheLinkDownOnlyNeedleLinesAndStrikesCount) {
    EstimateInputs in = inputs();
    in.linkActive = false;
    EXPECT_EQ(estimate(kExample, in).total, 400 + 4400 + 400);
}

TEST_F(TimeEstimateTest, TheSecondPassReplaysThePlanFromTheStart) {
    const QByteArray plan = "GoTo:      5     9\r\nDown: \r\nKBack: 4321\r\nUp  : \r\n"
                            "GoTo:      2     1\r\n";
    const qint64 once = estimate(plan).total;
    EstimateInputs in = inputs();
    in.secondPass = true;
    EXPECT_EQ(estimate(in).total, 2 * once);
    EXPECT_EQ(reader.linesRead(), 0);
}

TEST_F(TimeEstimateTest, LongMovesCountExactlyInSixtyFourBits) {
    EstimateInputs in = inputs();
    in.stepTimeFactor = 255;
    in.motorParameter60 = 255;
    // k = 65025 × 2.4375 = 158498.4375 exactly; 60000 row steps and 30000 columns.
    EXPECT_EQ(estimate("GoTo:  30000 30000\r\n", in).total,
              (400 + 9'509'906'250LL) + (400 + 4'754'953'125LL));
    EXPECT_EQ(stepTerm(in, 1), 158498);
}

TEST_F(TimeEstimateTest, AnEmptyPlanTakesNoTime) {
    EXPECT_EQ(estimate("").total, 0);
    EXPECT_EQ(durationText(0, QLocale::c()), "00:00:00");
}

TEST_F(TimeEstimateTest, ALineTheRunCannotExecuteStopsTheEstimateNamingIt) {
    for (const QByteArray& plan : {QByteArray("Down: \r\nGoTo:    abc    20\r\n"),
                                   QByteArray("Up  : \r\nKnock: 1250\r\n")}) {
        QFile file(dir.filePath("bad.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(plan);
        file.close();
        ASSERT_TRUE(reader.open(file.fileName()));
        const JobEstimate result = estimateJob(reader, inputs());
        EXPECT_FALSE(result.ok());
        EXPECT_TRUE(result.error.contains("bad.txt")) << result.error.toStdString();
        EXPECT_TRUE(result.error.contains("строка 2")) << result.error.toStdString();
    }
    reader.close();
    EXPECT_FALSE(estimateJob(reader, inputs()).ok());
}

constexpr qint64 hms(qint64 h, qint64 m, qint64 s, qint64 ms = 0) {
    return h * 360'000'000 + m * 6'000'000 + s * 100'000 + ms * 100;
}

TEST(TimeEstimateTexts, DurationsFromADayOnLetTheHoursRunPast23) {
    const QLocale c = QLocale::c();
    EXPECT_EQ(durationText(hms(2, 7, 9, 999) + 99, c), "02:07:09");
    EXPECT_EQ(durationText(hms(23, 59, 59, 999), c), "23:59:59");
    EXPECT_EQ(durationText(hms(24, 0, 0), c), "24:00:00");
    EXPECT_EQ(durationText(hms(31, 5, 12, 500), c), "31:05:12");
    EXPECT_EQ(durationText(hms(1000, 0, 1), c), "1000:00:01");
}

TEST(TimeEstimateTexts, TheEndTimeShowsItsDateOnlyWhenItIsNotToday) {
    const QLocale c = QLocale::c();
    const QDateTime now(QDate(2026, 1, 5), QTime(9, 0, 0));
    EXPECT_EQ(endTimeText(now, hms(2, 30, 15), c), "11:30:15");
    EXPECT_EQ(endTimeText(now, hms(14, 59, 59), c), "23:59:59");
    const QString tomorrow = endTimeText(now, hms(15, 0, 0), c);
    EXPECT_TRUE(tomorrow.endsWith(" 00:00:00")) << tomorrow.toStdString();
    EXPECT_TRUE(tomorrow.startsWith(c.toString(QDate(2026, 1, 6), QLocale::ShortFormat)));
    EXPECT_TRUE(endTimeText(now, hms(49, 0, 0), c)
                    .startsWith(c.toString(QDate(2026, 1, 7), QLocale::ShortFormat)));
    // The system's format is followed; a Russian one has no time zone in it either.
    EXPECT_EQ(endTimeText(now, hms(1, 0, 0), QLocale(QLocale::Russian)), "10:00:00");
}

TEST(TimeEstimateTexts, TheStatusBarGetsBothCaptionsWithTheirTimes) {
    test::RecordingScreen screen;
    Texts texts;
    const QDateTime now(QDate(2026, 1, 5), QTime(9, 0, 0));
    showJobEstimate(screen, texts, now, hms(31, 5, 12), QLocale::c());
    EXPECT_EQ(screen.jobDuration, "Длительность работы: 31:05:12");
    EXPECT_TRUE(screen.jobEndTime.startsWith("Время завершения работы: "));
    EXPECT_TRUE(screen.jobEndTime.endsWith(" 16:05:12")) << screen.jobEndTime.toStdString();

    texts.setLanguageLoaded(true);
    texts.setLanguageText(0, "Takes:");
    texts.setLanguageText(1, "Ends at:  ");
    showJobEstimate(screen, texts, now, hms(0, 0, 10), QLocale::c());
    EXPECT_EQ(screen.jobDuration, "Takes: 00:00:10");
    EXPECT_EQ(screen.jobEndTime, "Ends at: 09:00:10");
}

} // namespace
} // namespace zuk
