#include "device/CommandSet.h"
#include "device/ExchangeFixture.h"

namespace zuk::test {
namespace {

class CommandSetTest : public ExchangeFixture {
protected:
    CommandSet commands{exchange};
    // The frames a command sent, without the confirmations.
    QByteArray frameAt(int offset) const { return line.writtenBytes().mid(offset, 5); }
};

TEST_F(CommandSetTest, MoveCountsAreSentAsCountMinusOneHighByteFirst) {
    line.answer({0xA0, 0x50, 0xA1, 0x51, 0xA2, 0x52});
    commands.stepUp(1);
    commands.stepUp(256);
    commands.stepUp(257);
    EXPECT_EQ(frameAt(0).left(4), hexBytes("1b100000"));
    EXPECT_EQ(frameAt(6).left(4), hexBytes("1b1000ff"));
    EXPECT_EQ(frameAt(12).left(4), hexBytes("1b100100"));
    EXPECT_EQ(exchange.sequence(), 3);
}

TEST_F(CommandSetTest, ZeroAndNegativeMovesSendNothingAndHugeMovesAreSplit) {
    commands.left(0);
    commands.stepDown(-5);
    EXPECT_TRUE(line.writtenBytes().isEmpty());

    line.answer({0xA0, 0x50, 0xA1, 0x51});
    commands.right(65536);
    EXPECT_EQ(frameAt(0).left(4), hexBytes("1b13fffe")); // 65535 columns
    EXPECT_EQ(frameAt(6).left(4), hexBytes("1b130000")); // and the one left over
}

TEST_F(CommandSetTest, MoveTimeOutsFollowFactorResolutionAndLinkDelay) {
    EXPECT_EQ(commands.verticalMoveTimeout(1000), 3760);
    EXPECT_EQ(commands.horizontalMoveTimeout(1000), 1760);
    commands.stepTimeFactor = 255;
    commands.motorParameter60 = 255;
    EXPECT_GT(commands.verticalMoveTimeout(65535), 0); // no 32-bit overflow
}

TEST_F(CommandSetTest, OffLeavesTheSequenceNumberAsItFoundIt) {
    exchange.setSequence(15);
    line.answer({0xAF, 0x5F});
    commands.off();
    EXPECT_EQ(frameAt(0), hexBytes("1bfd0101e9"));
    EXPECT_EQ(exchange.sequence(), 15);
}

TEST_F(CommandSetTest, CommandsSendNothingWhileTheLinkIsDown) {
    exchange.setLinkActive(false);
    commands.stepUp(10);
    commands.needleUp();
    commands.needleDown(1);
    commands.off();
    commands.endPrint();
    commands.setStrike({14, 10, 5, 2});
    EXPECT_FALSE(commands.progXMotor(0x60, 16));
    EXPECT_FALSE(commands.printLine(CommandSet::Direction::Forward, "123"));
    EXPECT_TRUE(line.writtenBytes().isEmpty());

    commands.beginPrint(); // the one command that goes out regardless
    EXPECT_EQ(frameAt(0), hexBytes("1b3700002c"));
}

TEST_F(CommandSetTest, ResetErrorTimeOutGrowsWithTheFieldAndHomesThePlanPosition) {
    commands.position = {12, 34};
    line.answer({0xA0, S, 0x50});
    commands.resetError(1930, 2330);
    EXPECT_EQ(exchange.command().endTimeoutMs, 2330 * 10 + 10000 + 1930 * 6);
    EXPECT_EQ(screen.fields[Field::Edit5], "44880");
    EXPECT_EQ(commands.position.row, 0);
    EXPECT_EQ(commands.position.column, 0);
}

TEST_F(CommandSetTest, MotorProgrammingReadsTheCompletionDirectly) {
    line.answer({0xA0, 0x50});
    EXPECT_TRUE(commands.progXMotor(0x60, 16));
    EXPECT_EQ(commands.motorParameter60, 16);
    EXPECT_EQ(exchange.sequence(), 1);
    EXPECT_EQ(line.readTimeouts().size(), 2u); // no end wait, no burst

    line.answer({0xA1, 0x51});
    EXPECT_TRUE(commands.progYMotor(0x61, 20));
    EXPECT_EQ(commands.stepTimeFactor, 20);
}

TEST_F(CommandSetTest, AnotherCompletionByteMirrorsTheParameterThatWasSent) {
    // Taken and confirmed, but completed with an unexpected byte: the driver applied the
    // setting, so later time-outs and strike profiles must use it.
    line.answer({0xA0, 0x77});
    EXPECT_FALSE(commands.progXMotor(0x60, 16));
    EXPECT_EQ(commands.motorParameter60, 16);
    EXPECT_EQ(commands.stepTimeFactor, 12);
    line.answer({0xA1, 0x33});
    EXPECT_FALSE(commands.progYMotor(0x61, 99));
    EXPECT_EQ(commands.stepTimeFactor, 99);
    EXPECT_EQ(commands.motorParameter60, 16);
    EXPECT_TRUE(exchange.linkActive());
    EXPECT_EQ(screen.menuState, MenuState::LinkUp);
    EXPECT_EQ(exchange.sequence(), 2);
    EXPECT_TRUE(screen.messages.isEmpty());
}

TEST_F(CommandSetTest, ALostMotorCompletionIsAskedForWithTheBurst) {
    // Completed and idle at its next number; then a driver still waiting for the
    // confirmation, which the burst gives, completes; then one that says nothing.
    line.answer({0xA0, S, 0x91});
    EXPECT_TRUE(commands.progXMotor(0x60, 16));
    line.answer({0xA1, S, 0x21, 0x51});
    EXPECT_TRUE(commands.progYMotor(0x61, 20));
    EXPECT_EQ(exchange.sequence(), 2);
    EXPECT_EQ(exchange.missedAnswers(), 2);
    EXPECT_EQ(commands.motorParameter60, 16);
    EXPECT_EQ(commands.stepTimeFactor, 20);
    EXPECT_TRUE(screen.messages.isEmpty());
    line.answer({0xA2});
    EXPECT_FALSE(commands.progYMotor(0x60, 17));
    EXPECT_EQ(screen.messages, QStringList{"Устройство не отвечает ProgY_Motor"});
    EXPECT_FALSE(exchange.linkActive());
}

TEST_F(CommandSetTest, MotorDriverSilentAfterAFailedSendIsNamedToo) {
    // Nothing answers: the send fails ("Ошибка команды"), and the completion read that
    // follows it finds nothing either.
    EXPECT_FALSE(commands.progXMotor(0x60, 16));
    EXPECT_EQ(screen.messages,
              (QStringList{"Ошибка команды ProgX_Motor", "Устройство не отвечаетProgX_Motor"}));
    EXPECT_EQ(line.readTimeouts().size(), 7u + 1u);
    exchange.setLinkActive(true);
    screen.clear();
    EXPECT_FALSE(commands.progYMotor(0x60, 16));
    EXPECT_EQ(screen.messages,
              (QStringList{"Ошибка команды ProgY_Motor", "Устройство не отвечает ProgY_Motor"}));
    EXPECT_FALSE(exchange.linkActive());
    EXPECT_TRUE(exchange.linkError());
    EXPECT_EQ(commands.motorParameter60, 1);
}

TEST_F(CommandSetTest, LateByteAfterAFailedSendDoesNotBringTheLinkBack) {
    line.answer({S, S, S, S, S, S, S, 0x50});
    EXPECT_FALSE(commands.progXMotor(0x60, 16));
    EXPECT_EQ(screen.messages, QStringList{"Ошибка команды ProgX_Motor"});
    EXPECT_FALSE(exchange.linkActive());
    EXPECT_EQ(screen.menuState, MenuState::LinkLost);
    EXPECT_EQ(commands.motorParameter60, 1);
    EXPECT_EQ(exchange.sequence(), 0);
}

TEST_F(CommandSetTest, StrikeProfileOfTheWorkedExample) {
    // S = 12 × 1; level 4 lies in the first case (2L <= S).
    const StrikeProfile p = computeStrikeProfile({4, 4, 4, 4}, 12, 1, 32, 23);
    const std::array<quint8, 8> expected{0x08, 0x02, 0x07, 0x02, 0x05, 0x02, 0x01, 0x02};
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), p.bytes.begin()));
    EXPECT_EQ(p.stepDuration, 59); // trunc(12 × 2.4375 + 30)
    // d = 2 × 23 + 4 × 2 × 32 = 302; trunc(302 × 0.1085) + 130
    EXPECT_EQ(p.strikeDurations[0], 162);
}

TEST_F(CommandSetTest, StrikeProfileOtherCasesAndByteLimit) {
    // L = 10, S = 12: 2L > S >= L.  L = 20 > S.
    const StrikeProfile p = computeStrikeProfile({1, 1, 20, 10}, 12, 1, 64, 46);
    const std::array<quint8, 16> expected{7, 4, 8, 1, 5, 5, 1, 5, 7, 10, 5, 4, 8, 6, 1, 10};
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), p.bytes.begin()));
    EXPECT_EQ(p.strikeDurations[0], static_cast<int>((4 * 64 + 1 * 46 + 15 * 64) * 0.1085) + 130);
    EXPECT_EQ(p.strikeDurations[1], static_cast<int>((30 * 64 + 4 * 64 + 6 * 46) * 0.1085) + 130);
    EXPECT_FALSE(p.clamped);

    const StrikeProfile big = computeStrikeProfile({1, 1, 1, 1}, 255, 25, 64, 46);
    EXPECT_TRUE(big.clamped);
    EXPECT_EQ(big.bytes[1], 255);
}

TEST_F(CommandSetTest, SetStrikeSendsTheHeaderAndEightFrames) {
    for (int s = 0; s < 9; ++s)
        line.answer({0xA0 + s, 0x50 + s});
    commands.setStrike({4, 4, 4, 4});
    EXPECT_EQ(frameAt(0).left(4), hexBytes("1b440101"));
    EXPECT_EQ(frameAt(6).left(4), hexBytes("08020702"));
    EXPECT_EQ(frameAt(12).left(4), hexBytes("05020102"));
    EXPECT_EQ(exchange.sequence(), 9);
    EXPECT_EQ(commands.strikeDurations[3], 162);
}

TEST_F(CommandSetTest, PrintDigitsArePackedTwoPerByte) {
    EXPECT_EQ(packPrintDigits("123"), hexBytes("12300000"));
    EXPECT_EQ(packPrintDigits("123456789"), hexBytes("1234567890000000"));
    EXPECT_EQ(packPrintDigits(""), QByteArray());
}

TEST_F(CommandSetTest, ForwardPrintLineSendsHeaderDataAndMovesTheColumn) {
    line.answer({0xA0, 0x50, 0xA1, 0x61, 0x52});
    EXPECT_TRUE(commands.printLine(CommandSet::Direction::Forward, "123"));
    EXPECT_EQ(frameAt(0), hexBytes("1b21000339"));
    EXPECT_EQ(frameAt(6).left(4), hexBytes("12300000"));
    EXPECT_EQ(commands.position.column, 3);
    EXPECT_EQ(exchange.sequence(), 3);
}

TEST_F(CommandSetTest, BackwardLineOf256DotsGreetsFirst) {
    line.answer({0xA0, 0x50}); // greeting
    line.answer({0xA1, 0x51});
    for (int s = 2; s < 34; ++s)
        line.answer({0xA0 + (s & 15), 0x60 + (s & 15)});
    line.answer({0x50 + (34 & 15)});
    EXPECT_TRUE(commands.printLine(CommandSet::Direction::Backward, QString(256, '4')));
    EXPECT_EQ(frameAt(0), hexBytes("1b0100001a"));
    EXPECT_EQ(frameAt(6).left(4), hexBytes("1b200100"));
    EXPECT_EQ(commands.position.column, -256);
    EXPECT_TRUE(exchange.linkActive());
    EXPECT_EQ(line.pendingAnswers(), 0u);
}

TEST_F(CommandSetTest, FailedGreetingBeforeABackwardLineSetsTheLinkError) {
    // A run tests the link-error flag to stop; the greeting alone does not set it.
    EXPECT_FALSE(commands.printLine(CommandSet::Direction::Backward, QString(512, '1')));
    EXPECT_FALSE(exchange.linkActive());
    EXPECT_TRUE(exchange.linkError());
    EXPECT_EQ(line.writtenBytes().left(5), hexBytes("1b0100001a"));
    EXPECT_FALSE(line.writtenBytes().contains(hexBytes("1b200200")));
    EXPECT_EQ(commands.position.column, 0);
}

TEST_F(CommandSetTest, GreetingLeavesTheNameOfTheCommandBefore) {
    exchange.setCommand({0x1B, 0x11, 0x00, 0x09}, "StepDown", 3500);
    line.answer({0xA0, 0x50});
    exchange.greeting();
    EXPECT_EQ(exchange.command().name, "StepDown");
    // The nameless warm-up stroke right after it is logged and reported as "StepDown".
    line.answer({0xA1});
    commands.warmUpStroke();
    EXPECT_TRUE(exchange.log().currentLine().startsWith("1; StepDown; "))
        << exchange.log().currentLine().toStdString();
    EXPECT_EQ(screen.messages, QStringList{"Устройство не отвечает StepDown"});
}

TEST_F(CommandSetTest, InvalidPrintLinesAreRefused) {
    EXPECT_FALSE(commands.printLine(CommandSet::Direction::Forward, "12a"));
    EXPECT_FALSE(commands.printLine(CommandSet::Direction::Forward, QString(65536, '1')));
    EXPECT_TRUE(line.writtenBytes().isEmpty());
}

TEST_F(CommandSetTest, HowReadsEchoesAndDecodesThePosition) {
    line.answer({0xA0, 0x50, 0x01, 0x02, 0x03, 0x04, 0x99, 0x51});
    EXPECT_TRUE(commands.how());
    EXPECT_EQ(line.writtenBytes().mid(6), hexBytes("0102030404"));
    EXPECT_EQ(commands.reportedRow, (1 * 256 + 2) / 2);
    EXPECT_EQ(commands.reportedColumn, 3 * 256 + 4);
    EXPECT_EQ(screen.fields[Field::Edit3], "129");
}

TEST_F(CommandSetTest, HowGivesUpOnASilentDevice) {
    line.answer({0xA0, 0x50, 0x01});
    EXPECT_FALSE(commands.how());
    EXPECT_FALSE(exchange.linkActive());
    EXPECT_TRUE(exchange.linkError());
    EXPECT_EQ(screen.messages, QStringList{"Устройство не отвечает How"});
    EXPECT_LE(clock.monotonicMs(), 10 * 500);
}

TEST_F(CommandSetTest, MonitorAnswersEachByteAndShowsThePosition) {
    line.answer({0xA0, 0x50, 0x00, 0x10, 0x00, 0x20, 0x51});
    commands.monitor(true);
    EXPECT_EQ(line.writtenBytes().mid(6), hexBytes("0a0a0a0a"));
    EXPECT_EQ(screen.fields[Field::RealPosY], "8");
    EXPECT_EQ(screen.fields[Field::RealPosX], "32");
}

TEST_F(CommandSetTest, DeviceTextIsThirtyThreeMemoryReads) {
    const QByteArray text = "ZUK engraver 5.6 serial 000012345";
    for (int i = 0; i < 33; ++i)
        line.answer({0xA0 + (i & 15), text[i], 0x50 + (i & 15)});
    EXPECT_EQ(commands.deviceText(), QString::fromLatin1(text));
    EXPECT_EQ(frameAt(0).left(4), hexBytes("1b585000"));
}

TEST_F(CommandSetTest, LinkTimingIsTheTimeOfOneHundredAndOneGreetings) {
    for (int i = 0; i < 101; ++i)
        line.answer({0xA0 + (i & 15), 0x50 + (i & 15)});
    commands.measureLinkTiming();
    EXPECT_EQ(commands.linkDelayMs, 400); // no time passed on the scripted line
    EXPECT_EQ(line.pendingAnswers(), 0u);

    exchange.setLinkActive(false);
    commands.measureLinkTiming();
    EXPECT_EQ(commands.linkDelayMs, 400);
}

TEST_F(CommandSetTest, LinkTimingStopsAtTheFirstFailedGreeting) {
    line.answer({0xA0, 0x50});
    commands.measureLinkTiming();
    EXPECT_EQ(screen.messages.size(), 1);
    EXPECT_EQ(commands.linkDelayMs, 3500);
}

} // namespace
} // namespace zuk::test
