// "Пробная пластина" in the main window on the built-in engraver: the plate struck job after job
// through the window's own job start and timers; STOP with "Завершить работу" keeps the job and
// the dialog offers to go on from the next force once that job is no longer pending.
#include "support/PlateStrikes.h"
#include "support/SimulatedWindows.h"
#include "testplate/ui/TestPlateDialog.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

constexpr int kPatch = 6;

class TestPlateWindow : public ::testing::Test, protected SimulatedWindows {
protected:
    TestPlateWindow() : SimulatedWindows(0, QSize(300, 200)) {
        menu().findAction("TestPlate1")->trigger();
        dialog = menu().findChild<TestPlateDialog*>();
        EXPECT_NE(dialog, nullptr);
        for (auto [name, value] : {std::pair{"PlateFrom", 20}, std::pair{"PlateTo", 90},
                                   std::pair{"PlateStep", 10}, std::pair{"PlatePatch", kPatch}})
            dialog->findChild<QSpinBox*>(QLatin1String(name))->setValue(value);
    }
    void click(const char* name) { dialog->findChild<QPushButton*>(QLatin1String(name))->click(); }
    QString progress() const { return dialog->findChild<QLabel*>("PlateProgress")->text(); }

    TestPlateDialog* dialog = nullptr;
};

TEST_F(TestPlateWindow, StrikesEveryForceJobAfterJobThroughTheWindowsTimers) {
    click("PlateStart");
    ASSERT_TRUE(dialog->running()) << progress().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->running(); }, 60000));
    EXPECT_TRUE(progress().contains(QStringLiteral("готова"))) << progress().toStdString();
    EXPECT_TRUE(progress().contains(QStringLiteral("Работа 2 из 2"))) << progress().toStdString();
    expectPlate(strikesOf(engraver->plate()), {20, 90, 10}, kPatch);
    EXPECT_EQ(engraver->counters().violationCount, 0);
}

TEST_F(TestPlateWindow, AStoppedJobIsKeptAndTheRestGoesOnFromTheNextForce) {
    click("PlateStart");
    ASSERT_TRUE(QTest::qWaitFor([&] { return program().job.planLineCounter > 3; }, 10000));
    menu().STOPClick();
    menu().Button28Click(); // "Завершить работу"
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->running(); }, 10000));
    EXPECT_TRUE(program().unfinishedJob);
    EXPECT_EQ(dialog->continueFrom(), 60);
    // The kept job is not overwritten by the rest of the plate.
    click("PlateContinue");
    EXPECT_FALSE(dialog->running());
    EXPECT_TRUE(progress().contains(QStringLiteral("Сначала"))) << progress().toStdString();
    EXPECT_TRUE(program().unfinishedJob);
}

} // namespace
} // namespace zuk::test
