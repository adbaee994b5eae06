#pragma once

#include "simulator/SimOptions.h"

#include <QByteArray>
#include <QtGlobal>

#include <array>

namespace zuk::sim {

// One motor driver: parameter 0x60 (the timing setting, resolution index + 16 in a job) and
// parameter 0x61 (the step-time factor). Power-on values are those the program assumes before
// it has programmed anything.
struct MotorDriver {
    quint8 timing = 1;      // parameter 0x60
    quint8 stepFactor = 12; // parameter 0x61
    bool operator==(const MotorDriver&) const = default;
};

// The strike profile loaded by "SetStrike": four levels of eight bytes, each level four
// (phase code, count) pairs. Phase 08 waits T units, 07 and 05 drive the needle U units each,
// 01 is the strike itself and takes 2 U (out and back).
class StrikeProfile {
public:
    static constexpr int kLevels = 4;
    static constexpr int kBytes = 32;

    bool loaded() const { return loaded_; }
    const QByteArray& bytes() const { return bytes_; }
    void load(const QByteArray& thirtyTwoBytes);
    void clear() { *this = StrikeProfile(); }

    // The level's force as the profile encodes it: twice its strike-phase count (the force the
    // program set, rounded down to an even value). 0 when no profile is loaded.
    int force(int level) const;
    // The level's phases weighted by the strike settings: count x T for 08, count x U for 07
    // and 05, count x 2U for 01.
    qint64 weightedUnits(int level, int u, int t) const;
    // Empty when the level is well formed; else what is wrong with it.
    QString levelProblem(int level) const;

private:
    quint8 at(int level, int index) const {
        return static_cast<quint8>(bytes_.at(level * 8 + index));
    }

    QByteArray bytes_;
    bool loaded_ = false;
};

// Everything about the machine that a command can change or report.
struct MachineState {
    HeadPosition head;
    bool needleDown = false;
    bool motorsOn = true;
    MotorDriver driverX; // columns
    MotorDriver driverY; // rows
    StrikeProfile profile;
    int strikeU = 32;
    int strikeT = 23;
    std::array<quint8, 256> memory{};
    int passNumber = 0; // "Begin print" commands received so far

    // Power-on state with the given identification text and head position.
    static MachineState poweredOn(const QByteArray& identification, HeadPosition head);
};

inline constexpr int kIdentificationAddress = 80;
inline constexpr int kIdentificationLength = 33;

// Modelled durations in microseconds. They follow the program's own job-time estimate (one
// head step is F x P x 24.375 us) and stay inside the end time-outs the program allows
// (F x P x 30 us per step plus at least one second), at every resolution.
namespace timing {
inline constexpr qint64 kAnswerLatencyMs = 1;     // from the last byte in to the answer out
inline constexpr qint64 kMoveStartUs = 20'000;    // acceleration and settling of a move
inline constexpr qint64 kHomingStartUs = 200'000; // reset of the controller
inline constexpr qint64 kHomingStepUs = 1'000;
inline constexpr qint64 kHomingLimitUs = 9'000'000; // homing runs faster when the head is far
inline constexpr qint64 kLineLimitUs = 18'000'000;  // a print line never outlasts 18 s
inline constexpr qint64 kNeedleUs = 40'000;
inline constexpr qint64 kWarmUpUs = 250'000;
inline constexpr qint64 kOffUs = 20'000;
inline constexpr qint64 kShortUs = 2'000; // greeting, settings, reports, frames

qint64 stepUs(const MotorDriver& driver);
qint64 moveUs(const MotorDriver& driver, int steps);
qint64 homingUs(const HeadPosition& from);
// One dot of a print line: a step of the column drive for code 0, the level's strike (which
// includes its step) for codes 1..4.
qint64 dotUs(const MachineState& machine, int code);
} // namespace timing

} // namespace zuk::sim
