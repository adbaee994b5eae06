#pragma once

#include "plan/EngravingChoices.h"
#include "plan/StrikeLevelRules.h"

#include <array>

namespace zuk {

// The level trackbars as the panels are designed: positions up to 200, and before the
// configuration is read "32" at 3, "24" at 3, "16" and "8" at 1 (the second pass's "32"
// trackbar, which goes down to 0, at 0).
inline constexpr int kHighestTrackbarPosition = 200;
inline constexpr std::array<int, kLevelCount> kDesignedTrackbarPositions{3, 3, 1, 1};

// One set of level controls as its handlers see them: four trackbars "32", "24", "16", "8"
// with their value labels and the group / individual radio buttons. The level-controls
// widget implements it; tests implement it to record.
class LevelControlsView {
public:
    virtual ~LevelControlsView() = default;

    virtual int position(Level level) const = 0;
    // Moves a trackbar (held to its range). A real change runs the trackbar's change handler,
    // as an operator's move does; setting the position it has does nothing.
    virtual void setPosition(Level level, int position) = 0;
    // The value label of a level shows "(force)".
    virtual void showForce(Level level, int force) = 0;
    virtual bool groupChecked() const = 0;
    // Checks the group or the individual button without running its click handler.
    virtual void setGroupChecked(bool group) = 0;
    // Enables or disables the "24", "16" and "8" trackbars with their name and value labels.
    virtual void setDependentsEnabled(bool enabled) = 0;
};

// Where a set of level controls sits: the properties panels keep the pass's level-setting
// mode and derive forces when group mode is selected; on the abort panels the radio buttons
// only enable or disable the three dependent trackbars.
enum class LevelPanelKind { Properties, Abort };

// The handlers of one set of level controls, working on the strike forces of its pass:
// - a trackbar change stores its position as that level's force and shows it; a change of
//   the "32" trackbar in group mode also derives the other three with the trackbar rule and
//   moves their trackbars;
// - group selected on a properties panel disables the dependents, takes the "32" trackbar's
//   position and derives the other three with the selection rule; individual selected
//   enables them. The pass's mode follows the buttons;
// - on an abort panel the buttons only disable (group) or enable (individual) the dependents.
class PassLevels {
public:
    // `mode` is the pass's level-setting mode kept in the settings; an abort panel has none.
    PassLevels(StrikeLevels& forces, LevelControlsView& controls, LevelPanelKind kind,
               LevelMode* mode = nullptr);

    // TrackBar1Change .. TrackBar16Change.
    void trackbarChange(Level level, int position);
    // GroupRadButClick / RadioButton3Click and their kin; only when the button is now checked.
    void groupClick();
    // IndRadButClick / RadioButton4Click and their kin.
    void individualClick();

    // Moves one trackbar to the force stored at this moment (a real change runs its handler).
    void loadTrackbar(Level level);
    // Checks the group or individual button as the pass's stored mode says, silently.
    void showStoredMode();
    // Every value label shows the stored force, also where loading moved no trackbar.
    void showStoredForces();

    const StrikeLevels& forces() const { return forces_; }
    LevelControlsView& controls() { return controls_; }

private:
    void store(Level level, int position);
    void setDerived(const StrikeLevels& derived);

    StrikeLevels& forces_;
    LevelControlsView& controls_;
    LevelPanelKind kind_;
    LevelMode* mode_;
};

} // namespace zuk
