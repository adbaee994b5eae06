#pragma once

#include "Arguments.h"

#include "image/PreparationChoices.h"
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
    PreparationChoices preparation; // "Подготовка рисунка"
    std::optional<int> density;
    int placementButton = kDefaultPlacementButton;
    bool singleSided = false;
    std::vector<int> levels; // empty: as stored; one value: group setting; four: individual
    bool secondPass = false;
    std::vector<int> secondLevels;
    bool text = false;
};

// The options of JobChoices on a usage line and explained for --help.
std::string jobChoicesUsage();
std::string jobChoicesDetails();

// Takes one of the job's options, or the picture; false when the next argument is an
// option of another kind.
bool jobChoiceOption(ArgumentReader& reader, JobChoices& choices, QStringList& pictures);
// After the last argument: exactly one picture (made absolute), --second-levels only with
// --second-pass. Mistakes go to the reader.
void finishJobChoices(ArgumentReader& reader, JobChoices& choices, const QStringList& pictures);

// The program directory exists; false, told why, when it does not.
bool directoryExists(const QString& directory, const char* command, QTextStream& err);
// The directory and the picture exist; false, told why, when one does not.
bool jobFilesExist(const QString& directory, const JobChoices& choices, const char* command,
                   QTextStream& err);

// The engraving choices of the options, from the program's own as the first "Гравировка"
// leaves them: the quality, the second pass, text or portrait, and the forces of a pass where
// its options name them. One force is what moving that pass's "32" trackbar in group setting
// gives (the trackbar rule), four are that pass's forces set one by one.
EngravingChoices engravingChoicesOf(const JobChoices& options, const EngravingChoices& stored);

// "Открыть" with the choices' answers, then the engraving choices of the options made the
// program's, as the panels hand back what the operator chose; false when the picture was not
// opened (the open has told why).
bool prepareJob(BatchJob& batch, const JobChoices& choices);

} // namespace zuk::batch
