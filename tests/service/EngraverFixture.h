#pragma once

#include "app/Program.h"
#include "simulator/SimTransport.h"
#include "support/RecordingScreen.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zuk::test {

// A line to the device that writes down every command frame as the device reads it ("Left
// 20", "Put 0", "ProgX_Motor 60 18"), and every resynchronisation burst.
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

// The program started up on the built-in simulated engraver (port "sim", virtual time) at
// resolution index 2, so that the motor timing setting is 18.
class EngraverFixture : public ::testing::Test {
protected:
    static constexpr int kResolution = 2;

    EngraverFixture();
    void startUp();
    void placePicture(QSize size);
    QPoint handle(int k) const { return program.image.placement().handles[k - 1]; }
    QPoint plannedHead() const {
        return {program.commands.position.column, program.commands.position.row};
    }
    // Where the device's head is, in columns and rows.
    QPoint deviceHead() const;
    int violations() const { return engraver->counters().violationCount; }

    QTemporaryDir dir;
    VirtualClock clock;
    std::shared_ptr<sim::Engraver> engraver = sim::makeEngraver();
    QStringList traffic;
    RecordingScreen screen;
    Program program;
};

// The traffic of a move between two points: columns, then rows of two steps each.
QStringList moveTraffic(QPoint from, QPoint to);

} // namespace zuk::test
