#include "plan/EngravingChoices.h"

namespace zuk {

void EngravingChoices::setForce(Pass pass, Level level, quint8 force, bool groupShown) {
    StrikeLevels& levels = forces(pass);
    levels = withForce(levels, level, force);
    if (level == Level::L32 && groupShown)
        levels = groupLevelsFromTrackbar(force);
}

void EngravingChoices::selectGroup(Pass pass, quint8 force32) {
    mode(pass) = LevelMode::Group;
    forces(pass) = groupLevelsOnSelection(force32);
}

} // namespace zuk
