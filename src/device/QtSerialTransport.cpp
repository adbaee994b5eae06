#include "device/QtSerialTransport.h"

#include <QDeadlineTimer>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <termios.h>
#endif

namespace zuk {

namespace {
// A frame at 19200 baud takes about three milliseconds; a write that cannot be handed to the
// driver in this time is reported as failed.
constexpr int kWriteTimeoutMs = 1000;
} // namespace

std::unique_ptr<QtSerialTransport> QtSerialTransport::open(const QString& devicePath) {
    std::unique_ptr<QtSerialTransport> line(new QtSerialTransport);
    QSerialPort& port = line->port_;
    port.setPortName(devicePath);
    if (!port.open(QIODevice::ReadWrite))
        return nullptr;
    // Settings that fail on an unusual device (a pseudo-terminal ignores some of them)
    // leave the port usable: the first exchange tells whether a device answers.
    port.setBaudRate(QSerialPort::Baud19200);
    port.setDataBits(QSerialPort::Data8);
    port.setStopBits(QSerialPort::TwoStop);
    port.setParity(QSerialPort::EvenParity);
    port.setFlowControl(QSerialPort::NoFlowControl);
    port.clear();
    return line;
}

bool QtSerialTransport::drainOutput() {
    if (port_.bytesToWrite() > 0 && !port_.waitForBytesWritten(kWriteTimeoutMs))
        return false;
#ifdef Q_OS_UNIX
    int result;
    do {
        result = ::tcdrain(static_cast<int>(port_.handle()));
    } while (result != 0 && errno == EINTR);
    // A pseudo-terminal without a reader may refuse tcdrain; its bytes carry no parity.
    return true;
#else
    return port_.flush() || port_.bytesToWrite() == 0;
#endif
}

bool QtSerialTransport::setParity(Parity parity) {
    drainOutput();
    return port_.setParity(parity == Parity::Odd ? QSerialPort::OddParity
                                                 : QSerialPort::EvenParity);
}

bool QtSerialTransport::writeByte(quint8 byte) {
    const char c = static_cast<char>(byte);
    return writeBytes(QByteArrayView(&c, 1));
}

bool QtSerialTransport::writeBytes(QByteArrayView bytes) {
    if (port_.write(bytes.data(), bytes.size()) != bytes.size())
        return false;
    while (port_.bytesToWrite() > 0) {
        if (!port_.waitForBytesWritten(kWriteTimeoutMs)) {
            port_.clear(QSerialPort::Output);
            return false;
        }
    }
    return true;
}

std::optional<quint8> QtSerialTransport::readByte(int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (port_.bytesAvailable() == 0) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0 || !port_.waitForReadyRead(static_cast<int>(left))) {
            if (port_.bytesAvailable() == 0)
                return std::nullopt;
        }
    }
    char c = 0;
    if (port_.read(&c, 1) != 1)
        return std::nullopt;
    return static_cast<quint8>(c);
}

} // namespace zuk
