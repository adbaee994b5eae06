#include "plan/PassLevels.h"

#include <algorithm>

namespace zuk {

namespace {
constexpr Level kDependentLevels[] = {Level::L24, Level::L16, Level::L8};
} // namespace

PassLevels::PassLevels(StrikeLevels& forces, LevelControlsView& controls, LevelPanelKind kind,
                       LevelMode* mode)
    : forces_(forces), controls_(controls), kind_(kind), mode_(mode) {}

void PassLevels::store(Level level, int position) {
    const int value = std::clamp(position, 0, 255);
    forces_ = withForce(forces_, level, static_cast<quint8>(value));
    controls_.showForce(level, value);
}

// Stores the derived forces of "24", "16" and "8" and moves their trackbars to them; a
// trackbar that moves stores its force once more through its own handler, to the same value.
void PassLevels::setDerived(const StrikeLevels& derived) {
    for (const Level level : kDependentLevels) {
        const int value = force(derived, level);
        store(level, value);
        controls_.setPosition(level, value);
    }
}

void PassLevels::trackbarChange(Level level, int position) {
    store(level, position);
    if (level == Level::L32 && controls_.groupChecked())
        setDerived(groupLevelsFromTrackbar(forces_.level32));
}

void PassLevels::groupClick() {
    if (!controls_.groupChecked())
        return;
    controls_.setDependentsEnabled(false);
    if (kind_ == LevelPanelKind::Abort)
        return;
    if (mode_)
        *mode_ = LevelMode::Group;
    store(Level::L32, controls_.position(Level::L32));
    setDerived(groupLevelsOnSelection(forces_.level32));
}

void PassLevels::individualClick() {
    if (controls_.groupChecked())
        return;
    controls_.setDependentsEnabled(true);
    if (kind_ == LevelPanelKind::Properties && mode_)
        *mode_ = LevelMode::Individual;
}

void PassLevels::loadTrackbar(Level level) {
    controls_.setPosition(level, force(forces_, level));
}

void PassLevels::showStoredMode() {
    if (mode_)
        controls_.setGroupChecked(*mode_ == LevelMode::Group);
}

void PassLevels::showStoredForces() {
    for (int k = 0; k < kLevelCount; ++k) {
        const auto level = static_cast<Level>(k);
        controls_.showForce(level, force(forces_, level));
    }
}

} // namespace zuk
