#include "plan/StrikeLevelRules.h"

#include <algorithm>

namespace zuk {

namespace {
// A derived force is always at least 1, whatever its formula gives.
quint8 atLeastOne(int value) {
    return static_cast<quint8>(std::clamp(value, 1, 255));
}
} // namespace

quint8 force(const StrikeLevels& levels, Level level) {
    switch (level) {
    case Level::L32:
        return levels.level32;
    case Level::L24:
        return levels.level24;
    case Level::L16:
        return levels.level16;
    case Level::L8:
        return levels.level8;
    }
    return 0;
}

StrikeLevels withForce(StrikeLevels levels, Level level, quint8 value) {
    switch (level) {
    case Level::L32:
        levels.level32 = value;
        break;
    case Level::L24:
        levels.level24 = value;
        break;
    case Level::L16:
        levels.level16 = value;
        break;
    case Level::L8:
        levels.level8 = value;
        break;
    }
    return levels;
}

StrikeLevels groupLevelsFromTrackbar(quint8 force32) {
    const int f = force32;
    return {force32, atLeastOne(f - f / 3), atLeastOne(f - 2 * (f / 3)), atLeastOne(f / 11)};
}

StrikeLevels groupLevelsOnSelection(quint8 force32) {
    const int f = force32;
    // C++ division truncates toward zero, as the rule asks for (F − 10 is negative below 10).
    return {force32, atLeastOne((f - 2) - f / 7), atLeastOne((f - 10) / 2 + 3),
            atLeastOne((f - 10) / 2)};
}

} // namespace zuk
