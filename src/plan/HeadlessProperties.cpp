#include "plan/HeadlessProperties.h"

#include <algorithm>

namespace zuk {

HeadlessLevelControls::HeadlessLevelControls(int lowest32Position, bool groupPreselected)
    : lowest32_(lowest32Position), positions_(kDesignedTrackbarPositions),
      group_(groupPreselected) {
    if (lowest32_ == 0)
        positions_[static_cast<int>(Level::L32)] = 0;
}

int HeadlessLevelControls::lowest(Level level) const {
    return level == Level::L32 ? lowest32_ : 1;
}

int HeadlessLevelControls::position(Level level) const {
    return positions_[static_cast<int>(level)];
}

void HeadlessLevelControls::setPosition(Level level, int position) {
    const int held = std::clamp(position, lowest(level), kHighestTrackbarPosition);
    int& current = positions_[static_cast<int>(level)];
    if (held == current)
        return;
    current = held;
    if (moved_)
        moved_(level, held);
}

void HeadlessLevelControls::showForce(Level level, int force) {
    shown_[static_cast<int>(level)] = force;
}

namespace {
// As the panels are designed: the second pass's "32" trackbar goes down to 0; the properties
// panels start in group mode, the abort panel's halves in individual mode.
struct ControlsDesign {
    int lowest32;
    bool groupPreselected;
};
constexpr std::array<ControlsDesign, kLevelSetCount> kDesigns{
    {{1, true}, {0, true}, {1, false}, {1, false}}};
} // namespace

HeadlessProperties::HeadlessProperties(Program& program) {
    for (int k = 0; k < kLevelSetCount; ++k)
        controls_[k] = std::make_unique<HeadlessLevelControls>(kDesigns[k].lowest32,
                                                               kDesigns[k].groupPreselected);
    properties_ = std::make_unique<EngravingProperties>(program, *this);
    for (int k = 0; k < kLevelSetCount; ++k) {
        const auto set = static_cast<LevelSet>(k);
        controls_[k]->onMoved([this, set](Level level, int position) {
            properties_->levels(set).trackbarChange(level, position);
        });
    }
}

HeadlessProperties::~HeadlessProperties() = default;

void HeadlessProperties::moveTrackbar(LevelSet set, Level level, int position) {
    controls(set).setPosition(level, position);
}

void HeadlessProperties::clickMode(LevelSet set, bool group) {
    controls(set).setGroupChecked(group);
    if (group)
        properties_->levels(set).groupClick();
    else
        properties_->levels(set).individualClick();
}

} // namespace zuk
