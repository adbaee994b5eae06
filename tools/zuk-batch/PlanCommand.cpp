#include "PlanCommand.h"

#include "Arguments.h"
#include "PreparationOptions.h"

#include "app/CountText.h"
#include "plan/PlanBuilder.h"

#include <optional>

namespace zuk::batch {
namespace {

struct PlanRequest {
    QString picture;
    PlanFiles files;
    ConversionVariant variant = ConversionVariant::Combined; // the dialog's default
    PreparationChoices preparation;
    bool singleSided = false; // "Стандарт", the default quality
};

std::optional<PlanRequest> parsePlan(const QStringList& args, QTextStream& err) {
    PlanRequest request;
    QStringList pictures;
    ArgumentReader reader(args, "plan", err);
    while (!reader.atEnd() && !reader.failed()) {
        QString value;
        if (reader.option("plan", value)) {
            request.files.plan = value;
        } else if (reader.option("dump", value)) {
            request.files.dump = value;
        } else if (reader.option("variant", value)) {
            if (const auto variant = variantNamed(value, reader))
                request.variant = *variant;
        } else if (reader.option("mode", value)) {
            if (const auto single = singleSidedNamed(value, reader))
                request.singleSided = *single;
        } else if (preparationOption(reader, request.preparation)) {
        } else if (!reader.unknownOption()) {
            pictures << reader.plain();
        }
    }
    if (!reader.failed() && pictures.size() != 1)
        reader.mistake(QStringLiteral("expected one picture, got %1").arg(pictures.size()));
    if (!reader.failed() && request.files.plan.isEmpty())
        reader.mistake(QStringLiteral("--plan OUT.txt is required"));
    if (reader.failed())
        return std::nullopt;
    request.picture = pictures.front();
    return request;
}

} // namespace

int runPlan(const QStringList& args, Streams streams) {
    const auto request = parsePlan(args, streams.err);
    if (!request)
        return kExitUsage;
    PictureTables tables = PictureTables::afterStartUp();
    DotImage picture;
    if (!openAndConvert(request->picture, request->variant, request->preparation, tables, picture,
                        streams.err))
        return kExitFailed;
    SilentPlanProgress progress;
    const PlanBuildResult result =
        buildPlanFiles(picture, request->singleSided, request->files, progress);
    if (!result.ok) {
        streams.err << "zuk-batch plan: " << result.error << '\n';
        return kExitFailed;
    }
    streams.out << request->picture << " -> " << request->files.plan << " ("
                << countText(result.lines) << " lines, " << countText(result.regions)
                << " regions, " << (request->singleSided ? "single" : "double") << "-sided)\n";
    return kExitOk;
}

} // namespace zuk::batch
