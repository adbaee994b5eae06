#pragma once

#include "plan/JobStart.h"
#include "plan/LevelPanels.h"

namespace zuk {

class Program;
struct AbortPanelLayout;

enum class CaptionColour { Red, Highlight };

// How the quality choice shows: "Высокое" (RadioButton1 with its mirror RadioButton5) or
// "Стандарт" (RadioButton2 with RadioButton6) checked, the other pair cleared, the hidden menu
// items Qual1 / Qual2 checked to match, the chosen caption red and the other in the system's
// highlight colour.
struct QualityLook {
    bool highChecked = false;
    bool qual1Checked = false;
    CaptionColour highColour = CaptionColour::Highlight;
    CaptionColour standardColour = CaptionColour::Red;
    bool operator==(const QualityLook&) const = default;
};
QualityLook qualityLook(bool high);

// The engraving-properties panels and the abort panel's level controls as their handlers see
// them. The main window's panels implement it, showing what they are given with their own
// signals blocked, so that only the operator's moves come back as handler calls.
class PropertiesView {
public:
    virtual ~PropertiesView() = default;

    // One set of level controls shows this: trackbars, value labels, mode buttons, enabling.
    virtual void showLevelControls(LevelSet set, const LevelControlsState& shown) = 0;
    // Puts both properties panels at the visible top left of the picture, the second-pass
    // panel to the right of the first.
    virtual void placePropertiesPanels() = 0;
    virtual void setPropertiesPanelVisible(bool visible) = 0;
    // Moves the second-pass panel to the top of the first and shows or hides it.
    virtual void setSecondPassPanelVisible(bool visible) = 0;
    // "Двойной проход" checked or cleared.
    virtual void showSecondPass(bool checked) = 0;
    virtual void showQuality(const QualityLook& look) = 0;
    // "Портрет (качество)" checked and "Текст (ускорение)" cleared, or the reverse.
    virtual void showPortrait(bool portrait) = 0;
};

// The handlers of the engraving properties: "Гравировка", "Отмена" and "Работа", the strike
// forces of both passes on all four sets of level controls, the quality, the second pass and
// text or portrait. They edit the operator's engraving choices (Program::choices), which
// "Работа" makes a job of and Zuk.ini keeps; the abort panel's forces go to the job when the
// operator continues it.
class EngravingProperties {
public:
    EngravingProperties(Program& program, PropertiesView& view);

    PassLevels& levels(LevelSet set) { return panels_[set]; }

    // "Гравировка" (Print1Click): with a picture open, places and fills the panels, shows
    // them and locks the menu in the work state; without one, tells the operator to open a
    // picture and does nothing else.
    void print1Click();
    // "Отмена" on either panel (BitBtn1Click): hides both panels, back to the link up state.
    void bitBtn1Click();
    // "Работа" on either panel (Button17Click, Button19): the job start for the job the
    // operator prepared; both panels are hidden before the plan is built.
    JobStartResult button17Click();

    // The operator moves a trackbar (TrackBar1Change .. TrackBar16Change).
    void trackbarMoved(LevelSet set, Level level, int position);
    // The operator clicks a group (true) or individual button (GroupRadButClick,
    // IndRadButClick, RadioButton3Click, RadioButton4Click and their kin).
    void modeClicked(LevelSet set, bool group);
    // STOP: the abort panel's mode buttons as clicks, then its trackbars loaded "32" to "8",
    // as the layout says.
    void showAbortLayout(const AbortPanelLayout& layout);

    // "Высокое" (RadioButton1Click / RadioButton5) when `high`, else "Стандарт"
    // (RadioButton2Click / RadioButton6): single-sided or double-sided strike runs.
    void qualityClick(bool high);
    // The hidden menu items Qual1Click (true) / Qual2Click (false): only the checked states.
    void qualMenuClick(bool qual1);
    // "Двойной проход" (CheckBox1Click, SecondWorkClick).
    void secondWorkClick(bool checked);
    // "Портрет (качество)" (RadioButton10Click) when `portrait`, else "Текст (ускорение)"
    // (RadioButton9Click).
    void portraitClick(bool portrait);
    // The choices were set anew as a whole (a material chosen): the level controls loaded
    // from them as "Гравировка" loads them, the quality, second pass and text or portrait
    // shown as their clicks show them.
    void choicesSet();

private:
    void showLevels();
    void hidePanels();

    Program& program_;
    PropertiesView& view_;
    LevelPanels panels_;
};

} // namespace zuk
