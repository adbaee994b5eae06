#include "Command.h"
#include "ConvertCommand.h"
#include "EstimateCommand.h"
#include "FrameCommand.h"
#include "JobCommands.h"
#include "JournalCommand.h"
#include "MaterialCommand.h"
#include "PlanCommand.h"
#include "PreparationOptions.h"
#include "PreviewCommand.h"
#include "TestPlateCommand.h"

#include <string>

namespace zuk::batch {

const std::vector<Command>& commands() {
    static const std::string convertUsage =
        std::string("convert PICTURE OUT.bmp [--variant combined|simple] ") + kPreparationUsage +
        " [PICTURE2 OUT2.bmp ...]";
    static const std::string planUsage =
        std::string("plan PICTURE --plan OUT.txt [--dump DUMP.txt] [--variant combined|simple] "
                    "[--mode double|single] ") +
        kPreparationUsage;
    static const std::vector<Command> all = {
        {"convert", convertUsage.c_str(),
         "prepare and convert pictures into dots as \"Открыть\" does and write them as "
         "\"Сохранить\" does",
         runConvert, kPreparationDetails},
        {"plan", planUsage.c_str(),
         "open, prepare and convert a picture as a fresh start would and write its engraving plan "
         "(and gray-grid dump) as \"Работа\" does",
         runPlan, kPreparationDetails},
        {"estimate",
         "estimate PLAN.txt [--link-delay MS] [--step-factor F] [--motor-p P] "
         "[--levels L8,L16,L24,L32] [--u U] [--t T] [--col-offset C] [--row-offset R] "
         "[--second-pass] [--link-inactive]",
         "the job time \"Работа\" would estimate for a plan: T in 10-µs units, then the duration",
         runEstimate, nullptr},
        {"engrave", engraveUsage(),
         "engrave a picture as the operator does in the window: open, \"Гравировка\", "
         "\"Работа\", the run to its end",
         runEngrave, engraveDetails()},
        {"resume", kResumeUsage,
         "finish the unfinished job of the program directory from where the head stopped",
         runResume, kResumeDetails},
        {"preview", previewUsage(),
         "run the job engrave would run on a simulated engraver of its own, as "
         "\"Предпросмотр\" does: the plate as a PNG, the estimate and the modelled time",
         runPreview, previewDetails()},
        {"test-plate", kTestPlateUsage,
         "strike a force test plate: one patch per force with its number, as small jobs of up to "
         "four forces each through the job start and run",
         runTestPlate, kTestPlateDetails},
        {"journal", kJournalUsage,
         "print the journal of jobs (\"Журнал работ\") of the program directory, newest first, "
         "with the machine time of each day",
         runJournal, kJournalDetails},
        {"material", materialUsage(),
         "list, save and delete the material profiles (\"Материал\") of the program directory",
         runMaterial, materialDetails()},
        {"frame", frameUsage(),
         "\"Обвести рамку\": the head around the placed picture's corners with the needle "
         "raised, nothing struck",
         runFrame, kFrameDetails},
    };
    return all;
}

} // namespace zuk::batch
