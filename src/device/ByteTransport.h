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

    // Whether the line has gone away by itself (the device's end hung up, the adapter was
    // unplugged): every call fails at once from then on. A line that cannot go away never has.
    virtual bool lost() const { return false; }
    // `handler` is called once when the line goes away by itself: from the event loop, or from
    // inside one of the calls above. It only takes note; the line is closed by its owner.
    virtual void setLostHandler(const std::function<void()>& /*handler*/) {}
    // `hook` is called after every read that waited in real time, and again and again, at most
    // kWaitSliceMs apart, while a read waits for its byte: the window uses it to stay alive
    // during the device's long commands and long runs of short exchanges (the data frames of a
    // print line). A line whose reads never wait in real time ignores it.
    virtual void setWaitHook(const std::function<void()>& /*hook*/) {}

    static constexpr int kWaitSliceMs = 20;
};

// Opens the line of a port name, or returns nullptr when it cannot be opened.
using TransportFactory = std::function<std::unique_ptr<ByteTransport>(const QString& portName)>;

} // namespace zuk
