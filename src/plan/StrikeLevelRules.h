#pragma once

#include "app/StrikeLevels.h"

namespace zuk {

// The brightness levels of a pass, strongest first, as the level controls show them.
enum class Level { L32 = 0, L24 = 1, L16 = 2, L8 = 3 };
inline constexpr int kLevelCount = 4;
// The four levels from "32" down: the order their forces are listed in and the order
// "Гравировка" loads a set's trackbars in ("32" first, so that a group set takes the other
// three from it by the trackbar rule).
inline constexpr Level kLevelsFrom32[] = {Level::L32, Level::L24, Level::L16, Level::L8};

// The force of one level, and a copy of the levels with one force replaced.
quint8 force(const StrikeLevels& levels, Level level);
StrikeLevels withForce(StrikeLevels levels, Level level, quint8 value);

// The "32" trackbar moved in group mode: the other three follow it
// ("24" = F − F div 3, "16" = F − 2·(F div 3), "8" = F div 11), none below 1.
StrikeLevels groupLevelsFromTrackbar(quint8 force32);

// Group mode selected on a properties panel: a different rule
// ("24" = (F − 2) − F div 7, "16" = (F − 10) / 2 + 3, "8" = (F − 10) / 2, truncating toward
// zero), none below 1.
StrikeLevels groupLevelsOnSelection(quint8 force32);

} // namespace zuk
