#include "device/QtSerialTransport.h"
#include "device/SerialPort.h"
#include "support/PseudoTerminal.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

namespace zuk::test {
namespace {

TEST(QtSerialTransport, ExchangesBytesOverAPseudoTerminal) {
    PseudoTerminal pty;
    ASSERT_FALSE(pty.path().isEmpty());
    pty.makeNonBlocking();
    auto line = QtSerialTransport::open(pty.path());
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->writeByte(0x1B));
    EXPECT_TRUE(line->setParity(Parity::Odd));
    EXPECT_TRUE(line->writeByte(0x81));
    EXPECT_TRUE(line->setParity(Parity::Even));
    EXPECT_EQ(pty.receive(2), QByteArray::fromHex("1b81"));
    EXPECT_TRUE(line->writeBytes(QByteArray::fromHex("1b0100001a")));
    EXPECT_EQ(pty.receive(5), QByteArray::fromHex("1b0100001a"));
    pty.send(QByteArray::fromHex("a050"));
    EXPECT_EQ(line->readByte(500), std::optional<quint8>(0xA0));
    EXPECT_EQ(line->readByte(500), std::optional<quint8>(0x50));
}

TEST(QtSerialTransport, ReadGivesUpAfterItsTimeLimit) {
    PseudoTerminal pty;
    auto line = QtSerialTransport::open(pty.path());
    ASSERT_NE(line, nullptr);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(line->readByte(100), std::nullopt);
    EXPECT_GE(timer.elapsed(), 90);
    EXPECT_LT(timer.elapsed(), 2000);
}

// The other end hangs up while the line idles in the event loop, or while it is read: the
// line closes itself at once and tells its handler once.
TEST(QtSerialTransport, AHangUpOfTheOtherEndClosesTheLineAndIsToldOnce) {
    for (const bool duringARead : {false, true}) {
        SCOPED_TRACE(duringARead ? "during a read" : "in the event loop");
        PseudoTerminal pty;
        auto line = QtSerialTransport::open(pty.path());
        ASSERT_NE(line, nullptr);
        int told = 0;
        line->setLostHandler([&told] { ++told; });
        EXPECT_TRUE(line->writeBytes(QByteArray::fromHex("1b0100001a")));
        pty.hangUp();
        if (duringARead) {
            QElapsedTimer timer;
            timer.start();
            EXPECT_EQ(line->readByte(500), std::nullopt);
            EXPECT_LT(timer.elapsed(), 400) << "a hung-up line is not waited for";
            EXPECT_EQ(told, 1);
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return told > 0; }, 2000));
        QTest::qWait(50);
        EXPECT_EQ(told, 1);
        EXPECT_TRUE(line->lost());
        EXPECT_FALSE(line->writeByte(0x1B));
        EXPECT_FALSE(line->setParity(Parity::Odd));
        EXPECT_EQ(line->readByte(500), std::nullopt);
    }
}

TEST(SerialPortTest, PortThatCannotBeOpenedFailsItsWrites) {
    SerialPort port([](const QString& name) -> std::unique_ptr<ByteTransport> {
        return QtSerialTransport::open(devicePathForPort(name));
    });
    port.setPortName("/dev/zuk-no-such-port");
    EXPECT_FALSE(port.openPort());
    EXPECT_FALSE(port.writeByte(0x1B));
    quint8 b = 0x42;
    EXPECT_FALSE(port.readByte(b));
    EXPECT_EQ(b, 0x42);
    EXPECT_FALSE(port.writeBytes(QByteArray::fromHex("1b01")));
    EXPECT_TRUE(port.writeBytes(QByteArray()));
}

TEST(SerialPortTest, ComNamesMapToThePlatformsPorts) {
    EXPECT_EQ(devicePathForPort("com1"), "/dev/ttyS0");
    EXPECT_EQ(devicePathForPort("COM8"), "/dev/ttyS7");
    EXPECT_EQ(devicePathForPort("com9"), "com9");
    EXPECT_EQ(devicePathForPort("/dev/ttyUSB0"), "/dev/ttyUSB0");
}

} // namespace
} // namespace zuk::test
