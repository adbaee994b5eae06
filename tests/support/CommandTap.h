#pragma once

#include "device/ByteTransport.h"
#include "simulator/Engraver.h"

#include <QByteArray>
#include <QPoint>
#include <QSize>
#include <QStringList>

#include <memory>

namespace zuk {
class Clock;
}

namespace zuk::test {

// A line to the device that writes down every command frame as the device reads it ("Left
// 20", "Put 0", "ProgX_Motor 60 18", "Strike timing T 46"), and every resynchronisation
// burst.
class CommandTap final : public ByteTransport {
public:
    CommandTap(std::unique_ptr<ByteTransport> line, QStringList& traffic)
        : line_(std::move(line)), traffic_(traffic) {}

    bool setParity(Parity parity) override;
    bool writeByte(quint8 byte) override;
    std::optional<quint8> readByte(int timeoutMs) override { return line_->readByte(timeoutMs); }

private:
    std::unique_ptr<ByteTransport> line_;
    QStringList& traffic_;
    Parity parity_ = Parity::Even;
    QByteArray frame_; // the frame and its confirmation, six bytes
};

// Opens the port name "sim" as a tapped line to the engraver; other names open nothing.
TransportFactory tappedEngraver(std::shared_ptr<sim::Engraver> engraver, Clock& clock,
                                QStringList& traffic);

// Zuk.ini in the directory with the default settings, the port "sim", the resolution index
// and, when given, the working field's size.
void writeSimulatorConfiguration(const QString& directory, int resolutionIndex = 0,
                                 QSize field = {});

// The traffic of a move between two points: columns, then rows of two steps each.
QStringList moveTraffic(QPoint from, QPoint to);

} // namespace zuk::test
