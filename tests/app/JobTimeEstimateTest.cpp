#include "app/ProgramFixture.h"

#include "plan/JobTimeEstimate.h"
#include "plan/TimeEstimate.h"

#include <QFile>

namespace zuk::test {
namespace {

class JobTimeEstimateTest : public ProgramFixture {
protected:
    void openPlan(const QByteArray& text) {
        QFile file(dir.filePath("123123123.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        ASSERT_TRUE(program.job.plan.open(file.fileName()));
    }
};

const QByteArray kPlan = "GoTo:     10    20\r\nDown: \r\nUp  : \r\n";

TEST_F(JobTimeEstimateTest, MeasuresTheLinkAndCountsThePlacedPlanOncePerPass) {
    answerCommands(105);
    program.formCreate();
    answerCommands(2 * 101);
    line.takeWritten();
    program.job.offset = QPoint(7, 3); // columns, rows
    program.job.choices.secondPass = true;
    openPlan(kPlan);
    screen.clear();

    const std::optional<qint64> estimate = estimateJobTime(program);
    ASSERT_TRUE(estimate);
    EXPECT_EQ(line.takeWritten().size(), 101 * 6); // the link timing measurement
    // The start-up gave the motors' 0x60 the value 16, so k = 12 × 16 × 0.024375 × 100 = 468:
    // (0,0) → (13,27) costs L + 468 × 26 and L + 468 × 27, then L for each needle line;
    // twice for the second pass.
    ASSERT_EQ(program.commands.motorParameter60, 16);
    const qint64 l = program.commands.linkDelayMs;
    const qint64 total = 2 * (4 * l + 468 * 26 + 468 * 27);
    EXPECT_EQ(*estimate, total);
    EXPECT_EQ(screen.jobDuration, "Длительность работы: " + durationText(total, QLocale::system()));
    EXPECT_TRUE(screen.jobEndTime.startsWith("Время завершения работы: "));
    EXPECT_EQ(program.job.plan.next(), "GoTo:     10    20");
}

TEST_F(JobTimeEstimateTest, WithoutTheLinkNothingIsSentAndOnlyNeedleLinesCount) {
    program.exchange.setLinkActive(false);
    openPlan(kPlan);
    EXPECT_EQ(estimateJobTime(program), std::optional<qint64>(800));
    EXPECT_TRUE(line.writtenBytes().isEmpty());
    EXPECT_EQ(program.commands.linkDelayMs, 400);
    EXPECT_EQ(screen.jobDuration, "Длительность работы: " + durationText(800, QLocale::system()));
}

TEST_F(JobTimeEstimateTest, APlanThatIsNotOpenIsReportedAndTheStatusBarStays) {
    program.exchange.setLinkActive(false);
    EXPECT_FALSE(estimateJobTime(program));
    EXPECT_EQ(screen.messages.size(), 1);
    EXPECT_TRUE(screen.jobDuration.isEmpty());
}

} // namespace
} // namespace zuk::test
