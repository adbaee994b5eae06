// The engraving run in the main window: the run timer, STOP, the marks' repaint and the
// window's state at the end of a job.
#include "app/ui/FieldImage.h"
#include "app/ui/Windows.h"
#include "plan/PlanLine.h"
#include "run/EngravingRun.h"
#include "run/ProgressRecord.h"
#include "run/RecoveryFile.h"
#include "run/RunState.h"
#include "simulator/SimTransport.h"
#include "support/CommandTap.h"
#include "support/QuietMenuForm.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

class RunWindow : public ::testing::Test {
protected:
    RunWindow() {
        writeSimulatorConfiguration(dir.path(), 0, QSize(200, 200));
        windows = createWindows<QuietMenuForm>(
            clock,
            [this](const QString& name) -> std::unique_ptr<ByteTransport> {
                return sim::isBuiltInPortName(name) ? sim::openBuiltInEngraver(engraver, clock)
                                                    : nullptr;
            },
            dir.path());
    }
    QuietMenuForm& menu() { return static_cast<QuietMenuForm&>(*windows->menuForm); }
    // A four-line plan open for the run, its progress record begun, the run timer on.
    void prepareJob() {
        QFile plan(dir.filePath("123123123.txt"));
        ASSERT_TRUE(plan.open(QIODevice::WriteOnly));
        plan.write(goToLine(3, 4) + "\r\nDown: \r\nKnock: 43\r\nUp  : \r\n");
        plan.close();
        ASSERT_TRUE(program().job.plan.open(plan.fileName()));
        ASSERT_TRUE(beginJobProgress(program()).ok());
        program().timers.optimizing = true;
    }
    Program& program() { return menu().program(); }

    QTemporaryDir dir;
    VirtualClock clock;
    std::shared_ptr<sim::Engraver> engraver = sim::makeEngraver();
    std::unique_ptr<Windows> windows;
};

TEST_F(RunWindow, RunTimerTicksThePlanToItsEndAndTheWindowIsUsableAgain) {
    prepareJob();
    menu().offerUnfinishedJob(); // any handler lets the timers follow the program
    ASSERT_TRUE(menu().timer("Optimizing").isActive());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !program().timers.optimizing; }, 5000));
    EXPECT_EQ(engraver->plate().strikes().size(), 2u);
    EXPECT_FALSE(menu().timer("Optimizing").isActive());
    EXPECT_FALSE(menu().menuEntry(8)->isVisible());
    for (int pos : {0, 4, 6})
        EXPECT_TRUE(menu().menuEntry(pos)->isEnabled()) << pos;
    for (int pos : {2, 3})
        EXPECT_FALSE(menu().menuEntry(pos)->isEnabled()) << pos;
    EXPECT_TRUE(menu().messages.isEmpty()) << menu().messages.join('|').toStdString();
    // The marks reached the window: the cells' pixels are red in Image1.
    EXPECT_EQ(menu().fieldImage()->image().pixel(4 - 1 + 0, 3 - 1), 0xffff0000u);
    EXPECT_EQ(menu().fieldImage()->image().pixel(4 - 1 + 1, 3 - 1), 0xffff0000u);
}

TEST_F(RunWindow, ClosingDuringARunFinishesItOnTheDeviceAndKeepsTheJob) {
    prepareJob();
    ASSERT_TRUE(
        writeRecoveryFile(program().dir, jobRecoveryData(program()), RecoveryStage::JobStart).ok());
    optimizingTimer(program());
    menu().close();
    // Once each: the link flag the finish cleared keeps the shutdown from sending them again.
    EXPECT_EQ(engraver->counters().commandCount(sim::CommandKind::EndPrint), 1);
    EXPECT_EQ(engraver->counters().commandCount(sim::CommandKind::Off), 1);
    EXPECT_TRUE(QFile::exists(dir.filePath("ErorFile.txt")));
    EXPECT_EQ(readProgressRecord(program().dir).record.entries.at(0).line, 1);
}

TEST_F(RunWindow, StopPausesTheRunAndKeepsTheLayoutForTheAbortPanel) {
    program().timers.optimizing = true;
    menu().enterMenuState(MenuState::Work, true);
    menu().menuEntry(8)->trigger();
    EXPECT_FALSE(program().timers.optimizing);
    EXPECT_FALSE(menu().timer("Optimizing").isActive());
    EXPECT_TRUE(menu().lastAbortLayout().shown);

    menu().enterMenuState(MenuState::Work, false); // STOP hidden
    menu().STOPClick();
    EXPECT_FALSE(menu().lastAbortLayout().shown);
}

// While a handler waits for the device the window handles its events: STOP is taken and
// acknowledged at once and carried out when the handler returns; a click elsewhere waits for
// the handler to end.
TEST_F(RunWindow, InsideAHandlerStopIsTakenAtOnceAndOtherInputWaits) {
    menu().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu()));
    prepareJob();
    menu().enterMenuState(MenuState::Work, true);
    QMenuBar* bar = menu().menuBar();
    const QPoint help = bar->actionGeometry(menu().menuEntry(7)).center();
    bool taken = false;
    QTimer::singleShot(0, [&] {
        // Inside "Тест", between two reads of the device's answers.
        QTest::keyClick(&menu(), Qt::Key_Delete);
        QTest::mouseClick(bar, Qt::LeftButton, {}, help);
        taken = program().timers.optimizing && !menu().lastAbortLayout().shown &&
                QApplication::activePopupWidget() == nullptr &&
                menu().findChild<QLabel*>("RunProgress")->text().startsWith("STOP");
    });
    menu().N5Click();
    EXPECT_TRUE(taken);
    EXPECT_FALSE(program().timers.optimizing);
    EXPECT_TRUE(menu().lastAbortLayout().shown);
    // The held click opens the menu once the event loop runs again.
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    QApplication::activePopupWidget()->close();
}

TEST_F(RunWindow, ResumptionShowsStopButKeepsItDisabled) {
    menu().showStopEntry();
    EXPECT_TRUE(menu().menuEntry(8)->isVisible());
    EXPECT_FALSE(menu().menuEntry(8)->isEnabled());
}

TEST_F(RunWindow, MarksRepaintOnlyThePixelsTheyChange) {
    FieldImage& image = *menu().fieldImage();
    QImage view = image.image().copy();
    view.setPixel(5, 7, 0xffff0000);
    view.setPixel(9, 9, 0xff00ff00); // changed in the view, but not part of the repaint
    image.updatePart(view, QRect(5, 7, 1, 1));
    EXPECT_EQ(image.image().pixel(5, 7), 0xffff0000u);
    EXPECT_NE(image.image().pixel(9, 9), 0xff00ff00u);
}

} // namespace
} // namespace zuk::test
