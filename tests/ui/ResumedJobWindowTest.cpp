// A job kept by "Завершить работу" and finished at the next start, in the main window: the
// status bar's times are those of the rest of the job, and the view shows where the head
// goes on and follows it while the operator watches.
#include "app/ui/FieldImage.h"
#include "app/ui/Windows.h"
#include "run/EngravingRun.h"
#include "run/StrikeMarks.h"
#include "simulator/SimTransport.h"
#include "support/CommandTap.h"
#include "support/JobPictures.h"
#include "support/QuietMenuForm.h"

#include <QAction>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

// The operator finishes the unfinished job without a warm-up.
class ResumingMenuForm : public AnsweringMenuForm {
public:
    using AnsweringMenuForm::AnsweringMenuForm;
    RecoveryChoice askRecoveryChoice() override { return {true, 0}; }
};

class ResumedJobWindow : public ::testing::Test {
protected:
    ResumedJobWindow() { writeSimulatorConfiguration(dir.path()); }
    template <typename Form> std::unique_ptr<Windows> start() {
        return createWindows<Form>(clock, tappedEngraver(engraver, clock, traffic), dir.path());
    }
    // Where the device's head is, as a pixel of the view.
    QPoint head() const {
        const auto& machine = engraver->machine();
        return viewPixelOfCell(FieldCell{machine.head.rowSteps / 2, machine.head.column});
    }
    static bool inSight(TMenuForm& menu, QPoint pixel) {
        const QRect visible(-menu.fieldImage()->pos(), menu.scrollBox1()->viewport()->size());
        return visible.contains(pixel);
    }

    QTemporaryDir dir;
    VirtualClock clock;
    std::shared_ptr<sim::Engraver> engraver = sim::makeEngraver();
    QStringList traffic;
};

TEST_F(ResumedJobWindow, TheTimesAreTheRestsAndTheViewFollowsTheHead) {
    {
        auto windows = start<AnsweringMenuForm>();
        auto& menu = static_cast<AnsweringMenuForm&>(*windows->menuForm);
        menu.picture = dir.filePath("picture.bmp");
        ASSERT_TRUE(gradientPicture(QSize(40, 20)).save(menu.picture, "BMP"));
        menu.placementButton = 9; // "Right Bottom": far from the field's origin
        menu.findAction("Open")->trigger();
        menu.findAction("Print1")->trigger();
        menu.Button17Click();
        for (int line = 0; line < 30; ++line)
            optimizingTimer(menu.program());
        menu.STOPClick();
        menu.Button28Click(); // "Завершить работу": the job is kept
        ASSERT_TRUE(menu.program().unfinishedJob) << menu.messages.join('|').toStdString();
    }

    auto windows = start<ResumingMenuForm>();
    auto& menu = static_cast<ResumingMenuForm&>(*windows->menuForm);
    // The test steps the resumption itself: the window's 10-ms timer must not take it while the
    // window is being shown.
    menu.timer("CrushTimer").stop();
    menu.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    auto* endTime = menu.findChild<QLabel*>("Label35");
    auto* duration = menu.findChild<QLabel*>("Label37");
    EXPECT_EQ(endTime->text(), "Время завершения работы:");
    ASSERT_TRUE(menu.program().timers.crush);
    const QPoint stopped = head();
    EXPECT_FALSE(inSight(menu, stopped));
    menu.CrushTimerTimer();
    ASSERT_TRUE(menu.program().timers.optimizing) << menu.messages.join('|').toStdString();
    EXPECT_TRUE(endTime->text().startsWith("Время завершения работы: "))
        << endTime->text().toStdString();
    EXPECT_GT(endTime->text().size(), QString("Время завершения работы: ").size());
    EXPECT_TRUE(duration->text().startsWith("Длительность работы: "))
        << duration->text().toStdString();
    EXPECT_NE(duration->text(), "Длительность работы: 00:00:00");
    EXPECT_TRUE(inSight(menu, stopped));

    // The view keeps the head in sight as it engraves...
    for (int line = 0; line < 40; ++line)
        optimizingTimer(menu.program());
    EXPECT_TRUE(inSight(menu, head()));
    // ...until the operator scrolls away from it.
    menu.scrollBox1()->horizontalScrollBar()->setValue(0);
    menu.scrollBox1()->verticalScrollBar()->setValue(0);
    for (int line = 0; line < 20; ++line)
        optimizingTimer(menu.program());
    EXPECT_EQ(menu.scrollBox1()->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(menu.messages.isEmpty()) << menu.messages.join('|').toStdString();
}

} // namespace
} // namespace zuk::test
