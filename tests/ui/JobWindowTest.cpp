// A job in the main window on the built-in engraver: open a picture, "Гравировка", the
// trackbars, "Работа", the run to its end; STOP with the abort panel in its three situations.
#include "app/CountText.h"
#include "app/ui/FieldImage.h"
#include "plan/ui/EngravingPanels.h"
#include "plan/ui/PrintReadyPanel.h"
#include "run/EngravingRun.h"
#include "run/RecoveryFile.h"
#include "run/StrikeMarks.h"
#include "run/ui/AbortPanel.h"
#include "support/JobPictures.h"
#include "support/SimulatedWindows.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

constexpr StrikeLevels kFirst{40, 30, 20, 10};
constexpr StrikeLevels kSecond{60, 50, 36, 26};

// The window with the picture dialogs answered as the operator answers them.
class JobWindow : public ::testing::Test, protected SimulatedWindows {
protected:
    JobWindow() : SimulatedWindows(0, QSize(200, 150)) {
        menu().picture = dir.filePath("picture.bmp");
        EXPECT_TRUE(gradientPicture(QSize(40, 20)).save(menu().picture, "BMP"));
        EXPECT_TRUE(menu().messages.isEmpty()) << menu().messages.join('|').toStdString();
        traffic.clear();
    }
    template <typename W> W* widget(const char* name) {
        W* found = menu().findChild<W*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    // Individual setting on a properties panel, then each trackbar moved.
    void setForces(const char* individual, std::array<const char*, 4> trackbars,
                   const StrikeLevels& forces) {
        widget<QRadioButton>(individual)->click();
        const std::array<int, 4> values{forces.level32, forces.level24, forces.level16,
                                        forces.level8};
        for (int k = 0; k < 4; ++k)
            widget<QSlider>(trackbars[k])->setValue(values[k]);
    }
    // "Открыть", "Гравировка" with both passes' forces, "Работа".
    void startJob(bool secondPass) {
        menu().findAction("Open")->trigger();
        menu().findAction("Print1")->trigger();
        if (secondPass)
            widget<QCheckBox>("SecondWork")->click();
        setForces("IndRadBut", {"TrackBar1", "TrackBar2", "TrackBar3", "TrackBar4"}, kFirst);
        if (secondPass)
            setForces("IndRadBut_2", {"TrackBar5", "TrackBar6", "TrackBar7", "TrackBar8"}, kSecond);
        widget<QPushButton>("Button17")->click();
        ASSERT_TRUE(program().timers.optimizing) << menu().messages.join('|').toStdString();
    }
    void runLines(int lines) {
        for (int k = 0; k < lines; ++k)
            optimizingTimer(program());
    }
    AbortPanel& abortPanel() { return menu().engravingPanels().abortPanel(); }
    StrikeLevels trackbars(std::array<const char*, 4> names) {
        return {static_cast<quint8>(widget<QSlider>(names[0])->value()),
                static_cast<quint8>(widget<QSlider>(names[1])->value()),
                static_cast<quint8>(widget<QSlider>(names[2])->value()),
                static_cast<quint8>(widget<QSlider>(names[3])->value())};
    }
    StrikeLevels firstHalfTrackbars() {
        return trackbars({"TrackBar9", "TrackBar10", "TrackBar11", "TrackBar12"});
    }
    StrikeLevels secondHalfTrackbars() {
        return trackbars({"TrackBar13", "TrackBar14", "TrackBar15", "TrackBar16"});
    }
    bool shown(QWidget* w) { return w->isVisibleTo(&menu()); }
    // The run's marks the window shows.
    int redPixels() {
        const QImage& view = menu().fieldImage()->image();
        int red = 0;
        for (int y = 0; y < view.height(); ++y)
            for (int x = 0; x < view.width(); ++x)
                red += view.pixel(x, y) == kStrikeMark ? 1 : 0;
        return red;
    }
    // The strike force the device now gives level "32".
    int deviceForce32() { return engraver->machine().profile.force(3); }
};

TEST_F(JobWindow, TheOperatorsJobFromThePictureToTheEndOfTheRun) {
    menu().findAction("Open")->trigger();
    menu().findAction("Print1")->trigger();
    PrintReadyPanel& panel = menu().engravingPanels().printReadyPanel();
    ASSERT_TRUE(shown(&panel));
    EXPECT_FALSE(menu().menuEntry(MenuEntry::Work)->isEnabled());
    widget<QSlider>("TrackBar1")->setValue(90); // group setting: the others follow
    EXPECT_EQ(program().choices.first.level24, 60);
    traffic.clear();
    widget<QPushButton>("BitBtn1")->click(); // "Отмена" sends nothing
    EXPECT_FALSE(shown(&panel));
    EXPECT_TRUE(menu().menuEntry(MenuEntry::Work)->isEnabled());
    EXPECT_TRUE(traffic.isEmpty());

    startJob(false);
    EXPECT_FALSE(shown(&panel));
    EXPECT_TRUE(menu().menuEntry(MenuEntry::Stop)->isVisible());
    EXPECT_TRUE(menu().menuEntry(MenuEntry::Stop)->isEnabled());
    EXPECT_FALSE(menu().menuEntry(MenuEntry::Work)->isEnabled());
    EXPECT_TRUE(menu().timer("Optimizing").isActive());
    EXPECT_TRUE(
        widget<QLabel>("Label37")->text().startsWith(QStringLiteral("Длительность работы: ")));
    const QPoint offset = program().image.placement().offset;
    const auto expected = cellsToStrike(program().image.dotImage(), offset);

    ASSERT_TRUE(QTest::qWaitFor([&] { return !program().timers.optimizing; }, 60000));
    // The job start's commands came in their order before the first strike.
    qsizetype at = -1;
    for (const char* command :
         {"Strike timing T 46", "Strike timing U 64", "ProgX_Motor 60 16", "ProgX_Motor 61 12",
          "SetStrike", "Reset eror", "Begin print", "PrintLine forward"}) {
        const qsizetype next = traffic.indexOf(QLatin1String(command), at + 1);
        EXPECT_GT(next, at) << command;
        at = next;
    }
    std::map<std::pair<qint64, qint64>, int> plate;
    for (const sim::Strike& strike : engraver->plate().strikes())
        EXPECT_TRUE(plate
                        .emplace(std::pair{qint64{strike.rowSteps / 2}, qint64{strike.column}},
                                 strike.level)
                        .second)
            << "struck twice";
    EXPECT_EQ(plate, expected);
    EXPECT_GT(expected.size(), 300u);
    EXPECT_TRUE(menu().messages.isEmpty()) << menu().messages.join('|').toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("ErorFile.txt")));
    // The status bar no longer shows a run; the status line tells the end, its time and
    // strikes, and how the next job begins.
    EXPECT_TRUE(widget<QLabel>("RunProgress")->text().isEmpty());
    const QString status = menu().statusLine();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Работа завершена за \\d\\d:\\d\\d:\\d\\d, "
                                                  "ударов иглы: %1\\. «Тест» ")
                                       .arg(countText(qint64(expected.size()))))
                    .match(status)
                    .hasMatch())
        << status.toStdString();
    // The end leaves the window where "Тест" reconnects.
    EXPECT_FALSE(menu().menuEntry(MenuEntry::Stop)->isVisible());
    for (const MenuEntry entry : {MenuEntry::File, MenuEntry::Port, MenuEntry::Test})
        EXPECT_TRUE(menu().menuEntry(entry)->isEnabled()) << int(entry);
    for (const MenuEntry entry : {MenuEntry::Work, MenuEntry::Settings})
        EXPECT_FALSE(menu().menuEntry(entry)->isEnabled()) << int(entry);

    // The next job starts on the picture without the marks of this one.
    EXPECT_GT(redPixels(), 300);
    menu().findAction("N5")->trigger(); // "Тест"
    menu().findAction("Print1")->trigger();
    widget<QPushButton>("Button17")->click();
    ASSERT_TRUE(program().timers.optimizing) << menu().messages.join('|').toStdString();
    EXPECT_EQ(redPixels(), 0);
}

TEST_F(JobWindow, StopDuringASinglePassJobShowsTheFirstHalfAndFinishKeepsTheJob) {
    startJob(false);
    program().job.choices.secondMode = LevelMode::Individual;
    runLines(4);
    menu().findAction("STOP")->trigger();
    EXPECT_FALSE(program().timers.optimizing);
    ASSERT_TRUE(shown(&abortPanel()));
    EXPECT_EQ(abortPanel().pos(), QPoint(20, 10));
    EXPECT_TRUE(shown(abortPanel().firstHalf()));
    EXPECT_TRUE(abortPanel().firstHalf()->isEnabled());
    EXPECT_FALSE(shown(abortPanel().secondHalf()));
    EXPECT_EQ(abortPanel().width(), abortPanel().firstHalfWidth() + 20);
    EXPECT_TRUE(widget<QRadioButton>("RadioButton4")->isChecked());
    EXPECT_TRUE(widget<QSlider>("TrackBar10")->isEnabled());
    EXPECT_EQ(firstHalfTrackbars(), kFirst);

    const sim::EngraverCounters before = engraver->counters();
    widget<QPushButton>("Button28")->click(); // "Завершить работу"
    EXPECT_FALSE(shown(&abortPanel()));
    EXPECT_FALSE(program().timers.optimizing);
    for (const sim::CommandKind kind : {sim::CommandKind::EndPrint, sim::CommandKind::Off})
        EXPECT_EQ(engraver->counters().commandCount(kind), before.commandCount(kind) + 1);
    EXPECT_TRUE(QFile::exists(dir.filePath("ErorFile.txt")));
    EXPECT_TRUE(program().unfinishedJob);
    // Nothing says the job still runs; the status line says where it stopped and that it is
    // kept.
    EXPECT_TRUE(widget<QLabel>("RunProgress")->text().isEmpty());
    EXPECT_TRUE(menu().statusLine().startsWith(QStringLiteral("Работа прервана: выполнено ")))
        << menu().statusLine().toStdString();
}

TEST_F(JobWindow, StopInTheFirstPassOfADoublePassJobShowsBothHalvesWithBothSetsOfLevels) {
    startJob(true);
    runLines(4);
    menu().STOPClick();
    ASSERT_TRUE(shown(&abortPanel()));
    EXPECT_TRUE(shown(abortPanel().firstHalf()));
    EXPECT_TRUE(shown(abortPanel().secondHalf()));
    EXPECT_TRUE(abortPanel().firstHalf()->isEnabled());
    EXPECT_EQ(abortPanel().width(), 521);
    // The second pass was set one by one on its panel: both halves show individual setting.
    EXPECT_TRUE(widget<QRadioButton>("RadioButton4")->isChecked());
    EXPECT_TRUE(widget<QRadioButton>("RadioButton8")->isChecked());
    EXPECT_EQ(firstHalfTrackbars(), kFirst);
    EXPECT_EQ(secondHalfTrackbars(), kSecond);

    widget<QPushButton>("Button27")->click(); // "Продолжить работу"
    EXPECT_FALSE(shown(&abortPanel()));
    EXPECT_TRUE(program().timers.optimizing);
    EXPECT_TRUE(menu().timer("Optimizing").isActive());
    EXPECT_EQ(deviceForce32(), kFirst.level32);
}

TEST_F(JobWindow, StopInTheSecondPassShowsTheFirstHalfDisabledAndContinueSendsTheSecondLevels) {
    startJob(true);
    while (!program().job.secondPassRunning)
        runLines(1);
    runLines(2);
    menu().STOPClick();
    ASSERT_TRUE(shown(&abortPanel()));
    EXPECT_TRUE(shown(abortPanel().firstHalf()));
    EXPECT_FALSE(abortPanel().firstHalf()->isEnabled());
    EXPECT_TRUE(shown(abortPanel().secondHalf()));
    EXPECT_EQ(abortPanel().width(), 521);
    EXPECT_EQ(firstHalfTrackbars(), kFirst);

    widget<QSlider>("TrackBar13")->setValue(90);
    EXPECT_EQ(program().choices.second.level32, 90);
    widget<QPushButton>("Button30")->click(); // the second half's "Продолжить работу"
    EXPECT_FALSE(shown(&abortPanel()));
    EXPECT_EQ(deviceForce32(), 90);
    EXPECT_EQ(program().choices.first, kFirst);
    // The recovery file keeps the levels of the second pass's start.
    EXPECT_EQ(readRecoveryFile(program().dir).data.second, kSecond);
    EXPECT_TRUE(menu().timer("Optimizing").isActive());
    EXPECT_TRUE(menu().messages.isEmpty()) << menu().messages.join('|').toStdString();
}

} // namespace
} // namespace zuk::test
