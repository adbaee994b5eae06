#include "plan/EngravingProperties.h"

#include "app/Program.h"

namespace zuk {

namespace {
constexpr Level kLevelsInLoadOrder[] = {Level::L32, Level::L24, Level::L16, Level::L8};
} // namespace

QualityLook qualityLook(bool high) {
    return {high, high, high ? CaptionColour::Red : CaptionColour::Highlight,
            high ? CaptionColour::Highlight : CaptionColour::Red};
}

EngravingProperties::EngravingProperties(Program& program, PropertiesView& view)
    : program_(program), view_(view) {
    Settings& settings = program.settings;
    const auto make = [&](LevelSet set, StrikeLevels& forces, LevelPanelKind kind,
                          LevelMode* mode) {
        levels_[static_cast<int>(set)] =
            std::make_unique<PassLevels>(forces, view.levelControls(set), kind, mode);
    };
    make(LevelSet::PrintReady, settings.first, LevelPanelKind::Properties, &settings.firstMode);
    make(LevelSet::PrintReady2, settings.second, LevelPanelKind::Properties, &settings.secondMode);
    make(LevelSet::AbortWork1, settings.first, LevelPanelKind::Abort, nullptr);
    make(LevelSet::AbortWork2, settings.second, LevelPanelKind::Abort, nullptr);
}

EngravingProperties::~EngravingProperties() = default;

// The sixteen trackbars in their order: each properties trackbar, then the abort trackbar of
// the same level, first pass before second. Every value is read from the store as it is
// loaded, so a "32" that moves in group mode re-derives the others before they load.
void EngravingProperties::loadLevelControls() {
    levels(LevelSet::PrintReady).showStoredMode();
    levels(LevelSet::PrintReady2).showStoredMode();
    for (const auto& [properties, abort] : {std::pair{LevelSet::PrintReady, LevelSet::AbortWork1},
                                            std::pair{LevelSet::PrintReady2, LevelSet::AbortWork2}})
        for (const Level level : kLevelsInLoadOrder) {
            levels(properties).loadTrackbar(level);
            levels(abort).loadTrackbar(level);
        }
    // A trackbar already at its stored force ran no handler; its label would still show the
    // designed "(1)".
    for (auto& set : levels_)
        set->showStoredForces();
    for (const LevelSet set : {LevelSet::PrintReady, LevelSet::PrintReady2}) {
        LevelControlsView& controls = levels(set).controls();
        controls.setDependentsEnabled(!controls.groupChecked());
    }
}

void EngravingProperties::print1Click() {
    if (!program_.image.holdsPicture()) {
        program_.screen.showMessage(MessageKind::Warning, noPictureMessage());
        return;
    }
    view_.placePropertiesPanels();
    // The box may still be checked from a double-pass job whose second pass cleared the flag.
    program_.job.secondPass = secondWorkChecked_;
    loadLevelControls();
    view_.showPortrait(program_.settings.portrait);
    view_.setPropertiesPanelVisible(true);
    view_.setSecondPassPanelVisible(secondWorkChecked_);
    program_.menus.work(program_.timers.optimizing);
}

void EngravingProperties::bitBtn1Click() {
    hidePanels();
    program_.menus.linkUp();
}

JobStartResult EngravingProperties::button17Click() {
    return startJob(program_, [this] { hidePanels(); });
}

void EngravingProperties::hidePanels() {
    view_.setPropertiesPanelVisible(false);
    view_.setSecondPassPanelVisible(false);
}

void EngravingProperties::qualityClick(bool high) {
    program_.job.singleSided = high;
    view_.showQuality(qualityLook(high));
}

void EngravingProperties::qualMenuClick(bool qual1) {
    program_.job.singleSided = qual1;
}

void EngravingProperties::secondWorkClick(bool checked) {
    secondWorkChecked_ = checked;
    program_.job.secondPass = checked;
    view_.setSecondPassPanelVisible(checked);
}

void EngravingProperties::portraitClick(bool portrait) {
    program_.settings.portrait = portrait;
    view_.showPortrait(portrait);
}

} // namespace zuk
