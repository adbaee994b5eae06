#pragma once

#include "app/StrikeLevels.h"

#include <optional>

namespace zuk {

class Program;

// What the window does with `AbortPanel` after STOP. The window always first places the
// panel at left 20, top 10 within its parent; with `shown` clear that is all.
struct AbortPanelLayout {
    static constexpr int kMargin = 20;     // the panel is this much wider than its first half
    static constexpr int kFullWidth = 521; // both halves side by side

    bool shown = false;
    // `AbortWork1Panel` ("Первый проход") is shown whenever the panel is; enabled unless the
    // second pass runs.
    bool firstHalfEnabled = true;
    // `AbortWork2Panel` ("Второй проход").
    bool secondHalfShown = false;
    // The panel is 20 + the width of `AbortWork1Panel` wide, or kFullWidth when both halves
    // are shown.
    bool fullWidth = false;
    // `RadioButton3` (group setting) when set, else `RadioButton4`, checked first (their click
    // handlers enable or disable the dependent trackbars).
    bool firstGroup = true;
    // `RadioButton7` when set, else `RadioButton8`; nothing: left as they are.
    std::optional<bool> secondGroup;
    // Loaded after the radio buttons, in the order "32", "24", "16", "8": `TrackBar9` to
    // `TrackBar12`.
    StrikeLevels firstLevels;
    // `TrackBar13` to `TrackBar16`, the same way; nothing: they keep their positions.
    std::optional<StrikeLevels> secondLevels;

    // The panel's width for a first half this wide.
    int width(int firstHalfWidth) const {
        return fullWidth ? kFullWidth : kMargin + firstHalfWidth;
    }
};

// STOP (the menu entry or the Delete key), with whether the STOP entry is visible: pauses
// the run before its next plan line and says how the abort panel is shown.
AbortPanelLayout stopClick(Program& program, bool stopEntryVisible);

// "Продолжить работу" (`Button27`, `Button30`): sends the strike levels of the pass that runs
// (the first pass's stay in memory during the second) and lets the run go on. The window
// then hides `AbortPanel`.
void continueWork(Program& program);

// "Завершить работу" (`Button28`, `Button31`): "EndPrint" and "Off", the run timer off, the
// link flag cleared, the work state; the recovery file and the progress record stay, so the
// next start offers to finish the job. The window then hides `AbortPanel`.
void finishWork(Program& program);

// The window closes (its close box, a termination signal) while a job runs or is paused: as
// STOP then "Завершить работу", so that the next start finishes the job from where it stopped.
void interruptRunOnClose(Program& program);

} // namespace zuk
