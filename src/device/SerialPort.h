#pragma once

#include "device/ByteTransport.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace zuk {

// The one serial port of the program: open, close, parity switch and byte-level reads and
// writes. It knows nothing about commands. Results are booleans; nothing throws.
class SerialPort {
public:
    // A read that gets nothing gives up after this long.
    static constexpr int kReadTimeoutMs = 500;

    explicit SerialPort(TransportFactory factory) : factory_(std::move(factory)) {}

    // "com1".."com8", a device path, or "sim" for the built-in simulated engraver.
    const QString& portName() const { return portName_; }
    void setPortName(const QString& name) { portName_ = name; }

    // Opens the port by name at 19200 baud, 8 data bits, 2 stop bits, even parity.
    // A port that was open is closed first: there is never more than one.
    bool openPort();
    void closePort();
    bool isOpen() const { return transport_ != nullptr; }
    // The open line has gone away by itself (see ByteTransport::lost): nothing goes through
    // it any more, and it waits for its owner to close it.
    bool lineLost() const { return transport_ && transport_->lost(); }
    // Called once for every line opened from now on that goes away by itself, from the event
    // loop or from inside a call on the line: it only takes note (see ByteTransport).
    void setLostHandler(std::function<void()> handler) { lostHandler_ = std::move(handler); }
    // Called while a read waits for the device (see ByteTransport::setWaitHook); given to
    // every line the port opens.
    void setWaitHook(std::function<void()> hook) { waitHook_ = std::move(hook); }

    void setOddParity();
    void setEvenParity();
    // One write call of one byte; true when it was written.
    bool writeByte(quint8 byte);
    // One read of one byte, at most kReadTimeoutMs; byte keeps its value when nothing came.
    bool readByte(quint8& byte);
    // Writes the string (a frame) in one call of the line where the line allows it; true
    // when every byte was written (always for an empty string).
    bool writeBytes(const QByteArray& bytes);

private:
    TransportFactory factory_;
    std::function<void()> lostHandler_;
    std::function<void()> waitHook_;
    QString portName_;
    std::unique_ptr<ByteTransport> transport_;
};

// The platform's device path of a port name: "com1".."com8" name the first eight serial
// ports (COM1.. on Windows, /dev/ttyS0.. elsewhere); any other name is used as it is.
QString devicePathForPort(const QString& portName);

} // namespace zuk
