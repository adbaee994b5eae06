#pragma once

#include "plan/EngravingChoices.h"

#include <array>

namespace zuk {

// The level trackbars as the panels are designed: positions up to 200, and before the
// configuration is read "32" at 3, "24" at 3, "16" and "8" at 1 (the second pass's "32"
// trackbar on its properties panel, which goes down to 0, at 0).
inline constexpr int kHighestTrackbarPosition = 200;
inline constexpr std::array<int, kLevelCount> kDesignedTrackbarPositions{3, 3, 1, 1};

// The four sets of level controls: the properties panels of the first and second pass and the
// two halves of the abort panel.
enum class LevelSet { PrintReady, PrintReady2, AbortWork1, AbortWork2 };
inline constexpr int kLevelSetCount = 4;

// Where a set of level controls sits: the properties panels keep the pass's level-setting
// mode and derive forces when group mode is selected; on the abort panels the radio buttons
// only enable or disable the three dependent trackbars.
enum class LevelPanelKind { Properties, Abort };

// What one set of level controls shows: its four trackbars "32", "24", "16", "8" with their
// value labels "(n)", its group / individual buttons and whether the "24", "16" and "8"
// controls take input. The widgets show it as it is (their signals blocked); what a move
// does is decided by PassLevels, once for the window and for everything without one.
struct LevelControlsState {
    std::array<int, kLevelCount> positions = kDesignedTrackbarPositions;
    std::array<int, kLevelCount> shownForces{1, 1, 1, 1};
    bool groupChecked = true;
    bool dependentsEnabled = true;
    // The lowest position of the "32" trackbar; the others go down to 1.
    int lowest32 = 1;

    int position(Level level) const { return positions[static_cast<int>(level)]; }
    int lowest(Level level) const { return level == Level::L32 ? lowest32 : 1; }
    bool operator==(const LevelControlsState&) const = default;
};

// A set of level controls as its panel is designed.
LevelControlsState designedLevelControls(LevelSet set);
LevelPanelKind levelPanelKind(LevelSet set);
// The pass whose forces a set of level controls sets.
Pass passOf(LevelSet set);

// The handlers of one set of level controls, working on the forces of its pass in a set of
// engraving choices:
// - a trackbar that moves (by the operator or the program) is held to its range, and only a
//   real change runs its change handler, as a trackbar does: the position becomes that level's
//   force and its label shows it; "32" moved in group mode derives the other three with the
//   trackbar rule and moves their trackbars;
// - group selected on a properties panel disables the dependents, takes the "32" trackbar's
//   position and derives the other three with the selection rule; individual selected
//   enables them. The pass's mode follows the buttons;
// - on an abort panel the buttons only disable (group) or enable (individual) the dependents.
class PassLevels {
public:
    PassLevels(EngravingChoices& choices, LevelSet set);

    // A trackbar moves to `position` (TrackBar1Change .. TrackBar16Change on a change).
    void moveTrackbar(Level level, int position);
    // The group (true) or individual button is clicked: checked, then its click handler
    // (GroupRadButClick / RadioButton3Click and their kin).
    void clickMode(bool group);

    // Moves one trackbar to the force stored at this moment (a real change runs its handler).
    void loadTrackbar(Level level);
    // Checks the group or individual button as the pass's stored mode says, silently.
    void showStoredMode();
    // Every value label shows the stored force, also where loading moved no trackbar.
    void showStoredForces();
    // The dependents take input unless group setting is checked.
    void enableDependentsByMode() { shown_.dependentsEnabled = !shown_.groupChecked; }

    const StrikeLevels& forces() const { return choices_.forces(pass_); }
    const LevelControlsState& shown() const { return shown_; }

private:
    void trackbarChanged(Level level, int position);
    void followDerivedForces();
    void showForce(Level level);

    EngravingChoices& choices_;
    Pass pass_;
    LevelPanelKind kind_;
    LevelControlsState shown_;
};

} // namespace zuk
