#include "plan/LevelPanels.h"

namespace zuk {

LevelPanels::LevelPanels(EngravingChoices& choices)
    : sets_{PassLevels(choices, LevelSet::PrintReady), PassLevels(choices, LevelSet::PrintReady2),
            PassLevels(choices, LevelSet::AbortWork1), PassLevels(choices, LevelSet::AbortWork2)} {}

void LevelPanels::load() {
    (*this)[LevelSet::PrintReady].showStoredMode();
    (*this)[LevelSet::PrintReady2].showStoredMode();
    for (const auto& [properties, abort] : {std::pair{LevelSet::PrintReady, LevelSet::AbortWork1},
                                            std::pair{LevelSet::PrintReady2, LevelSet::AbortWork2}})
        for (const Level level : kLevelsFrom32) {
            (*this)[properties].loadTrackbar(level);
            (*this)[abort].loadTrackbar(level);
        }
    // A trackbar already at its stored force ran no handler; its label would still show the
    // designed "(1)".
    for (PassLevels& set : sets_)
        set.showStoredForces();
    (*this)[LevelSet::PrintReady].enableDependentsByMode();
    (*this)[LevelSet::PrintReady2].enableDependentsByMode();
}

EngravingChoices choicesOnFirstOpening(EngravingChoices choices) {
    LevelPanels panels(choices);
    panels.load();
    return choices;
}

} // namespace zuk
