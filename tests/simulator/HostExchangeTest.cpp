// The program's own exchange and command set against the simulated engraver, in virtual time.
#include "app/Clock.h"
#include "app/MenuStates.h"
#include "app/Texts.h"
#include "device/CommandExchange.h"
#include "device/CommandSet.h"
#include "device/SerialPort.h"
#include "simulator/SimTransport.h"
#include "support/RecordingScreen.h"

#include <gtest/gtest.h>

namespace zuk::sim::test {

namespace {

QString dots(int n) {
    QString digits;
    for (int i = 0; i < n; ++i)
        digits += QChar('1' + i % 4);
    return digits;
}

class HostAgainstEngraver {
public:
    explicit HostAgainstEngraver(const SimOptions& options = {}) : device(makeEngraver(options)) {
        port.setPortName(QStringLiteral("sim"));
        port.openPort();
    }

    VirtualClock clock;
    std::shared_ptr<Engraver> device;
    zuk::test::RecordingScreen screen;
    Texts texts;
    SerialPort port{[this](const QString& name) {
        return isBuiltInPortName(name) ? openBuiltInEngraver(device, clock) : nullptr;
    }};
    MenuStates menus{screen};
    CommandExchange exchange{port, screen, menus, clock, texts};
    CommandSet commands{exchange};

    // Both ends agree on the sequence number and the link is up.
    void expectInStep() const {
        EXPECT_TRUE(exchange.linkActive());
        EXPECT_EQ(device->sequenceNumber(), exchange.sequence());
    }
    void expectNoViolations() const {
        for (const Violation& v : device->counters().violations)
            ADD_FAILURE() << "violation: " << v.description.toStdString();
    }
};

class HostExchange : public ::testing::Test {
protected:
    HostAgainstEngraver host;
    CommandSet& commands = host.commands;
    const Engraver& device() const { return *host.device; }
};

const StrikeLevels kLevels{8, 16, 24, 32};

} // namespace

TEST_F(HostExchange, GreetingAndStartUpSequence) {
    commands.greeting();
    host.expectInStep();
    EXPECT_EQ(host.exchange.sequence(), 1);
    EXPECT_TRUE(commands.setStepTime(12));
    EXPECT_TRUE(commands.setResolutionSteps(4));
    commands.measureLinkTiming();
    EXPECT_GT(commands.linkDelayMs, 100);
    EXPECT_LT(commands.linkDelayMs, 1000);
    commands.resetError(1930, 2330);
    host.expectInStep();
    EXPECT_EQ(device().machine().driverX, (MotorDriver{20, 12}));
    EXPECT_EQ(device().machine().driverY, (MotorDriver{20, 12}));
    EXPECT_EQ(device().counters().commandCount(CommandKind::Greeting), 102);
    EXPECT_TRUE(host.screen.messages.isEmpty()) << host.screen.messages.join('|').toStdString();
    EXPECT_EQ(host.screen.beeps, 0);
    host.expectNoViolations();
}

TEST_F(HostExchange, EveryCommandOfTheTableWithItsAnswers) {
    commands.greeting();
    commands.setResolutionSteps(8);
    commands.stepUp(600);
    commands.left(300);
    commands.stepDown(14);
    commands.right(20);
    EXPECT_EQ(device().machine().head, (HeadPosition{280, 586}));
    commands.needleDown(1);
    EXPECT_TRUE(device().machine().needleDown);
    commands.needleUp();
    EXPECT_FALSE(device().machine().needleDown);
    commands.warmUpStroke();
    commands.strikeSetting(CommandSet::kStrikeT, 0x2E);
    commands.strikeSetting(CommandSet::kStrikeU, 0x40);
    EXPECT_EQ(device().machine().strikeT, 46);
    EXPECT_EQ(device().machine().strikeU, 64);
    commands.setStrike(kLevels);
    const zuk::StrikeProfile sent = computeStrikeProfile(kLevels, 12, 24, 64, 46);
    EXPECT_EQ(device().machine().profile.bytes(),
              QByteArray(reinterpret_cast<const char*>(sent.bytes.data()), 32));
    EXPECT_TRUE(commands.how());
    EXPECT_EQ(commands.reportedRow, 293);
    EXPECT_EQ(commands.reportedColumn, 280);
    commands.monitor(true);
    EXPECT_EQ(host.screen.fields[Field::RealPosY], QStringLiteral("293"));
    EXPECT_EQ(host.screen.fields[Field::RealPosX], QStringLiteral("280"));
    commands.beginPrint();
    commands.endPrint();
    EXPECT_EQ(commands.deviceText(), QString::fromLatin1(defaultIdentification()));
    commands.off();
    host.expectInStep();
    EXPECT_FALSE(device().machine().motorsOn);
    commands.greeting();
    host.expectInStep();
    for (CommandKind kind :
         {CommandKind::StepUp, CommandKind::StepDown, CommandKind::Left, CommandKind::Right,
          CommandKind::NeedleUp, CommandKind::NeedleDown, CommandKind::WarmUp,
          CommandKind::SetStrike, CommandKind::How, CommandKind::Monitor, CommandKind::BeginPrint,
          CommandKind::EndPrint, CommandKind::Off})
        EXPECT_EQ(device().counters().commandCount(kind), 1) << commandName(kind).toStdString();
    EXPECT_EQ(device().counters().commandCount(CommandKind::ReadMemory), 33);
    EXPECT_EQ(device().counters().commandCount(CommandKind::StrikeTiming), 2);
    EXPECT_EQ(device().counters().profileFrames, 8);
    EXPECT_TRUE(host.screen.messages.isEmpty()) << host.screen.messages.join('|').toStdString();
    host.expectNoViolations();
}

class HostPrintLine : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(HostPrintLine, StrikesLandWhereThePlanPositionSaysAndBothEndsStayInStep) {
    const auto [n, forward] = GetParam();
    HostAgainstEngraver host;
    CommandSet& commands = host.commands;
    commands.greeting();
    commands.setResolutionSteps(4);
    commands.setStrike(kLevels);
    commands.left(400);
    commands.position.column = 400;
    commands.needleDown(1);
    commands.beginPrint();
    const int greetingsBefore = host.device->counters().commandCount(CommandKind::Greeting);
    ASSERT_TRUE(commands.printLine(
        forward ? CommandSet::Direction::Forward : CommandSet::Direction::Backward, dots(n)));
    host.expectInStep();
    const Engraver& e = *host.device;
    EXPECT_EQ(e.machine().head.column, commands.position.column);
    EXPECT_EQ(e.plate().strikes().size(), static_cast<size_t>(n));
    EXPECT_EQ(e.counters().dataFrames, (n + 7) / 8);
    const bool greetingFirst = !forward && n % 256 == 0;
    EXPECT_EQ(e.counters().commandCount(CommandKind::Greeting) - greetingsBefore,
              greetingFirst ? 1 : 0);
    for (const Strike& s : e.plate().strikes()) {
        EXPECT_GE(s.column, forward ? 400 : 400 - n);
        EXPECT_LT(s.column, forward ? 400 + n : 400);
    }
    EXPECT_TRUE(host.screen.messages.isEmpty()) << host.screen.messages.join('|').toStdString();
    host.expectNoViolations();
}

INSTANTIATE_TEST_SUITE_P(Lengths, HostPrintLine,
                         ::testing::Combine(::testing::Values(1, 3, 8, 256, 257),
                                            ::testing::Bool()));

TEST_F(HostExchange, LongPrintLineIsWaitedForThroughResynchronisation) {
    commands.greeting();
    commands.setResolutionSteps(8);
    commands.setStrike({200, 200, 200, 200});
    commands.needleDown(1);
    ASSERT_TRUE(commands.printLine(CommandSet::Direction::Forward, QString(400, QChar('4'))));
    host.expectInStep();
    EXPECT_GT(device().counters().resynchronisations, 10);
    EXPECT_EQ(device().plate().strikes().size(), 400u);
    EXPECT_TRUE(host.screen.messages.isEmpty()) << host.screen.messages.join('|').toStdString();
    host.expectNoViolations();
}

// One byte the device sends, dropped or inverted, or one frame refused, anywhere in a
// session: afterwards (with a greeting if the link was lost, as the "Тест" entry does) the
// host's next command succeeds and both ends agree on the sequence number. Each sweep is one
// test so that hundreds of cases do not start hundreds of processes.
enum class Fault { Drop, Corrupt, Refuse };

const char* faultName(Fault fault) {
    return fault == Fault::Drop ? "drop" : fault == Fault::Corrupt ? "corrupt" : "refuse";
}

void runSession(CommandSet& commands) {
    commands.greeting();
    commands.needleDown(1);
    commands.left(10);
    commands.progXMotor(CommandSet::kResolutionParameter, 16);
    commands.setStrike(kLevels);
    commands.printLine(CommandSet::Direction::Forward, QStringLiteral("1234"));
    commands.readMemory(80);
    commands.monitor(false);
    commands.how();
    commands.off();
}

// The same during a print line long enough for the host to resynchronise while it waits.
void runLongLine(CommandSet& commands) {
    commands.greeting();
    commands.setStrike({200, 200, 200, 200});
    commands.needleDown(1);
    commands.printLine(CommandSet::Direction::Backward, QString(300, QChar('4')));
}

// Runs the session with each fault at each of the first `count` answer bytes or frames.
void sweepFaults(void (*session)(CommandSet&), int count, bool lineMustBeEngraved) {
    for (Fault fault : {Fault::Drop, Fault::Corrupt, Fault::Refuse}) {
        for (int n = 1; n <= count; ++n) {
            SCOPED_TRACE(testing::Message() << faultName(fault) << " " << n);
            SimOptions options;
            (fault == Fault::Drop      ? options.faults.dropAnswerBytes
             : fault == Fault::Corrupt ? options.faults.corruptAnswerBytes
                                       : options.faults.refuseFrames)
                .insert(n);
            HostAgainstEngraver host(options);
            session(host.commands);
            if (!host.exchange.linkActive())
                host.commands.greeting();
            host.commands.needleUp();
            host.expectInStep();
            EXPECT_FALSE(host.device->machine().needleDown);
            if (lineMustBeEngraved) {
                EXPECT_EQ(host.device->counters().printLines, 1);
            }
            const std::vector<Violation> unexplained = host.device->unexplainedViolations();
            EXPECT_TRUE(unexplained.empty()) << unexplained.front().description.toStdString();
        }
    }
}

TEST(HostRecoversFromFaults, AtEveryPointOfASession) {
    HostAgainstEngraver clean;
    runSession(clean.commands);
    ASSERT_LT(clean.device->counters().answerBytes, 75);
    ASSERT_LT(clean.device->counters().frames, 75);
    clean.expectNoViolations();
    sweepFaults(runSession, 80, false);
}

TEST(HostRecoversFromFaults, AtEveryAnswerOfALongPrintLine) {
    HostAgainstEngraver clean;
    runLongLine(clean.commands);
    ASSERT_LT(clean.device->counters().answerBytes, 115);
    EXPECT_GT(clean.device->counters().resynchronisations, 5);
    clean.expectNoViolations();
    sweepFaults(runLongLine, 120, true);
}

TEST_F(HostExchange, SilentDeviceLosesTheLinkAndAGreetingBringsItBack) {
    HostAgainstEngraver silent([] {
        SimOptions options;
        options.faults.silentAfterCommands = 2;
        options.faults.silentForMs = 20000;
        return options;
    }());
    silent.commands.greeting();
    silent.commands.needleDown(1);
    silent.commands.needleUp();
    EXPECT_FALSE(silent.exchange.linkActive());
    EXPECT_EQ(silent.screen.messages.value(0), QStringLiteral("Ошибка команды Up"));
    silent.clock.advance(20000);
    silent.commands.greeting();
    silent.commands.needleUp();
    silent.expectInStep();
    EXPECT_FALSE(silent.device->machine().needleDown);
}

TEST_F(HostExchange, PowerLossDuringALineIsFoundAgainByHowAfterRestart) {
    SimOptions options;
    options.faults.powerLossAfterPrintLines = 1;
    options.faults.powerLossAfterDots = 5;
    HostAgainstEngraver lost(options);
    CommandSet& c = lost.commands;
    c.greeting();
    c.setStrike(kLevels);
    c.stepUp(20);
    c.needleDown(1);
    c.beginPrint();
    c.printLine(CommandSet::Direction::Forward, QStringLiteral("11111111"));
    c.printLine(CommandSet::Direction::Backward, QStringLiteral("2222222222"));
    c.needleUp(); // the line's completion wait ended without an answer; this one fails
    EXPECT_FALSE(lost.exchange.linkActive());
    EXPECT_FALSE(lost.device->poweredOn());
    // The program starts again at sequence number 0 while the device comes back.
    lost.device->restart(lost.clock.monotonicMs());
    lost.exchange.setSequence(0);
    lost.exchange.setLinkActive(true);
    c.greeting();
    ASSERT_TRUE(c.how());
    EXPECT_EQ(c.reportedRow, 10);
    EXPECT_EQ(c.reportedColumn, 3);
    EXPECT_EQ(lost.device->plate().strikes().size(), 13u);
}

} // namespace zuk::sim::test
