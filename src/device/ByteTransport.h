#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <optional>

namespace zuk {

enum class Parity { Even, Odd };

// One open serial line, byte by byte. Implemented by the real serial port, by the built-in
// simulated engraver and by the tests' scripted line.
class ByteTransport {
public:
    virtual ~ByteTransport() = default;
    // Switches the parity of the bytes written from now on. Bytes already written go out
    // with the parity they were written with.
    virtual bool setParity(Parity parity) = 0;
    // One write call of one byte; true when the byte was written.
    virtual bool writeByte(quint8 byte) = 0;
    // The bytes in order with the parity set now; true when every one was written. A line
    // that can hand them over in one call does (one frame, one write); this one writes them
    // one by one and goes on to the end after a failed byte.
    virtual bool writeBytes(QByteArrayView bytes) {
        bool allWritten = true;
        for (const char c : bytes)
            allWritten = writeByte(static_cast<quint8>(c)) && allWritten;
        return allWritten;
    }
    // One read of one byte that gives up after timeoutMs.
    virtual std::optional<quint8> readByte(int timeoutMs) = 0;
};

// Opens the line of a port name, or returns nullptr when it cannot be opened.
using TransportFactory = std::function<std::unique_ptr<ByteTransport>(const QString& portName)>;

} // namespace zuk
