#pragma once

#include "plan/EngravingProperties.h"

#include <array>
#include <functional>
#include <memory>

namespace zuk {

// One set of level controls without widgets, behaving as the panels' controls do: trackbars
// held to their range, a position that actually changes runs the change handler (set by the
// owner), value labels, and the group / individual buttons.
class HeadlessLevelControls final : public LevelControlsView {
public:
    HeadlessLevelControls(int lowest32Position, bool groupPreselected);

    // The trackbar change handler: called whenever a position changes.
    void onMoved(std::function<void(Level, int)> handler) { moved_ = std::move(handler); }

    int position(Level level) const override;
    void setPosition(Level level, int position) override;
    void showForce(Level level, int force) override;
    bool groupChecked() const override { return group_; }
    void setGroupChecked(bool group) override { group_ = group; }
    void setDependentsEnabled(bool enabled) override { dependentsEnabled_ = enabled; }

    // What the value label of a level shows: "(n)".
    int shownForce(Level level) const { return shown_[static_cast<int>(level)]; }
    bool dependentsEnabled() const { return dependentsEnabled_; }

private:
    int lowest(Level level) const;

    int lowest32_;
    std::array<int, kLevelCount> positions_{};
    std::array<int, kLevelCount> shown_{1, 1, 1, 1};
    bool group_;
    bool dependentsEnabled_ = true;
    std::function<void(Level, int)> moved_;
};

// The engraving-properties panels without widgets, for the batch tool and the tests: what
// the handlers of EngravingProperties show is kept, and the operator's moves go through the
// same handlers as on the window's panels.
class HeadlessProperties final : public PropertiesView {
public:
    explicit HeadlessProperties(Program& program);
    ~HeadlessProperties() override;

    EngravingProperties& properties() { return *properties_; }

    // The operator drags a trackbar to a position.
    void moveTrackbar(LevelSet set, Level level, int position);
    // The operator clicks "Групповая установка уровней" (true) or "Индивидуальная ...".
    void clickMode(LevelSet set, bool group);

    bool propertiesPanelVisible() const { return propertiesVisible_; }
    bool secondPassPanelVisible() const { return secondPassVisible_; }
    const QualityLook& quality() const { return quality_; }
    bool portraitShown() const { return portrait_; }
    HeadlessLevelControls& controls(LevelSet set) { return *controls_[static_cast<int>(set)]; }

    // --- PropertiesView ---
    LevelControlsView& levelControls(LevelSet set) override { return controls(set); }
    void placePropertiesPanels() override {}
    void setPropertiesPanelVisible(bool visible) override { propertiesVisible_ = visible; }
    void setSecondPassPanelVisible(bool visible) override { secondPassVisible_ = visible; }
    void showQuality(const QualityLook& look) override { quality_ = look; }
    void showPortrait(bool portrait) override { portrait_ = portrait; }

private:
    std::array<std::unique_ptr<HeadlessLevelControls>, kLevelSetCount> controls_;
    std::unique_ptr<EngravingProperties> properties_;
    bool propertiesVisible_ = false;
    bool secondPassVisible_ = false;
    QualityLook quality_ = qualityLook(false);
    bool portrait_ = true;
};

} // namespace zuk
