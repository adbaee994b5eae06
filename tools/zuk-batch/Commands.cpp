#include "Command.h"
#include "ConvertCommand.h"
#include "EstimateCommand.h"
#include "JobCommands.h"
#include "PlanCommand.h"
#include "PreviewCommand.h"

namespace zuk::batch {

const std::vector<Command>& commands() {
    static const std::vector<Command> all = {
        {"convert", "convert IN.bmp OUT.bmp [--variant combined|simple] [IN2.bmp OUT2.bmp ...]",
         "convert pictures into dots as \"Открыть\" does and write them as \"Сохранить\" does",
         runConvert, nullptr},
        {"plan",
         "plan IN.bmp --plan OUT.txt [--dump DUMP.txt] [--variant combined|simple] "
         "[--mode double|single]",
         "open and convert a picture as a fresh start would and write its engraving plan (and "
         "gray-grid dump) as \"Работа\" does",
         runPlan, nullptr},
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
    };
    return all;
}

} // namespace zuk::batch
