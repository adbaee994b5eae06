#include "device/QtSerialTransport.h"

#include <QDeadlineTimer>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <poll.h>
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
    line->watchForHangUp();
    return line;
}

// The watch, declared after the port, goes before the port closes its descriptor.
QtSerialTransport::~QtSerialTransport() = default;

void QtSerialTransport::watchForHangUp() {
    // The port's resource error (the device removed) comes from inside its own calls: the
    // line is closed after them, from the event loop.
    QObject::connect(
        &port_, &QSerialPort::errorOccurred, &port_,
        [this](QSerialPort::SerialPortError error) {
            if (error == QSerialPort::ResourceError)
                lose();
        },
        Qt::QueuedConnection);
#ifdef Q_OS_UNIX
    // A hang-up makes the descriptor report an error condition, which an exception notifier
    // sees in the event loop, where the port's own reads of nothing do not say so.
    hangUpWatch_ = std::make_unique<QSocketNotifier>(port_.handle(), QSocketNotifier::Exception);
    QObject::connect(hangUpWatch_.get(), &QSocketNotifier::activated, &port_, [this] {
        if (hungUp())
            lose();
    });
#endif
}

bool QtSerialTransport::hungUp() const {
    if (!port_.isOpen())
        return false;
#ifdef Q_OS_UNIX
    pollfd watched{static_cast<int>(port_.handle()), POLLIN, 0};
    return ::poll(&watched, 1, 0) == 1 && (watched.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
#else
    return port_.error() == QSerialPort::ResourceError;
#endif
}

void QtSerialTransport::checkHangUp() {
    if (!lost_ && hungUp())
        lose();
}

void QtSerialTransport::lose() {
    if (lost_)
        return;
    lost_ = true;
    if (hangUpWatch_)
        hangUpWatch_->setEnabled(false);
    port_.close();
    if (lostHandler_)
        lostHandler_();
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
    if (lost_)
        return false;
    drainOutput();
    return port_.setParity(parity == Parity::Odd ? QSerialPort::OddParity
                                                 : QSerialPort::EvenParity);
}

bool QtSerialTransport::writeByte(quint8 byte) {
    const char c = static_cast<char>(byte);
    return writeBytes(QByteArrayView(&c, 1));
}

bool QtSerialTransport::writeBytes(QByteArrayView bytes) {
    if (lost_)
        return false;
    if (port_.write(bytes.data(), bytes.size()) != bytes.size()) {
        checkHangUp();
        return false;
    }
    while (port_.bytesToWrite() > 0) {
        if (!port_.waitForBytesWritten(kWriteTimeoutMs)) {
            port_.clear(QSerialPort::Output);
            checkHangUp();
            return false;
        }
    }
    return true;
}

std::optional<quint8> QtSerialTransport::readByte(int timeoutMs) {
    const std::optional<quint8> byte = readByteWaiting(timeoutMs);
    if (waitHook_ && !lost_)
        waitHook_();
    return byte;
}

std::optional<quint8> QtSerialTransport::readByteWaiting(int timeoutMs) {
    if (lost_)
        return std::nullopt;
    QDeadlineTimer deadline(timeoutMs);
    while (port_.bytesAvailable() == 0) {
        const qint64 left = deadline.remainingTime();
        // With a wait hook the wait goes in slices, the hook called between them.
        const qint64 slice = waitHook_ ? std::min<qint64>(left, kWaitSliceMs) : left;
        if (left > 0 && port_.waitForReadyRead(static_cast<int>(slice)))
            continue;
        if (port_.bytesAvailable() > 0)
            break;
        if (slice >= left) {
            checkHangUp();
            return std::nullopt;
        }
        waitHook_();
        if (lost_)
            return std::nullopt;
    }
    char c = 0;
    if (port_.read(&c, 1) != 1)
        return std::nullopt;
    return static_cast<quint8>(c);
}

} // namespace zuk
