// Every command of the device, sent as exact host bytes, with its effect on the machine.
#include "ScriptedHost.h"

#include <gtest/gtest.h>

namespace zuk::sim::test {

namespace {

QByteArray bytes4(int b1, int b2, int b3, int b4) {
    QByteArray b;
    for (int v : {b1, b2, b3, b4})
        b.append(static_cast<char>(v));
    return b;
}

QByteArray move(int code, int steps) {
    return bytes4(0x1B, code, ((steps - 1) >> 8) & 0xFF, (steps - 1) & 0xFF);
}

// Programs both drivers as a job does: timing = resolution index + 16, step factor F.
void programDrivers(ScriptedHost& host, int timing, int factor) {
    for (int code : {0x40, 0x41}) {
        host.sendAndConfirm(bytes4(0x1B, code, 0x60, timing));
        host.expectRead(0x50 + host.s); // read directly, no completion wait
        host.s = next(host.s);
        host.sendAndConfirm(bytes4(0x1B, code, 0x61, factor));
        host.expectRead(0x50 + host.s);
        host.s = next(host.s);
    }
}

const int kForces[4] = {8, 16, 24, 32};

} // namespace

TEST(EngraverCommands, MovesCountNMinusOneAndChangeTheHeadPosition) {
    ScriptedHost host;
    host.longCommand(move(0x10, 1), 3400);   // 1B 10 00 00
    host.longCommand(move(0x10, 256), 3400); // 1B 10 00 FF
    host.longCommand(move(0x10, 257), 3400); // 1B 10 01 00
    EXPECT_EQ(host.engraver().machine().head.rowSteps, 514);
    host.longCommand(move(0x11, 14), 3400);
    EXPECT_EQ(host.engraver().machine().head.rowSteps, 500);
    host.longCommand(move(0x12, 30), 1400); // "Left" makes the column grow
    host.longCommand(move(0x13, 10), 1400);
    EXPECT_EQ(host.engraver().machine().head.column, 20);
    EXPECT_EQ(host.engraver().counters().violationCount, 0);
}

TEST(EngraverCommands, MoveOfZeroStepsWrappedToFFFFIsAViolation) {
    ScriptedHost host;
    host.sendAndConfirm(bytes4(0x1B, 0x13, 0xFF, 0xFF));
    EXPECT_TRUE(hasViolation(host.engraver(), QStringLiteral("count FFFF")));
}

// Every resolution index 0..8 (timing 16..24) and two step factors: a move of 1000 steps
// completes inside the program's end time-out even with a link delay of 0.
TEST(EngraverCommands, MovesCompleteInsideTheirEndTimeOutAtEveryResolution) {
    for (int resolution = 0; resolution <= 8; ++resolution) {
        for (int factor : {12, 40}) {
            SCOPED_TRACE(testing::Message()
                         << "resolution " << resolution << ", factor " << factor);
            const int p = resolution + 16;
            ScriptedHost host;
            programDrivers(host, p, factor);
            const int n = 1000;
            host.longCommand(move(0x10, n), factor * 3 * p * n / 100 + 3000);
            host.longCommand(move(0x12, n), n * p * factor * 3 / 100 + 1000);
            host.longCommand(move(0x11, n), factor * 3 * p * n / 100 + 3000);
            host.longCommand(move(0x13, n), n * p * factor * 3 / 100 + 1000);
            EXPECT_EQ(host.engraver().machine().head, HeadPosition{});
        }
    }
}

TEST(EngraverCommands, ResetHomesTheHeadInsideTheSmallestResetTimeOut) {
    ScriptedHost host;
    host.longCommand(move(0x10, 4660), 20000);
    host.longCommand(move(0x12, 1930), 20000);
    host.command(QByteArray::fromHex("1BFE0000"));
    host.longCommand(QByteArray::fromHex("1B000000"), 10000);
    EXPECT_EQ(host.engraver().machine().head, HeadPosition{});
    EXPECT_FALSE(host.engraver().machine().needleDown);
}

TEST(EngraverCommands, NeedleOffAndWarmUpStroke) {
    ScriptedHost host;
    host.command(QByteArray::fromHex("1BFE0101"));
    EXPECT_TRUE(host.engraver().machine().needleDown);
    host.command(QByteArray::fromHex("1BFF0101"));
    EXPECT_FALSE(host.engraver().machine().needleDown);
    host.longCommand(QByteArray::fromHex("1B030101"), 5000);
    host.command(QByteArray::fromHex("1BFD0101"));
    host.s = 2; // the host steps back after "Off"
    EXPECT_FALSE(host.engraver().machine().motorsOn);
    EXPECT_EQ(host.engraver().counters().commandCount(CommandKind::WarmUp), 1);
    EXPECT_EQ(host.engraver().counters().violationCount, 0);
}

TEST(EngraverCommands, MotorProgrammingSetsEachDriverAndAnswersDirectly) {
    ScriptedHost host;
    programDrivers(host, 20, 15);
    const MachineState& m = host.engraver().machine();
    EXPECT_EQ(m.driverX, (MotorDriver{20, 15}));
    EXPECT_EQ(m.driverY, (MotorDriver{20, 15}));
    host.sendAndConfirm(bytes4(0x1B, 0x41, 0x60, 21));
    host.expectRead(0x50 + host.s, 100);
    EXPECT_EQ(host.engraver().machine().driverY.timing, 21);
    EXPECT_EQ(host.engraver().machine().driverX.timing, 20);
}

TEST(EngraverCommands, StrikeTimingAndStrikeProfileForAKnownSetOfLevels) {
    ScriptedHost host;
    host.command(QByteArray::fromHex("1BA5542E"));
    host.command(QByteArray::fromHex("1BA55540"));
    EXPECT_EQ(host.engraver().machine().strikeT, 46);
    EXPECT_EQ(host.engraver().machine().strikeU, 64);

    const int levels[4] = {4, 10, 13, 200}; // S = 12: 2L <= S, L <= S, L > S, L > S
    const QByteArray profile = strikeProfileFor(12, levels);
    EXPECT_EQ(profile.left(8), QByteArray::fromHex("0802070205020102"));
    host.setStrike(profile);
    const MachineState& m = host.engraver().machine();
    ASSERT_TRUE(m.profile.loaded());
    EXPECT_EQ(m.profile.bytes(), profile);
    EXPECT_EQ(m.profile.force(0), 4);
    EXPECT_EQ(m.profile.force(1), 10);
    EXPECT_EQ(m.profile.force(2), 12); // 13 rounded down to even
    EXPECT_EQ(m.profile.force(3), 200);
    EXPECT_EQ(host.engraver().counters().profileFrames, 8);
    EXPECT_EQ(host.engraver().counters().commandCount(CommandKind::SetStrike), 1);
    EXPECT_EQ(host.engraver().counters().violationCount, 0);
}

TEST(EngraverCommands, SetStrikeInterruptedByACommandIsReportedAndTheCommandRuns) {
    ScriptedHost host;
    host.command(QByteArray::fromHex("1B440101"));
    host.command(QByteArray::fromHex("08020702"));
    host.greet();
    EXPECT_TRUE(hasViolation(host.engraver(), QStringLiteral("SetStrike abandoned after 1 of 8")));
    EXPECT_FALSE(host.engraver().machine().profile.loaded());
}

TEST(EngraverCommands, HowReportsRowStepsAndColumnAndTakesTheFourthByteForTheFifth) {
    ScriptedHost host;
    host.longCommand(move(0x10, 600), 10000);
    host.longCommand(move(0x12, 300), 10000);
    const QByteArray report = host.how();
    EXPECT_EQ(report, QByteArray::fromHex("0258012C"));
    EXPECT_EQ((static_cast<quint8>(report[0]) * 256 + static_cast<quint8>(report[1])) / 2, 300);
    EXPECT_EQ(host.engraver().counters().violationCount, 0);
    host.greet();
}

TEST(EngraverCommands, HowWithAWrongEchoIsReported) {
    ScriptedHost host;
    host.command(QByteArray::fromHex("1B360000"));
    host.expectRead(0x00);
    host.write({0x01});
    EXPECT_TRUE(hasViolation(host.engraver(),
                             QStringLiteral("reply 01 to report byte 1 where 00 belongs")));
}

TEST(EngraverCommands, MonitorSendsFourBytesEachAnswered0A) {
    ScriptedHost host;
    host.longCommand(move(0x10, 10), 10000);
    host.longCommand(move(0x12, 7), 10000);
    EXPECT_EQ(host.monitor(), QByteArray::fromHex("000A0007"));
    EXPECT_EQ(host.engraver().counters().violationCount, 0);
}

TEST(EngraverCommands, ThirtyThreeMemoryReadsGiveTheIdentificationText) {
    ScriptedHost host;
    QByteArray text;
    for (int address = 80; address <= 112; ++address)
        text.append(static_cast<char>(host.readMemory(static_cast<quint8>(address))));
    EXPECT_EQ(text, defaultIdentification());
    EXPECT_EQ(text.size(), 33);
    EXPECT_EQ(host.readMemory(0), 0);
    EXPECT_EQ(host.engraver().counters().commandCount(CommandKind::ReadMemory), 34);
}

TEST(EngraverCommands, BeginPrintNumbersThePasses) {
    ScriptedHost host;
    host.command(QByteArray::fromHex("1BFE0101"));
    host.setStrike(strikeProfileFor(12, kForces));
    host.command(QByteArray::fromHex("1B370000"));
    host.printLine(true, "4");
    host.command(QByteArray::fromHex("1B390000"));
    host.command(QByteArray::fromHex("1B370000"));
    host.printLine(false, "3");
    const std::vector<Strike>& strikes = host.engraver().plate().strikes();
    ASSERT_EQ(strikes.size(), 2u);
    EXPECT_EQ(strikes[0], (Strike{0, 0, 4, 32, 1}));
    EXPECT_EQ(strikes[1], (Strike{0, 0, 3, 24, 2})); // right to left from column 1: cell 0
}

// Print lines of 1, 3, 8, 256 and 257 dots in both directions: data frames, cells, head.
class PrintLineLength : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(PrintLineLength, DotsLandOnConsecutiveCellsAndTheHeadMovesByN) {
    const auto [n, forward] = GetParam();
    ScriptedHost host;
    host.command(QByteArray::fromHex("1BFE0101"));
    host.setStrike(strikeProfileFor(12, kForces));
    host.longCommand(move(0x12, 1000), 10000);
    host.longCommand(move(0x10, 20), 10000);
    QByteArray digits;
    for (int i = 0; i < n; ++i)
        digits.append(static_cast<char>('1' + i % 4));
    host.printLine(forward, digits);
    const Engraver& e = host.engraver();
    EXPECT_EQ(e.counters().dataFrames, (n + 7) / 8);
    EXPECT_EQ(e.counters().printLines, 1);
    EXPECT_EQ(e.machine().head.column, forward ? 1000 + n : 1000 - n);
    const std::vector<Strike>& strikes = e.plate().strikes();
    ASSERT_EQ(static_cast<int>(strikes.size()), n);
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(strikes[i].column, forward ? 1000 + i : 999 - i);
        EXPECT_EQ(strikes[i].rowSteps, 20);
        EXPECT_EQ(strikes[i].level, 1 + i % 4);
        EXPECT_EQ(strikes[i].force, kForces[i % 4]);
    }
    EXPECT_EQ(e.counters().violationCount, 0);
    EXPECT_EQ(e.sequenceNumber(), host.s);
}

INSTANTIATE_TEST_SUITE_P(Lengths, PrintLineLength,
                         ::testing::Combine(::testing::Values(1, 3, 8, 256, 257),
                                            ::testing::Bool()));

TEST(EngraverCommands, PrintLineOfThreeDotsIsOneDataFrame1230) {
    ScriptedHost host;
    EXPECT_EQ(packDots("123"), QByteArray::fromHex("12300000"));
    host.command(QByteArray::fromHex("1BFE0101"));
    host.setStrike(strikeProfileFor(12, kForces));
    host.printLine(true, "123");
    EXPECT_EQ(host.engraver().counters().dataFrames, 1);
    EXPECT_EQ(host.engraver().plate().strikes().size(), 3u);
}

TEST(EngraverCommands, ZeroCodesStepWithoutStrikingAndTimingFollowsTheEstimate) {
    ScriptedHost host;
    programDrivers(host, 16, 12); // S = 192
    host.command(QByteArray::fromHex("1BA5542E"));
    host.command(QByteArray::fromHex("1BA55540"));
    host.command(QByteArray::fromHex("1BFE0101"));
    const int levels[4] = {100, 100, 100, 100};
    host.setStrike(strikeProfileFor(192, levels));
    const qint64 before = host.engraver().modelledDeviceTimeUs();
    host.printLine(true, "40004");
    EXPECT_EQ(host.engraver().plate().strikes().size(), 2u);
    EXPECT_EQ(host.engraver().machine().head.column, 5);
    // Estimate: step = trunc(192 x 2.4375 + 30) = 498 (x 10 us); strike of L = 100 at S = 192:
    // d = 4 x 64 + 46 x 46 + 150 x 64 = 11972, trunc(11972 x 0.1085) + 130 = 1428 (x 10 us).
    const qint64 lineUs = 3 * 4980 + 2 * 14280;
    const qint64 headerAndFrameUs = 2 * timing::kShortUs;
    const qint64 modelled = host.engraver().modelledDeviceTimeUs() - before;
    EXPECT_NEAR(modelled, lineUs + headerAndFrameUs, 100);
}

TEST(EngraverCommands, PrintLineMistakesAreReported) {
    ScriptedHost host;
    host.printLine(true, "1"); // no profile, needle raised
    EXPECT_TRUE(hasViolation(host.engraver(), QStringLiteral("without a loaded strike profile")));
    EXPECT_TRUE(hasViolation(host.engraver(), QStringLiteral("needle raised")));
    host.command(QByteArray::fromHex("1BFE0101"));
    host.setStrike(strikeProfileFor(12, kForces));
    host.printLine(true, "7");
    EXPECT_TRUE(hasViolation(host.engraver(), QStringLiteral("dot code 7 has no strike level")));
    host.longCommand(move(0x13, 2), 2000);
    host.printLine(true, "2");
    EXPECT_TRUE(hasViolation(host.engraver(), QStringLiteral("struck twice in pass 0")));
    // Header for 2 dots, but the frame carries a third digit.
    host.sendAndConfirm(QByteArray::fromHex("1B210002"));
    host.expectRead(0x50 + host.s);
    host.s = next(host.s);
    host.sendAndConfirm(QByteArray::fromHex("11100000"));
    host.expectRead(0x60 + host.s);
    host.s = next(host.s);
    host.expectRead(0x50 + host.s);
    host.s = next(host.s);
    EXPECT_TRUE(hasViolation(host.engraver(), QStringLiteral("past the line's 2 dots")));
}

TEST(EngraverCommands, PrintLineAbandonedForACommandIsReported) {
    ScriptedHost host;
    host.sendAndConfirm(QByteArray::fromHex("1B210010")); // 16 dots: two data frames
    host.expectRead(0x50);
    host.s = 1;
    host.sendAndConfirm(QByteArray::fromHex("11111111"));
    host.expectRead(0x61);
    host.s = 2;
    host.greet();
    EXPECT_TRUE(hasViolation(host.engraver(), QStringLiteral("print line abandoned after 1 of 2")));
    EXPECT_EQ(host.engraver().counters().printLines, 0);
}

} // namespace zuk::sim::test
