#pragma once

#include "app/Program.h"
#include "simulator/SimTransport.h"
#include "support/CommandTap.h"
#include "support/RecordingScreen.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zuk::test {

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

} // namespace zuk::test
