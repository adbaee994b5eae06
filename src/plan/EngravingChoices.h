#pragma once

#include "app/StrikeLevels.h"
#include "plan/StrikeLevelRules.h"

namespace zuk {

// How the forces of one pass are set: from the "32" force as a group, or one by one.
enum class LevelMode { Group, Individual };

// The two passes of a job: the first, and the second that "Двойной проход" adds.
enum class Pass { First, Second };

inline constexpr int kDefaultEdgeDots = 8;

// Every choice that makes a job what it is, as one value: the strike forces of both passes and
// how each pass sets them, the quality, the second pass, text or portrait, the edge dots of the
// portrait split and the density line. The operator's choices for the next job are one of these
// (Program::choices): "Гравировка" edits it, Zuk.ini keeps its lasting part, the recovery file
// its forces, second pass and density; a job runs with the copy its request carried.
//
// A default value holds what the program has before Zuk.ini is read: the level controls as
// the panels are designed (not what a new file gets, see kDefaultStrikeLevels), "Стандарт",
// one pass, portrait, 8 edge dots, density line 0.
struct EngravingChoices {
    LevelMode firstMode = LevelMode::Group;
    StrikeLevels first{3, 3, 1, 1};
    LevelMode secondMode = LevelMode::Group;
    StrikeLevels second{0, 3, 1, 1};
    // Quality "Высокое" (single-sided strike runs, the hidden item Qual1); "Стандарт"
    // (double-sided, Qual2) otherwise.
    bool singleSided = false;
    // "Двойной проход": the plan runs a second time with the second pass's forces.
    bool secondPass = false;
    // "Портрет (качество)"; false is "Текст (ускорение)".
    bool portrait = true;
    // In portrait mode a backward line longer than twice this is struck in three pieces.
    int edgeDots = kDefaultEdgeDots;
    // The density line 0..8 of the placement dialog (-1, no line, and 9, the empty tenth line,
    // from odd choices); the motors are given 16 + it.
    int resolutionIndex = 0;

    StrikeLevels& forces(Pass pass) { return pass == Pass::First ? first : second; }
    const StrikeLevels& forces(Pass pass) const { return pass == Pass::First ? first : second; }
    LevelMode& mode(Pass pass) { return pass == Pass::First ? firstMode : secondMode; }
    LevelMode mode(Pass pass) const { return pass == Pass::First ? firstMode : secondMode; }

    // The rules of the level controls, the same on every panel:
    // A trackbar of the pass moved to `force`: that level's force. The "32" force moved while
    // the controls show group setting derives the other three by the trackbar rule.
    void setForce(Pass pass, Level level, quint8 force, bool groupShown);
    // Group setting selected on a properties panel whose "32" trackbar stands at `force32`:
    // the pass's mode, its "32" force and the other three by the selection rule.
    void selectGroup(Pass pass, quint8 force32);
    // Individual setting selected on a properties panel: the pass's mode only.
    void selectIndividual(Pass pass) { mode(pass) = LevelMode::Individual; }

    bool operator==(const EngravingChoices&) const = default;
};

} // namespace zuk
