#include "simulator/Machine.h"

#include "simulator/DeviceCommands.h"

#include <QString>

#include <algorithm>
#include <cstdlib>

namespace zuk::sim {

void StrikeProfile::load(const QByteArray& thirtyTwoBytes) {
    bytes_ = thirtyTwoBytes.left(kBytes);
    bytes_.resize(kBytes, '\0');
    loaded_ = true;
}

int StrikeProfile::force(int level) const {
    if (!loaded_ || level < 0 || level >= kLevels)
        return 0;
    int strikeCount = 0;
    for (int pair = 0; pair < 4; ++pair)
        if (at(level, pair * 2) == 0x01)
            strikeCount += at(level, pair * 2 + 1);
    return 2 * strikeCount;
}

qint64 StrikeProfile::weightedUnits(int level, int u, int t) const {
    if (!loaded_ || level < 0 || level >= kLevels)
        return 0;
    qint64 units = 0;
    for (int pair = 0; pair < 4; ++pair) {
        const quint8 code = at(level, pair * 2);
        const qint64 count = at(level, pair * 2 + 1);
        if (code == 0x08)
            units += count * t;
        else if (code == 0x07 || code == 0x05)
            units += count * u;
        else if (code == 0x01)
            units += count * 2 * u;
    }
    return units;
}

QString StrikeProfile::levelProblem(int level) const {
    for (int pair = 0; pair < 4; ++pair)
        if (!isPhaseCode(at(level, pair * 2)))
            return QStringLiteral("strike profile level %1 has the unknown phase code %2")
                .arg(level + 1)
                .arg(hexByte(at(level, pair * 2)));
    if (at(level, 6) != 0x01)
        return QStringLiteral("strike profile level %1 does not end with its strike phase")
            .arg(level + 1);
    return {};
}

MachineState MachineState::poweredOn(const QByteArray& identification, HeadPosition head) {
    MachineState state;
    state.head = head;
    for (int i = 0; i < kIdentificationLength; ++i)
        state.memory[kIdentificationAddress + i] =
            i < identification.size() ? static_cast<quint8>(identification.at(i)) : ' ';
    return state;
}

namespace timing {

qint64 stepUs(const MotorDriver& driver) {
    // F x P x 24.375 us, in integer arithmetic: 24.375 = 195 / 8.
    return qint64(driver.stepFactor) * driver.timing * 195 / 8;
}

qint64 moveUs(const MotorDriver& driver, int steps) {
    return kMoveStartUs + qint64(steps) * stepUs(driver);
}

qint64 homingUs(const HeadPosition& from) {
    const qint64 farthest =
        std::max(std::abs(qint64(from.column)), std::abs(qint64(from.rowSteps)));
    return std::min(kHomingStartUs + farthest * kHomingStepUs, kHomingLimitUs);
}

qint64 dotUs(const MachineState& machine, int code) {
    if (code >= 1 && code <= StrikeProfile::kLevels && machine.profile.loaded()) {
        // 1.085 us per weighted unit plus 1.3 ms for the strike's own step.
        const qint64 units =
            machine.profile.weightedUnits(code - 1, machine.strikeU, machine.strikeT);
        return units * 217 / 200 + 1300;
    }
    return stepUs(machine.driverX) + 300;
}

} // namespace timing

} // namespace zuk::sim
