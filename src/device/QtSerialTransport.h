#pragma once

#include "device/ByteTransport.h"

#include <QSerialPort>

#include <memory>

namespace zuk {

// A real serial line (or a pseudo-terminal) through QSerialPort, in blocking use:
// 19200 baud, 8 data bits, 2 stop bits, even parity after opening.
class QtSerialTransport final : public ByteTransport {
public:
    // Opens the device at the path exclusively; nullptr when it cannot be opened.
    static std::unique_ptr<QtSerialTransport> open(const QString& devicePath);

    bool setParity(Parity parity) override;
    bool writeByte(quint8 byte) override;
    // One write of the whole string, then one wait until the driver has it.
    bool writeBytes(QByteArrayView bytes) override;
    std::optional<quint8> readByte(int timeoutMs) override;

private:
    QtSerialTransport() = default;
    // Waits until every byte written so far has left the port, so that a parity switch
    // cannot change the parity of bytes still queued in the operating system.
    bool drainOutput();

    QSerialPort port_;
};

} // namespace zuk
