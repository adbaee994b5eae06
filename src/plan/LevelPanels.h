#pragma once

#include "plan/PassLevels.h"

#include <array>

namespace zuk {

// The four sets of level controls over one set of engraving choices (the properties panels
// of both passes and the abort panel's halves), as designed until the program and the
// operator move them.
class LevelPanels {
public:
    explicit LevelPanels(EngravingChoices& choices);

    PassLevels& operator[](LevelSet set) { return sets_[static_cast<int>(set)]; }
    const PassLevels& operator[](LevelSet set) const { return sets_[static_cast<int>(set)]; }

    // "Гравировка" fills the panels: the properties panels' mode buttons as stored, then the
    // sixteen trackbars in their order, each properties trackbar before the abort trackbar of
    // the same level, first pass before second. Every value is read from the choices as it is
    // loaded, so a "32" that moves in group mode re-derives the others before they load. Then
    // every value label shows its stored force and the properties panels' dependents take
    // input unless their pass is set as a group.
    void load();

private:
    std::array<PassLevels, kLevelSetCount> sets_;
};

// What the first "Гравировка" after a start leaves of these choices, the panels as designed:
// a stored "32" in group mode re-derives the other three by the trackbar rule, and a force
// outside its trackbar's range is held to it where the trackbar moves. The headless tool's
// jobs start from this, as the window's first job does.
EngravingChoices choicesOnFirstOpening(EngravingChoices choices);

} // namespace zuk
