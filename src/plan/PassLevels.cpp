#include "plan/PassLevels.h"

#include <algorithm>

namespace zuk {

namespace {
constexpr Level kDependentLevels[] = {Level::L24, Level::L16, Level::L8};
} // namespace

LevelControlsState designedLevelControls(LevelSet set) {
    LevelControlsState shown;
    // The properties panels start in group mode, the abort panel's halves in individual mode;
    // the second pass's "32" trackbar on its properties panel goes down to 0 and starts there.
    shown.groupChecked = levelPanelKind(set) == LevelPanelKind::Properties;
    if (set == LevelSet::PrintReady2) {
        shown.lowest32 = 0;
        shown.positions[static_cast<int>(Level::L32)] = 0;
    }
    return shown;
}

LevelPanelKind levelPanelKind(LevelSet set) {
    return set == LevelSet::PrintReady || set == LevelSet::PrintReady2 ? LevelPanelKind::Properties
                                                                       : LevelPanelKind::Abort;
}

Pass passOf(LevelSet set) {
    return set == LevelSet::PrintReady || set == LevelSet::AbortWork1 ? Pass::First : Pass::Second;
}

PassLevels::PassLevels(EngravingChoices& choices, LevelSet set)
    : choices_(choices), pass_(passOf(set)), kind_(levelPanelKind(set)),
      shown_(designedLevelControls(set)) {}

void PassLevels::moveTrackbar(Level level, int position) {
    const int held = std::clamp(position, shown_.lowest(level), kHighestTrackbarPosition);
    int& current = shown_.positions[static_cast<int>(level)];
    if (held == current)
        return;
    current = held;
    trackbarChanged(level, held);
}

void PassLevels::trackbarChanged(Level level, int position) {
    const bool derives = level == Level::L32 && shown_.groupChecked;
    choices_.setForce(pass_, level, static_cast<quint8>(std::clamp(position, 0, 255)), derives);
    showForce(level);
    if (derives)
        followDerivedForces();
}

// The "24", "16" and "8" labels show the derived forces and their trackbars move to them; a
// trackbar that moves stores its force once more through its own handler, to the same value.
void PassLevels::followDerivedForces() {
    for (const Level level : kDependentLevels) {
        showForce(level);
        moveTrackbar(level, force(forces(), level));
    }
}

void PassLevels::clickMode(bool group) {
    shown_.groupChecked = group;
    shown_.dependentsEnabled = !group;
    if (kind_ == LevelPanelKind::Abort)
        return;
    if (!group) {
        choices_.selectIndividual(pass_);
        return;
    }
    const int position32 = shown_.position(Level::L32);
    choices_.selectGroup(pass_, static_cast<quint8>(std::clamp(position32, 0, 255)));
    showForce(Level::L32);
    followDerivedForces();
}

void PassLevels::loadTrackbar(Level level) {
    moveTrackbar(level, force(forces(), level));
}

void PassLevels::showStoredMode() {
    if (kind_ == LevelPanelKind::Properties)
        shown_.groupChecked = choices_.mode(pass_) == LevelMode::Group;
}

void PassLevels::showStoredForces() {
    for (int k = 0; k < kLevelCount; ++k)
        showForce(static_cast<Level>(k));
}

void PassLevels::showForce(Level level) {
    shown_.shownForces[static_cast<int>(level)] = force(forces(), level);
}

} // namespace zuk
