#pragma once

#include "app/ProgramDir.h"
#include "image/PreparationChoices.h"

namespace zuk {

// The last preparation chosen in "Подготовка рисунка", kept from one start of the program to
// the next: one line per choice that differs from its default, "name=value" or the bare flag
// name, in the words of zuk-batch's options ("width=800", "mirror=h", "invert"); no line at all
// for no preparation.
inline constexpr const char* kPreparationFileName = "Prepare.ini";

struct PreparationLoad {
    PreparationChoices choices;
    // For the operator, naming the file: it could not be read, or a line of it is no choice.
    // The choices are then the defaults.
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// Reads the remembered preparation; a missing file is no preparation and no error.
PreparationLoad loadPreparation(const ProgramDir& dir);

// Remembers the preparation (the file is replaced whole or not at all).
FileResult savePreparation(const ProgramDir& dir, const PreparationChoices& choices);

} // namespace zuk
