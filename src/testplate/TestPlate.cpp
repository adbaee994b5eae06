#include "testplate/TestPlate.h"

#include "app/Program.h"
#include "image/GridFill.h"
#include "image/Placement.h"
#include "plan/LevelPanels.h"
#include "plan/PlanBuilder.h"
#include "plan/PlanProgress.h"
#include "plan/PlanReader.h"
#include "plan/TimeEstimate.h"
#include "run/PlanFiles.h"
#include "service/FieldBounds.h"

#include <QTemporaryDir>

#include <algorithm>

namespace zuk {

namespace {

StrikeLevels levelsOf(const std::vector<int>& forcesByCode) {
    // Codes without a patch keep the weakest force of the job: nothing is struck with them.
    const auto at = [&](std::size_t code) {
        return quint8(forcesByCode.at(std::min(code, forcesByCode.size() - 1)));
    };
    return StrikeLevels{at(3), at(2), at(1), at(0)};
}

} // namespace

std::optional<TestPlate> TestPlate::lay(const Program& program, const TestPlateChoices& choices,
                                        QString* why) {
    const EngravingChoices operators = choicesOnFirstOpening(program.choices);
    const QSize fieldView = program.image.view().image().size();
    const QSize field = workingFieldInDots(fieldView, operators.resolutionIndex);
    std::optional<PlateLayout> layout = layOutPlate(choices.forces, choices.patchDots, field, why);
    if (!layout)
        return std::nullopt;
    const QPoint offset = placementOffsets(fieldView, operators.resolutionIndex,
                                           marksOfButton(choices.placementButton), layout->size);
    TestPlate plate(choices, std::move(*layout), offset, fieldView, operators);
    if (plate.jobs_.empty()) {
        if (why)
            *why = QStringLiteral("Не осталось сил удара для пробной пластины.");
        return std::nullopt;
    }
    return plate;
}

TestPlate::TestPlate(const TestPlateChoices& choices, PlateLayout layout, QPoint offset,
                     QSize fieldView, const EngravingChoices& operators)
    : choices_(choices), layout_(std::move(layout)), dots_(plateDots(layout_)), offset_(offset),
      fieldView_(fieldView), operators_(operators) {
    for (int job = 0; job < layout_.jobCount(); ++job)
        if (!forcesToStrike(job).empty())
            jobs_.push_back(job);
}

QSize TestPlate::field() const {
    return workingFieldInDots(fieldView_, operators_.resolutionIndex);
}

std::vector<int> TestPlate::forcesToStrike(int job) const {
    std::vector<int> forces;
    for (const int force : layout_.jobForces(job))
        if (force >= choices_.continueFrom.value_or(kLowestPlateForce))
            forces.push_back(force);
    return forces;
}

EngravingChoices TestPlate::jobChoices(int job) const {
    EngravingChoices choices = operators_;
    choices.secondPass = false;
    choices.selectIndividual(Pass::First);
    choices.first = levelsOf(layout_.jobForces(job));
    return choices;
}

DotImage TestPlate::jobDots(int job) const {
    DotImage image = plateDots(layout_, job);
    // A plate taken up again leaves out the patches struck before the interruption.
    for (const PlatePatch& patch : layout_.patches) {
        if (patch.job != job || patch.force >= choices_.continueFrom.value_or(kLowestPlateForce))
            continue;
        for (const QRect& box : {patch.block, patch.label})
            for (int y = box.top(); y <= box.bottom(); ++y)
                for (int x = box.left(); x <= box.right(); ++x) {
                    image.gray.at(y + 1, x + 1) = 0;
                    image.dots.at(y + 1, x + 2) = 0;
                    image.bitmap.setPixel(x, y, qRgb(0, 0, 0));
                }
    }
    return image;
}

JobRequest TestPlate::request(int job, const Program& program) {
    requested_ = jobDots(job);
    JobRequest request;
    request.dots = &requested_;
    QStringList forces;
    for (const int force : forcesToStrike(job))
        forces << QString::number(force);
    request.pictureFile = QStringLiteral("Пробная пластина (%1)").arg(forces.join(", "));
    request.offset = offset_;
    request.fieldView = fieldView_;
    request.choices = jobChoices(job);
    request.choices.singleSided = program.choices.singleSided;
    return request;
}

JobStartResult TestPlate::start(int job, Program& program) {
    return startJob(program, request(job, program), {});
}

std::vector<PlateJobFigures> TestPlate::planJobs(const Program& program) {
    std::vector<PlateJobFigures> figures;
    QTemporaryDir scratch;
    const ProgramDir dir(scratch.path());
    for (const int job : jobs_) {
        JobRequest asked = request(job, program);
        SilentPlanProgress silent;
        const PlanBuildResult built =
            buildPlan(*asked.dots, asked.choices.singleSided, dir, silent);
        PlateJobFigures one{built.lines, 0};
        PlanReader plan;
        if (built.ok && plan.open(dir.path(kEngravingPlanName))) {
            const CommandSet& commands = program.commands;
            EstimateInputs inputs = estimateInputs(commands, offset_.x(), offset_.y(), false,
                                                   program.exchange.linkActive());
            const StrikeProfile profile =
                computeStrikeProfile(asked.choices.first, inputs.stepTimeFactor,
                                     inputs.motorParameter60, commands.strikeU, commands.strikeT);
            inputs.stepDuration = profile.stepDuration;
            inputs.strikeDurations = profile.strikeDurations;
            one.estimate = estimateJob(plan, inputs).total;
        }
        figures.push_back(one);
    }
    return figures;
}

std::optional<int> TestPlate::forceAfter(int job) const {
    const auto next = std::find_if(jobs_.begin(), jobs_.end(), [job](int j) { return j > job; });
    if (next == jobs_.end())
        return std::nullopt;
    return forcesToStrike(*next).front();
}

} // namespace zuk
