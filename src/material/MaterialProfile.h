#pragma once

#include "image/PreparationChoices.h"
#include "plan/EngravingChoices.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace zuk {

// A named material setting ("Материал"): what the properties panel sets for one material (the
// four forces of both passes with their group or individual setting, the quality, the second
// pass, text or portrait) and the tone of the picture preparation (brightness, contrast, gamma,
// invert, sharpening). Size, crop, orientation, the gray source and the density belong to the
// picture, not the material, and are not part of it.
//
// A pass set as a group is kept as its "32" force: applied, the other three follow as moving
// the "32" trackbar sets them, so a profile gives the same forces wherever it is applied.
struct MaterialProfile {
    QString name;
    // Only the modes, forces, quality, second pass and portrait count.
    EngravingChoices engraving;
    // Only the tone choices count; the rest stay at their defaults.
    PreparationChoices tone;

    bool operator==(const MaterialProfile&) const = default;
};

// The profile of what the operator has chosen now.
MaterialProfile materialOf(const QString& name, const EngravingChoices& engraving,
                           const PreparationChoices& preparation);

// Applies the profile's engraving part as the operator's moves on the properties panel would:
// the mode of each pass, then its forces through the level rules (a group's "32" derives the
// others), the quality, the second pass and text or portrait. Edge dots and density stay.
void applyMaterial(const MaterialProfile& profile, EngravingChoices& choices);
// Puts the profile's tone into a preparation; size, crop and orientation stay.
void applyMaterialTone(const MaterialProfile& profile, PreparationChoices& preparation);
// Whether a preparation choice's name ("brightness", "invert"...) is a tone choice.
bool isToneChoice(const QString& name);

// The profile as lines of its file entry, in the words of zuk-batch's options:
//   levels=F32 (group) or levels=F32,F24,F16,F8 (individual), the same for second-levels,
//   mode=double|single, second-pass=yes|no, text=yes|no, then the tone choices that differ
//   from no preparation ("brightness=10", "invert").
QStringList materialLines(const MaterialProfile& profile);
// Sets one choice from its line; the reason when the line is none (in the operator's words).
std::optional<QString> setMaterialLine(MaterialProfile& profile, const QString& line);

} // namespace zuk
