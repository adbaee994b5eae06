// The device side of the serial line goes away (zuk-devsim ends, as an unplugged adapter
// does) while the window idles after its start-up, after a job and in the middle of a run:
// the port is closed, the window shows the state without a device, the operator is told once,
// and a run ends in the fault stop with the job kept.
#include "app/PortOpener.h"
#include "app/ui/Windows.h"
#include "plan/PlanLine.h"
#include "simulator/Devsim.h"
#include "support/QuietMenuForm.h"
#include "support/StartedJob.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

class PortLoss : public ::testing::Test {
protected:
    void SetUp() override {
        const QString link = dir.filePath(QStringLiteral("ttyENGRAVER"));
        ASSERT_TRUE(devsim.start({"--link", link, "--speed", "100"}))
            << devsim.errors().toStdString();
        Settings settings;
        settings.portName = link;
        ASSERT_TRUE(saveConfiguration(ProgramDir(dir.path()), settings).ok());
        windows = createWindows<QuietMenuForm>(clock, systemTransports(clock), dir.path());
        ASSERT_TRUE(program().exchange.linkActive()) << menu().messages.join('|').toStdString();
    }
    QuietMenuForm& menu() { return static_cast<QuietMenuForm&>(*windows->menuForm); }
    Program& program() { return menu().program(); }

    // A job as the job start leaves it, its run timer followed by the window.
    void startJob(const std::vector<QByteArray>& plan) {
        JobSpec spec;
        spec.plan = plan;
        ASSERT_EQ(startJobAsTheJobStartDoes(program(), spec, planFileBytes(plan)), QString());
        menu().offerUnfinishedJob(); // any handler lets the timers follow the program
    }
    // The device side ends; true once the window has closed the port.
    bool unplug() {
        devsim.stop();
        return QTest::qWaitFor([this] { return !program().port.isOpen(); }, 10000);
    }
    // The port's loss told once, also a while later.
    void expectToldOnce() {
        QTest::qWait(200);
        const QStringList told = menu().messages.filter(QStringLiteral("закрыт: связь"));
        ASSERT_EQ(told.size(), 1) << menu().messages.join('|').toStdString();
        EXPECT_TRUE(told[0].contains(dir.filePath(QStringLiteral("ttyENGRAVER"))));
    }
    void expectNoDeviceState() {
        for (int position : {0, 4, 6})
            EXPECT_TRUE(menu().menuEntry(position)->isEnabled()) << position;
        for (int position : {2, 3})
            EXPECT_FALSE(menu().menuEntry(position)->isEnabled()) << position;
        EXPECT_FALSE(menu().timer("Timer4").isActive());
        EXPECT_FALSE(menu().timer("Optimizing").isActive());
        EXPECT_FALSE(program().exchange.linkActive());
    }
    bool jobKept() const {
        return QFile::exists(dir.filePath(QStringLiteral("ErorFile.txt"))) &&
               QFile::exists(dir.filePath(QStringLiteral("JobProgress.txt")));
    }

    QTemporaryDir dir;
    SystemClock clock;
    sim::test::Devsim devsim;
    std::unique_ptr<Windows> windows;
};

TEST_F(PortLoss, WhileIdleAfterTheStartUp) {
    ASSERT_TRUE(menu().timer("Timer4").isActive());
    ASSERT_TRUE(unplug());
    expectToldOnce();
    EXPECT_EQ(menu().messages.size(), 1);
    expectNoDeviceState();
}

TEST_F(PortLoss, AfterAJob) {
    startJob({goToLine(2, 2), kDownLine.toByteArray(), "Knock: 1", kUpLine.toByteArray()});
    ASSERT_TRUE(QTest::qWaitFor([this] { return !program().timers.optimizing; }, 10000));
    ASSERT_FALSE(jobKept()) << "the job ended normally";
    ASSERT_TRUE(unplug());
    expectToldOnce();
    EXPECT_EQ(menu().messages.size(), 1);
    expectNoDeviceState();
}

TEST_F(PortLoss, InTheMiddleOfARunItEndsInTheFaultStopWithTheJobKept) {
    std::vector<QByteArray> plan;
    for (int row = 1; row <= 400; ++row)
        plan.push_back(goToLine(row % 2 == 0 ? 2 : 40, 2));
    startJob(plan);
    ASSERT_TRUE(QTest::qWaitFor([this] { return program().job.plan.linesRead() >= 3; }, 10000));
    ASSERT_TRUE(unplug());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !program().timers.optimizing; }, 10000));
    expectToldOnce();
    EXPECT_EQ(menu().advices, 1);
    EXPECT_TRUE(jobKept());
    EXPECT_TRUE(program().unfinishedJob);
    EXPECT_FALSE(program().job.plan.isOpen());
    expectNoDeviceState();
}

} // namespace
} // namespace zuk::test
