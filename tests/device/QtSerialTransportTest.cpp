#include "device/QtSerialTransport.h"
#include "device/SerialPort.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace zuk::test {
namespace {

// A pseudo-terminal pair: the test holds the master side, the transport opens the slave
// path as it would open a serial device.
class PseudoTerminal {
public:
    PseudoTerminal() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
            return;
        termios raw{};
        ::tcgetattr(master_, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(master_, TCSANOW, &raw);
        path_ = QString::fromLocal8Bit(::ptsname(master_));
    }
    ~PseudoTerminal() {
        if (master_ >= 0)
            ::close(master_);
    }
    const QString& path() const { return path_; }
    void send(const QByteArray& bytes) {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), bytes.size());
    }
    QByteArray receive(int count) {
        QByteArray bytes;
        for (int tries = 0; bytes.size() < count && tries < 200; ++tries) {
            char buffer[64];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0)
                bytes.append(buffer, n);
            else
                ::usleep(5000);
        }
        return bytes;
    }
    void makeNonBlocking() { ::fcntl(master_, F_SETFL, O_NONBLOCK); }

private:
    int master_ = -1;
    QString path_;
};

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
