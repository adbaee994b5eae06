#include "EstimateCommand.h"

#include "device/CommandSet.h"
#include "plan/PlanReader.h"
#include "plan/TimeEstimate.h"

#include <QLocale>

#include <limits>
#include <optional>
#include <type_traits>

namespace zuk::batch {
namespace {

constexpr const char* kUsage =
    "usage: zuk-batch estimate PLAN.txt [--link-delay MS] [--step-factor F] [--motor-p P]\n"
    "                          [--levels L8,L16,L24,L32] [--u U] [--t T] [--col-offset C]\n"
    "                          [--row-offset R] [--second-pass] [--link-inactive]\n"
    "Prints the job time \"Работа\" would estimate for the plan: \"T <n>\" in 10-µs units on\n"
    "the first line, then the duration (hours run past 23).\n"
    "  --link-delay MS     link delay (default 400)\n"
    "  --step-factor F     step-time factor, 0..255 (default 12)\n"
    "  --motor-p P         motor parameter 0x60 value, 0..255 (default 1)\n"
    "  --levels L8,L16,L24,L32  strike forces, 0..255 each (default 2,5,10,14)\n"
    "  --u U, --t T        strike parameters U and T, 0..255 (default 64 and 46)\n"
    "  --col-offset C, --row-offset R  placement of the picture (default 0 and 0)\n"
    "  --second-pass       the plan runs twice\n"
    "  --link-inactive     the device link is down: only needle lines and strikes count\n";

struct EstimateRequest {
    QString plan;
    EstimateInputs inputs;
    StrikeLevels levels{14, 10, 5, 2};
    qint32 strikeU = 64;
    qint32 strikeT = 46;
    bool help = false;
};

std::optional<qint64> integer(const QString& text, qint64 lowest, qint64 highest) {
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

std::optional<StrikeLevels> levelsFrom(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    std::array<quint8, 4> values{};
    for (int k = 0; k < 4; ++k) {
        const auto value = integer(parts[k].trimmed(), 0, 255);
        if (!value)
            return std::nullopt;
        values[k] = static_cast<quint8>(*value);
    }
    return StrikeLevels{values[3], values[2], values[1], values[0]};
}

// Applies one valued option; false when the value does not fit it.
bool applyValue(EstimateRequest& request, const QString& name, const QString& value) {
    constexpr qint64 kInt32Low = std::numeric_limits<qint32>::min();
    constexpr qint64 kInt32High = std::numeric_limits<qint32>::max();
    EstimateInputs& in = request.inputs;
    const auto set = [&value](auto& target, qint64 lowest, qint64 highest) {
        const auto parsed = integer(value, lowest, highest);
        if (parsed)
            target = static_cast<std::remove_reference_t<decltype(target)>>(*parsed);
        return parsed.has_value();
    };
    if (name == QLatin1String("link-delay"))
        return set(in.linkDelay, 0, kInt32High);
    if (name == QLatin1String("step-factor"))
        return set(in.stepTimeFactor, 0, 255);
    if (name == QLatin1String("motor-p"))
        return set(in.motorParameter60, 0, 255);
    if (name == QLatin1String("u"))
        return set(request.strikeU, 0, 255);
    if (name == QLatin1String("t"))
        return set(request.strikeT, 0, 255);
    if (name == QLatin1String("col-offset"))
        return set(in.columnOffset, kInt32Low, kInt32High);
    if (name == QLatin1String("row-offset"))
        return set(in.rowOffset, kInt32Low, kInt32High);
    const auto levels = levelsFrom(value);
    if (levels)
        request.levels = *levels;
    return levels.has_value();
}

bool isValuedOption(const QString& name) {
    static const QStringList valued{"link-delay", "step-factor", "motor-p",    "levels",
                                    "u",          "t",           "col-offset", "row-offset"};
    return valued.contains(name);
}

// Parses the arguments; on a mistake writes what is wrong and returns nothing.
std::optional<EstimateRequest> parseEstimate(const QStringList& args, QTextStream& err) {
    EstimateRequest request;
    QStringList paths;
    for (int k = 0; k < args.size(); ++k) {
        const QString& arg = args[k];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            request.help = true;
            return request;
        }
        if (!arg.startsWith(QLatin1String("--")) || arg == QLatin1String("--")) {
            paths << arg;
            continue;
        }
        QString name = arg.mid(2);
        std::optional<QString> value;
        if (const qsizetype equals = name.indexOf(QLatin1Char('=')); equals >= 0) {
            value = name.mid(equals + 1);
            name.truncate(equals);
        }
        if (name == QLatin1String("second-pass") && !value) {
            request.inputs.secondPass = true;
        } else if (name == QLatin1String("link-inactive") && !value) {
            request.inputs.linkActive = false;
        } else if (isValuedOption(name)) {
            if (!value && k + 1 == args.size()) {
                err << "zuk-batch estimate: --" << name << " needs a value\n";
                return std::nullopt;
            }
            const QString text = value ? *value : args[++k];
            if (!applyValue(request, name, text)) {
                err << "zuk-batch estimate: bad value \"" << text << "\" for --" << name << '\n';
                return std::nullopt;
            }
        } else {
            err << "zuk-batch estimate: unknown option " << arg << '\n';
            return std::nullopt;
        }
    }
    if (paths.size() != 1) {
        err << "zuk-batch estimate: expected one plan file, got " << paths.size()
            << " (see zuk-batch estimate --help)\n";
        return std::nullopt;
    }
    request.plan = paths.front();
    return request;
}

} // namespace

int runEstimate(const QStringList& args, Streams streams) {
    auto request = parseEstimate(args, streams.err);
    if (!request)
        return kExitUsage;
    if (request->help) {
        streams.out << kUsage;
        return kExitOk;
    }
    EstimateInputs& inputs = request->inputs;
    const StrikeProfile profile =
        computeStrikeProfile(request->levels, inputs.stepTimeFactor, inputs.motorParameter60,
                             request->strikeU, request->strikeT);
    inputs.stepDuration = profile.stepDuration;
    inputs.strikeDurations = profile.strikeDurations;
    if (profile.clamped)
        streams.err << "zuk-batch estimate: a strike phase was limited to 255, as SetStrike "
                       "limits it\n";

    PlanReader plan;
    if (!plan.open(request->plan)) {
        streams.err << plan.error() << '\n';
        return kExitFailed;
    }
    const JobEstimate estimate = estimateJob(plan, inputs);
    if (!estimate.ok()) {
        streams.err << estimate.error << '\n';
        return kExitFailed;
    }
    streams.out << "T " << estimate.total << '\n'
                << durationText(estimate.total, QLocale::c()) << '\n';
    return kExitOk;
}

} // namespace zuk::batch
