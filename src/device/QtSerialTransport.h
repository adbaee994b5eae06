#pragma once

#include "device/ByteTransport.h"

#include <QSerialPort>

#include <memory>

class QSocketNotifier;

namespace zuk {

// A real serial line (or a pseudo-terminal) through QSerialPort, in blocking use:
// 19200 baud, 8 data bits, 2 stop bits, even parity after opening.
//
// A line whose other end hangs up (a USB adapter unplugged, the device side of a
// pseudo-terminal closed) would keep the port's descriptor readable for ever, and the event
// loop would read nothing from it as fast as it can. The line watches for that and for the
// port's resource error, at any moment: it closes the port at once and calls its lost handler.
class QtSerialTransport final : public ByteTransport {
public:
    // Opens the device at the path exclusively; nullptr when it cannot be opened.
    static std::unique_ptr<QtSerialTransport> open(const QString& devicePath);
    ~QtSerialTransport() override;

    bool setParity(Parity parity) override;
    bool writeByte(quint8 byte) override;
    // One write of the whole string, then one wait until the driver has it.
    bool writeBytes(QByteArrayView bytes) override;
    std::optional<quint8> readByte(int timeoutMs) override;
    bool lost() const override { return lost_; }
    void setLostHandler(const std::function<void()>& handler) override { lostHandler_ = handler; }
    void setWaitHook(const std::function<void()>& hook) override { waitHook_ = hook; }

private:
    QtSerialTransport() = default;
    void watchForHangUp();
    // The read itself, its wait in slices with the wait hook between them when one is set.
    std::optional<quint8> readByteWaiting(int timeoutMs);
    // Waits until every byte written so far has left the port, so that a parity switch
    // cannot change the parity of bytes still queued in the operating system.
    bool drainOutput();
    // After a call that failed: whether the other end has hung up, and if so the line is lost.
    void checkHangUp();
    bool hungUp() const;
    // Closes the port for good and tells the lost handler, once.
    void lose();

    QSerialPort port_;
    std::unique_ptr<QSocketNotifier> hangUpWatch_;
    std::function<void()> lostHandler_;
    std::function<void()> waitHook_;
    bool lost_ = false;
};

} // namespace zuk
