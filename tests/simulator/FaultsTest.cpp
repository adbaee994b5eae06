// Injected faults: after each one a correct host and the device end up in step again.
#include "ScriptedHost.h"

#include <gtest/gtest.h>

namespace zuk::sim::test {

namespace {

const QByteArray kNeedleDown = QByteArray::fromHex("1BFE0101");
const QByteArray kNeedleUp = QByteArray::fromHex("1BFF0101");

SimOptions withFaults(const FaultPlan& faults) {
    SimOptions options;
    options.faults = faults;
    return options;
}

// After a greeting (answer bytes 1 and 2), "Put" answers with bytes 3 (0xA1) and 4 (0x51).
void expectRecoveryAfterFaultOnPut(const FaultPlan& faults, int expectedBursts) {
    ScriptedHost host(withFaults(faults));
    host.greet();
    int bursts = 0;
    host.hostCommand(kNeedleDown, &bursts);
    EXPECT_EQ(bursts, expectedBursts);
    EXPECT_TRUE(host.engraver().machine().needleDown);
    EXPECT_EQ(host.engraver().sequenceNumber(), host.s);
    host.command(kNeedleUp);
    EXPECT_FALSE(host.engraver().machine().needleDown);
    EXPECT_TRUE(host.engraver().unexplainedViolations().empty());
    EXPECT_EQ(host.engraver().counters().commandCount(CommandKind::NeedleDown), 1);
}

} // namespace

TEST(EngraverFaults, DroppedAcceptanceIsRepairedByTheBurst) {
    FaultPlan faults;
    faults.dropAnswerBytes = {3};
    expectRecoveryAfterFaultOnPut(faults, 1);
}

TEST(EngraverFaults, DroppedCompletionIsRepairedByTheBurst) {
    FaultPlan faults;
    faults.dropAnswerBytes = {4};
    expectRecoveryAfterFaultOnPut(faults, 1);
}

TEST(EngraverFaults, CorruptedAcceptanceAndCompletionAreRepairedByTheBurst) {
    FaultPlan faults;
    faults.corruptAnswerBytes = {3};
    expectRecoveryAfterFaultOnPut(faults, 1);
    faults.corruptAnswerBytes = {4};
    expectRecoveryAfterFaultOnPut(faults, 1);
}

TEST(EngraverFaults, CorruptedByteArrivesInverted) {
    FaultPlan faults;
    faults.corruptAnswerBytes = {1};
    ScriptedHost host(withFaults(faults));
    host.writeFrame(QByteArray::fromHex("1B010000"));
    host.expectRead(0x5F); // ~0xA0
    EXPECT_EQ(host.engraver().counters().corruptedAnswerBytes, 1);
}

TEST(EngraverFaults, DroppedBurstAnswerIsAnsweredAgainAtTheNextBurstByte) {
    FaultPlan faults;
    faults.dropAnswerBytes = {3, 4}; // the acceptance and the answer to the first burst byte
    expectRecoveryAfterFaultOnPut(faults, 1);
}

TEST(EngraverFaults, RefusedFrameIsSentAgainAndThenCarriedOut) {
    FaultPlan faults;
    faults.refuseFrames = {2};
    ScriptedHost host(withFaults(faults));
    host.greet();
    host.writeFrame(kNeedleDown);
    host.expectRead(0x91);
    host.command(kNeedleDown); // exactly the same five bytes again
    EXPECT_TRUE(host.engraver().machine().needleDown);
    EXPECT_EQ(host.engraver().counters().refusedOnPurpose, 1);
    EXPECT_EQ(host.engraver().counters().violationCount, 0);
}

TEST(EngraverFaults, RefusedGreetingIsRepeated) {
    FaultPlan faults;
    faults.refuseFrames = {1};
    ScriptedHost host(withFaults(faults));
    host.writeFrame(QByteArray::fromHex("1B010000"));
    host.expectRead(0x90);
    host.greet();
}

TEST(EngraverFaults, SilenceAfterNCommandsThenBackAfterItsDuration) {
    FaultPlan faults;
    faults.silentAfterCommands = 2;
    faults.silentForMs = 10000;
    ScriptedHost host(withFaults(faults));
    host.greet();
    host.command(kNeedleDown);
    const qint64 start = host.clock.monotonicMs();
    EXPECT_EQ(host.hostCommand(kNeedleUp), std::nullopt); // one read and six burst reads
    EXPECT_EQ(host.clock.monotonicMs() - start, 3500);
    EXPECT_TRUE(host.engraver().silent());
    host.clock.advance(7000);
    host.s = 0; // a host starting over greets at 0 and adopts the device's number
    host.writeFrame(QByteArray::fromHex("1B010000"));
    host.expectRead(0x92);
    host.s = 2;
    host.greet();
    host.command(kNeedleUp);
    EXPECT_FALSE(host.engraver().machine().needleDown);
    EXPECT_GT(host.engraver().counters().ignoredBytes, 5);
}

TEST(EngraverFaults, SilenceWithoutDurationLastsUntilRestart) {
    FaultPlan faults;
    faults.silentAfterCommands = 1;
    ScriptedHost host(withFaults(faults));
    host.greet();
    host.writeFrame(kNeedleDown);
    host.expectSilence();
    host.clock.advance(60000);
    host.writeFrame(kNeedleDown);
    host.expectSilence();
    host.engraver().restart(host.clock.monotonicMs());
    host.s = 0;
    host.greet();
}

TEST(EngraverFaults, PowerLossDuringAPrintLineKeepsTheHeadWhereItStopped) {
    FaultPlan faults;
    faults.powerLossAfterPrintLines = 1;
    faults.powerLossAfterDots = 3;
    ScriptedHost host(withFaults(faults));
    const int levels[4] = {8, 16, 24, 32};
    host.command(kNeedleDown);
    host.setStrike(strikeProfileFor(12, levels));
    host.command(QByteArray::fromHex("1B370000"));
    host.printLine(true, "1111");
    // The second line: header and data are taken, then the power fails after three dots.
    host.sendAndConfirm(QByteArray::fromHex("1B210008"));
    host.expectRead(0x50 + host.s);
    host.s = next(host.s);
    host.sendAndConfirm(QByteArray::fromHex("22222222"));
    host.expectRead(0x60 + host.s);
    host.s = next(host.s);
    host.expectSilence();
    EXPECT_EQ(host.burst(), std::nullopt);
    EXPECT_FALSE(host.engraver().poweredOn());
    EXPECT_EQ(host.engraver().plate().strikes().size(), 7u);
    EXPECT_EQ(host.engraver().machine().head.column, 7);

    host.engraver().restart(host.clock.monotonicMs());
    const MachineState& m = host.engraver().machine();
    EXPECT_EQ(m.head.column, 7);
    EXPECT_FALSE(m.profile.loaded());
    EXPECT_EQ(m.driverX, MotorDriver{});
    // The program restarts at 0; the device too.
    host.s = 0;
    EXPECT_EQ(host.how(), QByteArray::fromHex("00000007"));
    EXPECT_TRUE(host.engraver().unexplainedViolations().empty());
}

TEST(EngraverFaults, PowerComesBackByItselfWhenAsked) {
    FaultPlan faults;
    faults.powerLossAfterPrintLines = 1; // the first line after that loses power before any dot
    faults.powerBackAfterMs = 5000;
    ScriptedHost host(withFaults(faults));
    host.command(kNeedleDown);
    host.printLine(true, "0001");
    host.sendAndConfirm(QByteArray::fromHex("1B210001"));
    host.expectRead(0x50 + host.s);
    host.s = next(host.s);
    host.sendAndConfirm(QByteArray::fromHex("10000000"));
    host.expectRead(0x60 + host.s);
    host.expectSilence();
    EXPECT_FALSE(host.engraver().poweredOn());
    host.clock.advance(5000);
    host.s = 0;
    host.greet();
    EXPECT_TRUE(host.engraver().poweredOn());
    EXPECT_EQ(host.engraver().machine().head.column, 4);
}

} // namespace zuk::sim::test
