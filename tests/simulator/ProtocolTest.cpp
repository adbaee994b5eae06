// The engraver's side of the frame exchange, driven with exact host bytes.
#include "ScriptedHost.h"

#include <gtest/gtest.h>

namespace zuk::sim::test {

TEST(EngraverProtocol, GreetingAtSequenceZeroIsAnsweredWithinMilliseconds) {
    ScriptedHost host;
    host.write({0x1B, 0x01, 0x00, 0x00, 0x1A});
    host.expectRead(0xA0);
    EXPECT_LE(host.clock.monotonicMs(), 2);
    host.write({0x22});
    host.expectRead(0x50);
    EXPECT_LE(host.clock.monotonicMs(), 10);
    EXPECT_EQ(host.engraver().sequenceNumber(), 1);
    EXPECT_EQ(host.engraver().counters().commandCount(CommandKind::Greeting), 1);
    EXPECT_EQ(host.engraver().counters().violationCount, 0);
}

TEST(EngraverProtocol, SequenceNumberRunsThroughAllSixteenValuesAndWraps) {
    ScriptedHost host;
    for (int i = 0; i < 17; ++i)
        host.greet();
    EXPECT_EQ(host.s, 1);
    EXPECT_EQ(host.engraver().sequenceNumber(), 1);
    EXPECT_EQ(host.engraver().counters().violationCount, 0);
}

TEST(EngraverProtocol, GreetingAtAForeignNumberIsRefusedWithTheDevicesOwnAndNotCountedAsViolation) {
    ScriptedHost host;
    for (int i = 0; i < 5; ++i)
        host.greet();
    host.s = 0; // a host that starts afresh
    host.writeFrame(QByteArray::fromHex("1B010000"));
    host.expectRead(0x95);
    host.s = 5; // adopts the number named by the refusal
    host.greet();
    EXPECT_EQ(host.engraver().counters().violationCount, 0);
    EXPECT_EQ(host.engraver().counters().refusedBadCheck, 1);
}

TEST(EngraverProtocol, BadCheckByteIsRefusedAndReportedAndTheSameFrameThenSucceeds) {
    ScriptedHost host;
    host.greet();
    host.write({0x1B, 0xFF, 0x01, 0x01, 0x77});
    host.expectRead(0x90 + host.s);
    EXPECT_TRUE(hasViolation(host.engraver(), QStringLiteral("bad check byte 77")));
    host.command(QByteArray::fromHex("1BFF0101"));
    EXPECT_EQ(host.engraver().counters().commandCount(CommandKind::NeedleUp), 1);
}

TEST(EngraverProtocol, CommandFrameAtAnotherSequenceNumberIsAViolation) {
    ScriptedHost host;
    host.greet();
    host.writeBytes(ScriptedHost::frame(QByteArray::fromHex("1BFF0101"), 7));
    host.expectRead(0x91);
    EXPECT_TRUE(hasViolation(host.engraver(),
                             QStringLiteral("sequence number 7 while the device is at 1")));
}

TEST(EngraverProtocol, WrongConfirmationIsReportedAndTheCommandIsNotCarriedOut) {
    ScriptedHost host;
    host.writeFrame(QByteArray::fromHex("1BFE0000"));
    host.expectRead(0xA0);
    host.write({0x23}); // s XOR 0x22 would be 0x22
    host.expectSilence();
    EXPECT_TRUE(hasViolation(host.engraver(), QStringLiteral("confirmation 23 where 22 belongs")));
    EXPECT_FALSE(host.engraver().machine().needleDown);
    // The host's completion wait runs out, its burst finds the device idle at the same number:
    // 0x90 + s tells it to send the command again.
    EXPECT_EQ(host.burst(), std::optional<quint8>(0x90));
    host.command(QByteArray::fromHex("1BFE0000"));
    EXPECT_TRUE(host.engraver().machine().needleDown);
}

TEST(EngraverProtocol, OffCompletesWithoutAdvancingTheSequenceNumber) {
    ScriptedHost host;
    for (int i = 0; i < 15; ++i)
        host.greet();
    ASSERT_EQ(host.s, 15);
    host.command(QByteArray::fromHex("1BFD0101")); // host: EndWait 15 -> 0, then steps back
    host.s = 15;
    EXPECT_EQ(host.engraver().sequenceNumber(), 15);
    host.greet();
    EXPECT_EQ(host.engraver().counters().violationCount, 0);
}

TEST(EngraverProtocol, BurstWhileWaitingForConfirmationAnswers20AndTakes03AsConfirmation) {
    ScriptedHost host;
    host.greet();
    host.writeFrame(QByteArray::fromHex("1BFE0101"));
    ASSERT_EQ(host.read(), std::optional<quint8>(0xA1));
    // As if 0xA1 had been lost: the host resynchronises instead of confirming.
    EXPECT_EQ(host.burst(), std::optional<quint8>(0x21)); // burst() writes 0x03
    host.expectRead(0x51);
    EXPECT_TRUE(host.engraver().machine().needleDown);
    EXPECT_EQ(host.engraver().counters().resynchronisations, 1);
    EXPECT_EQ(host.engraver().counters().violationCount, 0);
}

TEST(EngraverProtocol, ResynchronisedGreetingIsDroppedBecauseTheHostGreetsAnew) {
    ScriptedHost host;
    host.writeFrame(QByteArray::fromHex("1B010000"));
    ASSERT_EQ(host.read(), std::optional<quint8>(0xA0));
    EXPECT_EQ(host.burst(), std::optional<quint8>(0x20));
    host.expectSilence();
    host.greet();
    EXPECT_EQ(host.engraver().counters().commandCount(CommandKind::Greeting), 1);
    EXPECT_EQ(host.engraver().counters().violationCount, 0);
}

TEST(EngraverProtocol, BurstWhenIdleAfterACompletionNamesTheNextNumber) {
    ScriptedHost host;
    host.sendAndConfirm(QByteArray::fromHex("1BFF0101"));
    ASSERT_EQ(host.read(), std::optional<quint8>(0x50));
    // The host missed that completion: its burst is answered 0x90 + next(s).
    EXPECT_EQ(host.burst(), std::optional<quint8>(0x91));
    EXPECT_EQ(host.engraver().counters().burstAnswersRefusal, 1);
}

TEST(EngraverProtocol, BurstDiscardsAPartialFrameAndTheRefusalMakesTheHostRepeatIt) {
    ScriptedHost host;
    host.write({0x1B, 0xFF, 0x01});
    host.expectSilence();
    EXPECT_EQ(host.burst(), std::optional<quint8>(0x90));
    EXPECT_TRUE(hasViolation(host.engraver(), QStringLiteral("incomplete frame 1B FF 01")));
    host.command(QByteArray::fromHex("1BFF0101"));
}

TEST(EngraverProtocol, BurstBytesAreCheckedAgainstTheBurstSequence) {
    ScriptedHost host;
    host.write({0x42}, Parity::Odd);
    host.expectRead(0x90);
    EXPECT_TRUE(
        hasViolation(host.engraver(), QStringLiteral("byte 42 in a resynchronisation burst")));
}

TEST(EngraverProtocol, PartialFrameIsDroppedAfterAPause) {
    ScriptedHost host;
    host.write({0x1B, 0x01});
    host.clock.advance(200);
    host.writeFrame(QByteArray::fromHex("1B010000"));
    host.expectRead(0xA0);
    EXPECT_TRUE(hasViolation(host.engraver(), QStringLiteral("incomplete frame 1B 01 dropped")));
}

TEST(EngraverProtocol, DataFrameOutsideAPrintLineIsReportedAndAnsweredLikeData) {
    ScriptedHost host;
    host.sendAndConfirm(QByteArray::fromHex("12300000"));
    host.expectRead(0x60);
    EXPECT_TRUE(hasViolation(host.engraver(),
                             QStringLiteral("data frame 12 30 00 00 outside a print line")));
}

TEST(EngraverProtocol, ByteWhileBusyIsAViolation) {
    ScriptedHost host;
    host.sendAndConfirm(QByteArray::fromHex("1B030101")); // warm-up stroke, 250 ms
    host.write({0x1B});
    EXPECT_TRUE(hasViolation(host.engraver(), QStringLiteral("byte 1B while the device is busy")));
    host.expectRead(0x50);
}

TEST(EngraverProtocol, UnknownCommandAndWrongOperandsAreReportedButCompleted) {
    ScriptedHost host;
    host.command(QByteArray::fromHex("1B770000"));
    host.command(QByteArray::fromHex("1BFE0100"));
    host.command(QByteArray::fromHex("1B406205"));
    EXPECT_TRUE(hasViolation(host.engraver(), QStringLiteral("unknown command 1B 77")));
    EXPECT_TRUE(hasViolation(host.engraver(), QStringLiteral("Put with operands 01 00")));
    EXPECT_TRUE(hasViolation(host.engraver(), QStringLiteral("unknown motor parameter 62")));
}

TEST(EngraverProtocol, LongPrintLinesKeepTheHostInStepWhetherTheCompletionIsSentOrHeld) {
    ScriptedHost host;
    host.command(QByteArray::fromHex("1BFE0101"));
    const int levels[4] = {8, 16, 24, 32};
    host.setStrike(strikeProfileFor(12, levels));
    // Lines of 3.5 ms dots from 0.35 s to 1.4 s: the completion falls at every point of the
    // host's 500 ms reads, some within 400 ms of the last exchange, some later.
    int totalBursts = 0;
    for (int dots = 100; dots <= 400; dots += 7) {
        host.longCommand(QByteArray::fromHex("1B100001"), 4000); // a fresh row each time
        const qint64 start = host.clock.monotonicMs();
        const qint64 before = host.engraver().modelledDeviceTimeMs();
        int bursts = 0;
        host.printLine(true, QByteArray(dots, '4'), &bursts);
        const qint64 modelled = host.engraver().modelledDeviceTimeMs() - before;
        EXPECT_LE(host.clock.monotonicMs() - start, modelled + 510) << dots << " dots";
        EXPECT_LE(bursts, int(modelled / 500) + 1) << dots << " dots";
        ASSERT_EQ(host.engraver().sequenceNumber(), host.s) << dots << " dots";
        totalBursts += bursts;
    }
    const EngraverCounters& c = host.engraver().counters();
    EXPECT_GT(c.burstAnswersCompletion, 0);
    EXPECT_GT(c.burstAnswersWaiting, 0);
    EXPECT_EQ(c.resynchronisations, totalBursts);
    EXPECT_EQ(c.violationCount, 0);
    host.greet();
}

TEST(EngraverProtocol, HeldCompletionIsSentAnywayWhenNoBurstComes) {
    ScriptedHost host;
    host.command(QByteArray::fromHex("1BFE0101"));
    const int levels[4] = {8, 16, 24, 32};
    host.setStrike(strikeProfileFor(12, levels));
    host.sendAndConfirm(QByteArray::fromHex("1B210064")); // 100 dots
    host.expectRead(0x50 + host.s);
    host.s = next(host.s);
    const QByteArray packed = packDots(QByteArray(100, '4'));
    for (int i = 0; i < packed.size(); i += 4) {
        host.sendAndConfirm(packed.mid(i, 4));
        host.expectRead(0x60 + host.s);
        host.s = next(host.s);
    }
    // A host that only reads (never bursts) still gets the completion, 2 s after it was due.
    std::optional<quint8> answer;
    for (int i = 0; i < 20 && !answer; ++i)
        answer = host.read();
    EXPECT_EQ(answer, std::optional<quint8>(0x50 + host.s));
}

} // namespace zuk::sim::test
