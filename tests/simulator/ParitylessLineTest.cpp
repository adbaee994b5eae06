// Recognising the resynchronisation burst on a line without parity (zuk-devsim's terminal).
#include "simulator/ParitylessLine.h"
#include "ScriptedHost.h"

#include <gtest/gtest.h>

namespace zuk::sim::test {

namespace {

// A host on a parity-less line: every byte goes through ParitylessLine.
class PlainLine {
public:
    Engraver device;
    ParitylessLine line{device};
    qint64 now = 0;
    quint8 s = 0;

    void write(const QByteArray& bytes) {
        for (char b : bytes)
            line.receive(static_cast<quint8>(b), now);
    }
    void writeFrame(const QByteArray& four) { write(ScriptedHost::frame(four, s)); }
    std::optional<quint8> read(qint64 waitMs = 500) {
        const qint64 deadline = now + waitMs;
        while (now <= deadline) {
            line.advanceTo(now);
            if (std::optional<quint8> b = device.takeAnswer(now))
                return b;
            ++now;
        }
        now = deadline;
        return std::nullopt;
    }
    void command(const QByteArray& four, quint8 completion = 0x50) {
        writeFrame(four);
        EXPECT_EQ(read(), std::optional<quint8>(0xA0 + s));
        write(QByteArray(1, static_cast<char>(s ^ 0x22)));
        EXPECT_EQ(read(), std::optional<quint8>(completion + s));
        s = next(s);
    }
};

} // namespace

TEST(ParitylessLine, FramesAndConfirmationsPassAsLineBytes) {
    PlainLine host;
    host.command(QByteArray::fromHex("1B010000"));
    host.command(QByteArray::fromHex("1B370000"));
    EXPECT_EQ(host.device.counters().resynchronisations, 0);
    EXPECT_EQ(host.device.counters().violationCount, 0);
}

TEST(ParitylessLine, BurstBytesAreRecognisedWhereNoFrameCanStart) {
    PlainLine host;
    host.command(QByteArray::fromHex("1B010000"));
    host.write(QByteArray::fromHex("81"));
    EXPECT_EQ(host.read(), std::optional<quint8>(0x91)); // idle: refusal naming its number
    // Waiting for a confirmation: 0x20 + s, and 0x03 confirms.
    host.writeFrame(QByteArray::fromHex("1BFE0101"));
    EXPECT_EQ(host.read(), std::optional<quint8>(0xA1));
    host.write(QByteArray::fromHex("81"));
    EXPECT_EQ(host.read(), std::optional<quint8>(0x21));
    host.write(QByteArray::fromHex("03"));
    EXPECT_EQ(host.read(), std::optional<quint8>(0x51));
    EXPECT_TRUE(host.device.machine().needleDown);
    EXPECT_EQ(host.device.counters().resynchronisations, 2);
    EXPECT_EQ(host.device.counters().violationCount, 0);
}

TEST(ParitylessLine, PrintDataStartingWithABurstValueIsTakenAsDataWhenTheFrameFollows) {
    PlainLine host;
    host.command(QByteArray::fromHex("1B210008"));
    host.command(QByteArray::fromHex("18000000"), 0x60); // dots 1, 8, 0...
    EXPECT_EQ(host.device.counters().dataFrames, 1);
    EXPECT_EQ(host.device.counters().resynchronisations, 0);
    EXPECT_EQ(host.read(), std::optional<quint8>(0x52)); // the line's completion
}

TEST(ParitylessLine, ALoneBurstValueWhereDataCouldStartIsABurstOnceTheHoldRunsOut) {
    PlainLine host;
    host.command(QByteArray::fromHex("1B210008"));
    host.write(QByteArray::fromHex("18"));
    const qint64 sent = host.now;
    EXPECT_EQ(host.read(), std::optional<quint8>(0x91));
    EXPECT_GE(host.now - sent, ParitylessLine::kHoldMs);
    EXPECT_LE(host.now - sent, ParitylessLine::kHoldMs + 2);
    EXPECT_EQ(host.device.counters().resynchronisations, 1);
    // The print line is still waiting for its data frame.
    host.command(QByteArray::fromHex("10000000"), 0x60);
    EXPECT_EQ(host.device.counters().dataFrames, 1);
}

TEST(ParitylessLine, EchoOfAReportByteThatLooksLikeABurstIsAnEcho) {
    PlainLine host;
    host.writeFrame(QByteArray::fromHex("1B120080")); // Left 129 columns: column 0x0081
    EXPECT_EQ(host.read(), std::optional<quint8>(0xA0));
    host.write(QByteArray::fromHex("22"));
    EXPECT_EQ(host.read(1000), std::optional<quint8>(0x50));
    host.s = 1;
    host.command(QByteArray::fromHex("1B360000"));
    for (quint8 expected : {0x00, 0x00, 0x00, 0x81}) {
        EXPECT_EQ(host.read(), std::optional<quint8>(expected));
        host.write(QByteArray(1, static_cast<char>(expected)));
    }
    EXPECT_EQ(host.read(), std::optional<quint8>(0x81)); // fifth byte: XOR of the four
    host.write(QByteArray::fromHex("81"));
    EXPECT_EQ(host.read(), std::optional<quint8>(0x52));
    EXPECT_EQ(host.device.counters().resynchronisations, 0);
    EXPECT_EQ(host.device.counters().violationCount, 0);
}

} // namespace zuk::sim::test
