#pragma once

#include "Arguments.h"

#include "image/PreparationChoices.h"
#include "material/MaterialProfile.h"
#include "plan/EngravingChoices.h"
#include "plan/PassLevels.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace zuk::batch {

class BatchJob;

// What the operator chooses for a job in the window: the picture and how "Открыть" takes it,
// and the choices of "Гравировка".
struct JobChoices {
    static constexpr int kDefaultPlacementButton = 5; // "Center Center"

    QString picture;
    ConversionVariant variant = ConversionVariant::Combined;
    PreparationChoices preparation; // "Подготовка рисунка" of the options alone
    std::optional<int> density;
    int placementButton = kDefaultPlacementButton;
    // Each unset when its option is not given: as the material has it, else as "Гравировка"
    // leaves it.
    std::optional<bool> singleSided;
    std::vector<int> levels; // empty: as stored; one value: group setting; four: individual
    std::optional<bool> secondPass;
    std::vector<int> secondLevels;
    std::optional<bool> text;
    // The preparation options as given ("brightness=10", "invert"), applied over the
    // material's tone.
    QStringList preparationGiven;
    QString material; // empty: none
};

// The options of JobChoices on a usage line and explained for --help.
std::string jobChoicesUsage();
std::string jobChoicesDetails();
// Those of "Гравировка" alone (--mode, --levels, --second-pass, --second-levels, --text).
extern const char* const kEngravingOptionsUsage;
extern const char* const kEngravingOptionsDetails;

// Takes one of the job's options, or the picture; false when the next argument is an
// option of another kind.
bool jobChoiceOption(ArgumentReader& reader, JobChoices& choices, QStringList& pictures);
// Takes one of the options of "Гравировка"; false when the next argument is none of them.
bool engravingChoiceOption(ArgumentReader& reader, JobChoices& choices);
// After the last argument: exactly one picture (made absolute), --second-levels only with
// --second-pass. Mistakes go to the reader.
void finishJobChoices(ArgumentReader& reader, JobChoices& choices, const QStringList& pictures);

// The program directory exists; false, told why, when it does not.
bool directoryExists(const QString& directory, const char* command, QTextStream& err);
// The directory and the picture exist; false, told why, when one does not.
bool jobFilesExist(const QString& directory, const JobChoices& choices, const char* command,
                   QTextStream& err);

// The engraving choices of the options, from the program's own as the first "Гравировка"
// leaves them, with the material's applied over them when one is given: the quality, the
// second pass, text or portrait, and the forces of a pass where its options name them. One
// force is what moving that pass's "32" trackbar in group setting gives (the trackbar rule),
// four are that pass's forces set one by one.
EngravingChoices engravingChoicesOf(const JobChoices& options, const EngravingChoices& stored,
                                    const MaterialProfile* material = nullptr);
// The preparation of the options: the material's tone, then the options as given.
PreparationChoices preparationOf(const JobChoices& options,
                                 const MaterialProfile* material = nullptr);

// "Открыть" with the choices' answers, then the engraving choices of the options made the
// program's, as the panels hand back what the operator chose; false when the material is not
// in the program directory or the picture was not opened (told why).
bool prepareJob(BatchJob& batch, const JobChoices& choices);

} // namespace zuk::batch
