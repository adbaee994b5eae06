#pragma once

#include "app/ui/Windows.h"
#include "simulator/SimTransport.h"
#include "support/CommandTap.h"
#include "support/QuietMenuForm.h"

#include <QSize>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace zuk::test {

// The program's windows in a fresh program directory on virtual time, the main window quiet
// and its picture dialogs answered by the test, talking to the simulated engraver ("sim")
// through a tap that records the commands sent in `traffic`.
struct SimulatedWindows {
    explicit SimulatedWindows(int resolutionIndex = 0, QSize field = {}) {
        writeSimulatorConfiguration(dir.path(), resolutionIndex, field);
        windows = createWindows<AnsweringMenuForm>(clock, tappedEngraver(engraver, clock, traffic),
                                                   dir.path());
    }
    AnsweringMenuForm& menu() { return static_cast<AnsweringMenuForm&>(*windows->menuForm); }
    Program& program() { return menu().program(); }

    QTemporaryDir dir;
    VirtualClock clock;
    std::shared_ptr<sim::Engraver> engraver = sim::makeEngraver();
    QStringList traffic;
    std::unique_ptr<Windows> windows;
};

} // namespace zuk::test
