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
    program.image.placement().offset = QPoint(7, 3); // columns, rows
    program.job.secondPass = true;
    openPlan(kPlan);
    screen.clear();

    ASSERT_TRUE(estimateJobTime(program));
    EXPECT_EQ(line.takeWritten().size(), 101 * 6); // the link timing measurement
    // (0,0) → (13,27) with k = 29.25: L + trunc(29.25 × 26) and L + trunc(29.25 × 27), then
    // L for each needle line; twice for the second pass.
    const qint64 l = program.commands.linkDelayMs;
    const qint64 total = 2 * (4 * l + 760 + 789);
    EXPECT_EQ(screen.jobDuration, "Длительность работы: " + durationText(total, QLocale::system()));
    EXPECT_TRUE(screen.jobEndTime.startsWith("Время завершения работы: "));
    EXPECT_EQ(program.job.plan.next(), "GoTo:     10    20");
}

TEST_F(JobTimeEstimateTest, WithoutTheLinkNothingIsSentAndOnlyNeedleLinesCount) {
    program.exchange.setLinkActive(false);
    openPlan(kPlan);
    ASSERT_TRUE(estimateJobTime(program));
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
