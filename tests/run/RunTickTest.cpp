// The run timer's tick, line by line, against the simulated engraver: the commands each line
// sends, the position it leaves, the marks, the second pass's start and the ends of the run.
#include "EngraverBench.h"

#include "plan/PlanLine.h"
#include "run/EngravingRun.h"
#include "run/RecoveryFile.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

QByteArray goTo(int row, int column) {
    return goToLine(row, column);
}

class RunTick : public ::testing::Test {
protected:
    void start(std::vector<QByteArray> plan, JobSpec spec = {}) {
        spec.plan = std::move(plan);
        spec_ = spec;
        bench.startProgram();
        // Without "Monitor" every command writes its frame and one confirmation byte.
        bench.program().stepControl = false;
        bench.startJob(spec);
        mark();
    }
    void mark() { from_ = bench.tap.written.size(); }
    // The four command bytes of every frame written since the mark, in hexadecimal.
    QStringList frames() const {
        QStringList found;
        const QByteArray bytes = bench.tap.written.mid(from_);
        for (qsizetype i = 0; i + 5 <= bytes.size(); i += 6)
            found << QString::fromLatin1(bytes.mid(i, 4).toHex());
        return found;
    }
    void tick() { optimizingTimer(bench.program()); }
    PlanPosition position() { return bench.program().commands.position; }
    QStringList recoveryLines() const {
        return ProgramDir(bench.path()).readLines(QStringLiteral("ErorFile.txt")).lines;
    }

    EngraverBench bench;
    JobSpec spec_;

private:
    qsizetype from_ = 0;
};

TEST_F(RunTick, GoToClimbsUpOrOvershootsDownwardsAndSendsNothingWhenAlreadyThere) {
    start({goTo(10, 20), goTo(7, 20), goTo(10, 20), goTo(10, 20), kUpLine.toByteArray()});
    tick(); // from home to row 15, column 23 of the field
    EXPECT_EQ(frames(), (QStringList{"1b10001d", "1b120016"}));
    mark();
    tick(); // three rows down: 14 steps down, then four climbs of one row
    EXPECT_EQ(frames(), (QStringList{"1b11000d", "1b100001", "1b100001", "1b100001", "1b100001"}));
    EXPECT_EQ(position().row, 12);
    mark();
    tick(); // three rows up: one climb of 6 steps
    EXPECT_EQ(frames(), QStringList{"1b100005"});
    mark();
    tick();
    EXPECT_TRUE(frames().isEmpty());
    EXPECT_EQ(bench.engraver().machine().head, (sim::HeadPosition{23, 30}));
}

// The field is 310 × 310 dots (300 and the border) with the placement at column 3, row 5;
// the head reaches rows 0..310 and columns 0..311, one past the last for a backward run that
// strikes the last column. A line that would leave that stops the job before it sends anything.
struct OffFieldCase {
    const char* what;
    std::vector<QByteArray> plan; // its last line leaves the field
};

class RunTickOffField : public RunTick, public ::testing::WithParamInterface<OffFieldCase> {};

TEST_P(RunTickOffField, StopsTheJobAtTheLineWithItsMessageKeepsItAndSendsNothingForIt) {
    const std::vector<QByteArray>& plan = GetParam().plan;
    start(plan);
    for (size_t line = 1; line < plan.size(); ++line)
        tick();
    const sim::HeadPosition head = bench.engraver().machine().head;
    mark();
    tick();
    Program& program = bench.program();
    EXPECT_FALSE(program.timers.optimizing);
    EXPECT_EQ(frames(), (QStringList{"1b390000", "1bfd0101"})) << "EndPrint and Off only";
    EXPECT_EQ(bench.engraver().machine().head, head);
    ASSERT_EQ(bench.screen().messages.size(), 1);
    const QString message = bench.screen().messages[0];
    EXPECT_TRUE(message.contains(QStringLiteral("Строка %1 плана").arg(plan.size())));
    EXPECT_TRUE(message.contains("123123123.txt"));
    EXPECT_TRUE(message.contains("за рабочее поле (310 × 310 точек)")) << message.toStdString();
    EXPECT_TRUE(QFile::exists(bench.file("ErorFile.txt")));
    EXPECT_TRUE(QFile::exists(bench.file("JobProgress.txt")));
    EXPECT_TRUE(program.unfinishedJob);
    EXPECT_EQ(program.job.outcome, RunOutcome::PlanFault);
}

const std::vector<QByteArray> kAtTheLastColumn{goTo(10, 306), kDownLine.toByteArray(),
                                               "Knock: 11"}; // strikes 309 and 310

INSTANTIATE_TEST_SUITE_P(
    RunTick, RunTickOffField,
    ::testing::Values(OffFieldCase{"a damaged plan's row", {goTo(2, 2), goTo(999993, 5)}},
                      OffFieldCase{"the row past the last", {goTo(2, 2), goTo(306, 2)}},
                      OffFieldCase{"two columns past the last", {goTo(2, 2), goTo(2, 309)}},
                      OffFieldCase{"a forward run past the column after the last",
                                   {kAtTheLastColumn[0], kAtTheLastColumn[1], kAtTheLastColumn[2],
                                    "Knock: 1"}},
                      OffFieldCase{"a backward run past the first column",
                                   {goTo(10, 1), kDownLine.toByteArray(), "KBack: 11111"}}),
    [](const ::testing::TestParamInfo<OffFieldCase>& info) {
        QString name = QString::fromLatin1(info.param.what);
        name.replace(QRegularExpression("[^A-Za-z]"), QString());
        return name.toStdString();
    });

TEST_F(RunTick, TheHeadReachesTheWholeFieldAndTheColumnAfterIt) {
    start({kAtTheLastColumn[0], kAtTheLastColumn[1], kAtTheLastColumn[2], goTo(305, 308),
           "KBack: 1" + QByteArray(309, '0') + "1", kUpLine.toByteArray()});
    while (bench.program().timers.optimizing)
        tick();
    EXPECT_TRUE(bench.screen().messages.isEmpty())
        << bench.screen().messages.join('|').toStdString();
    EXPECT_FALSE(QFile::exists(bench.file("ErorFile.txt")));
    EXPECT_EQ(platePass(bench.engraver().plate(), spec_, 1).cells,
              (std::map<std::pair<qint64, qint64>, int>{
                  {{15, 309}, 1}, {{15, 310}, 1}, {{310, 310}, 1}, {{310, 0}, 1}}));
}

TEST_F(RunTick, KnockSendsItsDigitsWithoutTrailingZerosAndMarksTheStruckCells) {
    start({goTo(4, 6), kDownLine.toByteArray(), "Knock: 0001200", kUpLine.toByteArray()});
    tick();
    tick();
    mark();
    tick();
    EXPECT_EQ(frames(), (QStringList{"1b210005", "00012000"}));
    EXPECT_EQ(position().column, 9 + 5);
    const std::set<std::pair<qint64, qint64>> marks{{9, 12}, {9, 13}};
    EXPECT_EQ(markedCells(bench.program().image.view().image()), marks);
    const PassPlate plate = platePass(bench.engraver().plate(), spec_, 1);
    EXPECT_EQ(plate.cells, (std::map<std::pair<qint64, qint64>, int>{{{9, 12}, 1}, {{9, 13}, 2}}));
    ASSERT_EQ(bench.screen().viewParts.size(), 1u);
    EXPECT_EQ(bench.screen().viewParts[0], QRect(11, 8, 2, 1));
}

TEST_F(RunTick, AllZeroLineSendsNothingAndSkipsTheEndOfFileTest) {
    start({goTo(4, 6), "Knock: 0000"});
    tick();
    mark();
    tick();
    EXPECT_TRUE(frames().isEmpty());
    EXPECT_TRUE(markedCells(bench.program().image.view().image()).empty());
    EXPECT_TRUE(bench.program().timers.optimizing) << "the last line did not end the run";
    tick();
    EXPECT_FALSE(bench.program().timers.optimizing);
    EXPECT_FALSE(QFile::exists(bench.file("ErorFile.txt")));
}

TEST_F(RunTick, PortraitBackwardLineOfMoreThanTwiceTheEdgeDotsGoesOutInThreePieces) {
    JobSpec spec;
    spec.portrait = true;
    spec.edgeDots = 8;
    spec.resolution = 2; // the row motor's timing runs 0x13, 0x12, 0x11 and back to 0x12
    start({goTo(4, 30), kDownLine.toByteArray(), "KBack: 12341234123412341234", goTo(5, 30),
           "KBack: 1234123412341234", kUpLine.toByteArray()},
          spec);
    tick();
    tick();
    mark();
    tick();
    EXPECT_EQ(frames(), (QStringList{"1b416013", "1b200008", "12341234", "1b416012", "1b200004",
                                     "12340000", "1b416011", "1b200008", "12341234", "1b416012"}));
    EXPECT_EQ(position().column, 33 - 20);
    tick();
    mark();
    tick(); // sixteen digits are not more than twice the edge dots: one piece
    EXPECT_EQ(frames(), (QStringList{"1b200010", "12341234", "12341234"}));
    const PassPlate plate = platePass(bench.engraver().plate(), spec_, 1);
    EXPECT_EQ(plate.cells.size(), 36u);
    EXPECT_EQ(plate.cells.at({9, 32}), 1);
    EXPECT_EQ(plate.cells.at({9, 13}), 4);
}

TEST_F(RunTick, RunWithTheLinkDownFollowsThePlanSendsNothingAndKeepsTheJob) {
    start({{},
           goTo(4, 6),
           kDownLine.toByteArray(),
           "Knock: 34",
           kUpLine.toByteArray(),
           goTo(6, 2),
           "Knock: 1"});
    Program& program = bench.program();
    bench.tap.unplugged = true;
    program.exchange.setLinkActive(false);
    program.exchange.setLinkError(false);
    mark();
    const auto strikesBefore = bench.engraver().plate().strikes().size();
    for (int line = 1; line <= 6; ++line) {
        tick();
        EXPECT_TRUE(program.timers.optimizing) << line;
    }
    EXPECT_EQ(position().column, 2 + 3) << "only the \"GoTo:\" lines move the position";
    tick();
    EXPECT_FALSE(program.timers.optimizing);
    EXPECT_TRUE(frames().isEmpty());
    EXPECT_EQ(bench.engraver().plate().strikes().size(), strikesBefore);
    EXPECT_EQ(markedCells(program.image.view().image()),
              (std::set<std::pair<qint64, qint64>>{{9, 9}, {9, 10}, {11, 5}}));
    ASSERT_EQ(bench.screen().messages.size(), 1);
    EXPECT_TRUE(bench.screen().messages[0].contains("ничего не отправлено"));
    EXPECT_TRUE(QFile::exists(bench.file("ErorFile.txt")));
    EXPECT_TRUE(program.unfinishedJob);
    EXPECT_EQ(program.job.outcome, RunOutcome::EndedWithoutDevice);
    EXPECT_EQ(bench.screen().menuState, MenuState::NoDevice);
}

TEST_F(RunTick, EmptyPlanEndsTheJobOnTheFirstTick) {
    start({});
    tick();
    EXPECT_FALSE(bench.program().timers.optimizing);
    EXPECT_FALSE(QFile::exists(bench.file("ErorFile.txt")));
    EXPECT_FALSE(QFile::exists(bench.file("JobProgress.txt")));
    EXPECT_TRUE(bench.screen().messages.isEmpty());
}

TEST_F(RunTick, NormalEndHomesSwitchesOffAndLeavesTheWindowAsWithoutADevice) {
    start({goTo(2, 2), kDownLine.toByteArray(), "Knock: 4", kUpLine.toByteArray()});
    for (int line = 0; line < 4; ++line)
        tick();
    EXPECT_EQ(frames().mid(frames().size() - 3), (QStringList{"1b390000", "1b000000", "1bfd0101"}));
    Program& program = bench.program();
    EXPECT_FALSE(program.exchange.linkActive());
    EXPECT_FALSE(program.unfinishedJob);
    EXPECT_FALSE(program.job.plan.isOpen());
    EXPECT_EQ(program.job.outcome, RunOutcome::Finished);
    const QStringList& events = bench.screen().events;
    // The window as without a device, then the status line tells the end.
    ASSERT_GE(events.size(), 3);
    EXPECT_EQ(events.mid(events.size() - 3, 2), (QStringList{"menu: work", "menu: no device"}));
    EXPECT_TRUE(events.back().startsWith("status: Работа завершена за "))
        << events.back().toStdString();
    EXPECT_FALSE(QFile::exists(bench.file("ErorFile.txt")));
    EXPECT_TRUE(QFile::exists(bench.file("123123123.txt")));
}

TEST_F(RunTick, EndOfTheFirstPassRewritesTheRecoveryFileWithSecAndGoesOnWithTheCopy) {
    JobSpec spec;
    spec.secondPass = true;
    start({goTo(2, 2), kDownLine.toByteArray(), "Knock: 4", kUpLine.toByteArray()}, spec);
    EXPECT_EQ(recoveryLines().size(), 13);
    EXPECT_EQ(recoveryLines()[7], "1");
    for (int line = 0; line < 4; ++line)
        tick();
    const QStringList lines = recoveryLines();
    ASSERT_EQ(lines.size(), 14);
    EXPECT_EQ(lines[7], "1");
    EXPECT_EQ(lines[13], "Sec");
    Program& program = bench.program();
    EXPECT_TRUE(program.job.secondPassRunning);
    EXPECT_FALSE(program.job.secondPassToCome());
    EXPECT_EQ(program.job.planLineCounter, 0);
    EXPECT_TRUE(program.job.plan.path().endsWith("123sec.txt", Qt::CaseInsensitive));
    EXPECT_EQ(program.job.choices.first, spec.first) << "the first pass's levels stay in memory";
    tick();
    EXPECT_EQ(position().column, 2 + 3);
    for (int line = 0; line < 3; ++line)
        tick();
    EXPECT_FALSE(program.timers.optimizing);
    EXPECT_EQ(platePass(bench.engraver().plate(), spec_, 2).cells.size(), 1u);
}

TEST_F(RunTick, FailureOnTheLastLineStopsWithTheAdviceAndKeepsTheJob) {
    start({goTo(2, 2), kDownLine.toByteArray(), "Knock: 4321"});
    tick();
    tick();
    bench.tap.unplugged = true;
    tick();
    Program& program = bench.program();
    EXPECT_FALSE(program.timers.optimizing);
    EXPECT_EQ(bench.screen().faultAdvices, 1);
    EXPECT_EQ(program.job.outcome, RunOutcome::FaultStop);
    EXPECT_TRUE(QFile::exists(bench.file("ErorFile.txt")));
    EXPECT_TRUE(QFile::exists(bench.file("JobProgress.txt")));
    EXPECT_EQ(bench.screen().menuState, MenuState::Work);
    EXPECT_FALSE(program.job.plan.isOpen());
}

TEST_F(RunTick, SelfTestingComparesTheDevicesCountersWithThePlanPosition) {
    start({goTo(4, 30), kDownLine.toByteArray(), "KBack: 1111", goTo(5, 30), "KBack: 11"});
    Program& program = bench.program();
    program.stepControl = true;
    program.exchange.setSelfTesting(true);
    for (int line = 0; line < 3; ++line)
        tick();
    EXPECT_EQ(bench.screen().beeps, 0);
    EXPECT_EQ(bench.screen().fields[Field::CountPosX], "29");
    EXPECT_EQ(bench.screen().fields[Field::RealPosX], "29");
    tick();
    ++program.commands.position.column; // the plan position no longer agrees with the device
    tick();
    EXPECT_EQ(bench.screen().beeps, 1);
    EXPECT_EQ(program.exchange.errorCount(), 1);
}

TEST_F(RunTick, LineTheRunCannotFollowStopsTheJobWithAMessageAndKeepsIt) {
    // The plan damaged after the job start had read it for its estimate.
    start({goTo(2, 2), goTo(3, 3)});
    QFile plan(bench.file(QStringLiteral("123123123.txt")));
    ASSERT_TRUE(plan.open(QIODevice::WriteOnly));
    plan.write(planFileBytes({goTo(2, 2), "GoTo:   two  three"}));
    plan.close();
    ASSERT_TRUE(bench.program().job.plan.open(plan.fileName()));
    tick();
    tick();
    Program& program = bench.program();
    EXPECT_FALSE(program.timers.optimizing);
    ASSERT_EQ(bench.screen().messages.size(), 1);
    EXPECT_TRUE(bench.screen().messages[0].contains("Строка 2 плана"));
    EXPECT_TRUE(QFile::exists(bench.file("ErorFile.txt")));
    EXPECT_TRUE(program.unfinishedJob);
    EXPECT_EQ(bench.screen().menuState, MenuState::NoDevice);
    EXPECT_EQ(bench.engraver().counters().commandCount(sim::CommandKind::Off), 1);
}

} // namespace
} // namespace zuk::test
