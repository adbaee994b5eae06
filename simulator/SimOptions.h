#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <set>

namespace zuk::sim {

// Where the head stands: column in steps of the column drive, row in motor steps of the row
// drive (one picture row is two motor steps).
struct HeadPosition {
    qint32 column = 0;
    qint32 rowSteps = 0;
    bool operator==(const HeadPosition&) const = default;
};

// Faults the simulated engraver injects on purpose, for tests and rehearsals. Every count is
// 1-based; an empty set or 0 means "off".
struct FaultPlan {
    // The Nth byte the device sends (answers and data bytes alike) never reaches the host.
    std::set<int> dropAnswerBytes;
    // The Nth byte the device sends reaches the host with every bit inverted.
    std::set<int> corruptAnswerBytes;
    // The Nth frame that arrives with a correct check byte is refused with 0x90 + s as if
    // the check byte had been wrong.
    std::set<int> refuseFrames;
    // Once this many commands have been carried out, the next frame finds the device silent.
    int silentAfterCommands = 0;
    // How long that silence lasts; 0 keeps the device silent until it is restarted.
    qint64 silentForMs = 0;
    // The power fails during print line N + 1, after powerLossAfterDots of its dots; the device
    // then answers nothing until it is restarted.
    int powerLossAfterPrintLines = 0;
    int powerLossAfterDots = 0;
    // Power comes back by itself this long after it failed; 0 waits for restart().
    qint64 powerBackAfterMs = 0;

    bool losesPower() const { return powerLossAfterPrintLines > 0; }
};

// The identification text at memory addresses 80..112, exactly 33 characters.
inline QByteArray defaultIdentification() {
    return QByteArrayLiteral("Simulated needle engraver SIM-001");
}

struct SimOptions {
    // Modelled durations are divided by this factor (a demo runs faster); protocol answers
    // keep their 1-2 ms latency.
    double speed = 1.0;
    QByteArray identification = defaultIdentification();
    HeadPosition startPosition;
    FaultPlan faults;
};

} // namespace zuk::sim
