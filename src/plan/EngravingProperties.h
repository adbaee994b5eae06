#pragma once

#include "plan/JobStart.h"
#include "plan/PassLevels.h"

#include <array>
#include <memory>

namespace zuk {

class Program;

// The four sets of level controls: the properties panels of the first and second pass and the
// two halves of the abort panel.
enum class LevelSet { PrintReady, PrintReady2, AbortWork1, AbortWork2 };
inline constexpr int kLevelSetCount = 4;

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

// The engraving-properties panels as their handlers see them. The main window's panels
// implement it; tests implement it to record.
class PropertiesView {
public:
    virtual ~PropertiesView() = default;

    virtual LevelControlsView& levelControls(LevelSet set) = 0;
    // Puts both properties panels at the visible top left of the picture, the second-pass
    // panel to the right of the first.
    virtual void placePropertiesPanels() = 0;
    virtual void setPropertiesPanelVisible(bool visible) = 0;
    // Moves the second-pass panel to the top of the first and shows or hides it.
    virtual void setSecondPassPanelVisible(bool visible) = 0;
    virtual void showQuality(const QualityLook& look) = 0;
    // "Портрет (качество)" checked and "Текст (ускорение)" cleared, or the reverse.
    virtual void showPortrait(bool portrait) = 0;
};

// The handlers of the engraving properties: opening and closing the panels ("Гравировка",
// "Отмена"), the strike forces of both passes on all four sets of level controls, the quality,
// the second pass and the text / portrait mode. The values go into the program's settings
// (forces, modes, portrait) and job (quality, second pass).
class EngravingProperties {
public:
    EngravingProperties(Program& program, PropertiesView& view);
    ~EngravingProperties();

    PassLevels& levels(LevelSet set) { return *levels_[static_cast<int>(set)]; }

    // "Гравировка" (Print1Click): with a picture open, places and fills the panels, shows
    // them and locks the menu in the work state; without one, tells the operator to open a
    // picture and does nothing else.
    void print1Click();
    // "Отмена" on either panel (BitBtn1Click): hides both panels, back to the link up state.
    void bitBtn1Click();
    // "Работа" on either panel (Button17Click, Button19): the job start with these choices;
    // both panels are hidden before the plan is built.
    JobStartResult button17Click();

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

private:
    void loadLevelControls();
    void hidePanels();

    Program& program_;
    PropertiesView& view_;
    std::array<std::unique_ptr<PassLevels>, kLevelSetCount> levels_;
};

} // namespace zuk
