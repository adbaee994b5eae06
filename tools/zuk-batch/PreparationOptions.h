#pragma once

#include "Arguments.h"

#include "image/PreparationChoices.h"

namespace zuk::batch {

// The picture preparation's options ("Подготовка рисунка") on a usage line and explained for
// --help: the same choices, in the same fixed order, as the window's dialog.
extern const char* const kPreparationUsage;
extern const char* const kPreparationDetails;

// Takes one preparation option; false when the next argument is none of them. A value out of
// range is a mistake. `given`, when there, gets the option as a line of the remembered
// preparation ("brightness=10", "invert").
bool preparationOption(ArgumentReader& reader, PreparationChoices& choices,
                       QStringList* given = nullptr);

} // namespace zuk::batch
