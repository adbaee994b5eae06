#include "plan/EngravingProperties.h"

#include "app/Program.h"
#include "run/Interruption.h"

namespace zuk {

namespace {
constexpr LevelSet kLevelSets[] = {LevelSet::PrintReady, LevelSet::PrintReady2,
                                   LevelSet::AbortWork1, LevelSet::AbortWork2};

void loadTrackbars(PassLevels& levels, const StrikeLevels& forces) {
    for (const Level level : kLevelsFrom32)
        levels.moveTrackbar(level, force(forces, level));
}
} // namespace

QualityLook qualityLook(bool high) {
    return {high, high, high ? CaptionColour::Red : CaptionColour::Highlight,
            high ? CaptionColour::Highlight : CaptionColour::Red};
}

EngravingProperties::EngravingProperties(Program& program, PropertiesView& view)
    : program_(program), view_(view), panels_(program.choices) {}

void EngravingProperties::showLevels() {
    for (const LevelSet set : kLevelSets)
        view_.showLevelControls(set, panels_[set].shown());
}

void EngravingProperties::print1Click() {
    if (!program_.image.holdsPicture()) {
        program_.screen.showMessage(MessageKind::Warning, noPictureMessage());
        return;
    }
    view_.placePropertiesPanels();
    panels_.load();
    showLevels();
    view_.showPortrait(program_.choices.portrait);
    view_.setPropertiesPanelVisible(true);
    view_.setSecondPassPanelVisible(program_.choices.secondPass);
    program_.menus.work(program_.timers.optimizing);
}

void EngravingProperties::bitBtn1Click() {
    hidePanels();
    program_.menus.linkUp();
}

JobStartResult EngravingProperties::button17Click() {
    return startJob(program_, preparedJob(program_), [this] { hidePanels(); });
}

void EngravingProperties::hidePanels() {
    view_.setPropertiesPanelVisible(false);
    view_.setSecondPassPanelVisible(false);
}

void EngravingProperties::trackbarMoved(LevelSet set, Level level, int position) {
    panels_[set].moveTrackbar(level, position);
    showLevels();
}

void EngravingProperties::modeClicked(LevelSet set, bool group) {
    panels_[set].clickMode(group);
    showLevels();
}

void EngravingProperties::showAbortLayout(const AbortPanelLayout& layout) {
    if (!layout.shown)
        return;
    PassLevels& first = panels_[LevelSet::AbortWork1];
    PassLevels& second = panels_[LevelSet::AbortWork2];
    first.clickMode(layout.firstGroup);
    if (layout.secondGroup)
        second.clickMode(*layout.secondGroup);
    loadTrackbars(first, layout.firstLevels);
    if (layout.secondLevels)
        loadTrackbars(second, *layout.secondLevels);
    showLevels();
}

void EngravingProperties::qualityClick(bool high) {
    program_.choices.singleSided = high;
    view_.showQuality(qualityLook(high));
}

void EngravingProperties::choicesSet() {
    panels_.load();
    showLevels();
    qualityClick(program_.choices.singleSided);
    view_.showSecondPass(program_.choices.secondPass);
    secondWorkClick(program_.choices.secondPass);
    portraitClick(program_.choices.portrait);
}

void EngravingProperties::qualMenuClick(bool qual1) {
    program_.choices.singleSided = qual1;
}

void EngravingProperties::secondWorkClick(bool checked) {
    program_.choices.secondPass = checked;
    view_.setSecondPassPanelVisible(checked);
}

void EngravingProperties::portraitClick(bool portrait) {
    program_.choices.portrait = portrait;
    view_.showPortrait(portrait);
}

} // namespace zuk
