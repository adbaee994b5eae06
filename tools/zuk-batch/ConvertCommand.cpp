#include "ConvertCommand.h"

#include "image/Conversion.h"
#include "image/Picture.h"
#include "image/ToneTables.h"

#include <optional>
#include <utility>
#include <vector>

namespace zuk::batch {
namespace {

struct ConvertRequest {
    ConversionVariant variant = ConversionVariant::Combined; // the dialog's default
    std::vector<std::pair<QString, QString>> pictures;       // input, output
};

std::optional<ConversionVariant> variantNamed(const QString& name) {
    if (name == QLatin1String("combined"))
        return ConversionVariant::Combined;
    if (name == QLatin1String("simple"))
        return ConversionVariant::Simple;
    return std::nullopt;
}

// Parses the arguments; on a mistake writes what is wrong and returns nothing.
std::optional<ConvertRequest> parseConvert(const QStringList& args, QTextStream& err) {
    ConvertRequest request;
    QStringList paths;
    for (int k = 0; k < args.size(); ++k) {
        const QString& arg = args[k];
        QString variant;
        if (arg == QLatin1String("--variant")) {
            if (k + 1 == args.size()) {
                err << "zuk-batch convert: --variant needs a value (combined or simple)\n";
                return std::nullopt;
            }
            variant = args[++k];
        } else if (arg.startsWith(QLatin1String("--variant="))) {
            variant = arg.mid(int(qstrlen("--variant=")));
        } else if (arg.startsWith(QLatin1String("--"))) {
            err << "zuk-batch convert: unknown option " << arg << '\n';
            return std::nullopt;
        } else {
            paths << arg;
            continue;
        }
        const auto chosen = variantNamed(variant);
        if (!chosen) {
            err << "zuk-batch convert: unknown variant \"" << variant
                << "\" (use combined or simple)\n";
            return std::nullopt;
        }
        request.variant = *chosen;
    }
    if (paths.isEmpty() || paths.size() % 2 != 0) {
        err << "zuk-batch convert: expected pairs of input and output pictures, got "
            << paths.size() << " path(s)\n";
        return std::nullopt;
    }
    for (int k = 0; k < paths.size(); k += 2)
        request.pictures.emplace_back(paths[k], paths[k + 1]);
    return request;
}

// Opens, converts and writes one picture; false (with the message written) on failure.
bool convertOne(const QString& input, const QString& output, ConversionVariant variant,
                PictureTables& tables, Streams streams) {
    PictureFile file = readPictureFile(input);
    if (!file.ok()) {
        streams.err << file.error << '\n';
        return false;
    }
    Picture picture;
    picture.bitmap = std::move(file.image);
    picture.fileName = input;
    SilentProgress progress;
    rebuildAndConvert(picture, tables, variant, progress);
    const QString error = writePictureFile(picture.bitmap, output);
    if (!error.isEmpty()) {
        streams.err << error << '\n';
        return false;
    }
    streams.out << input << " -> " << output << " (" << picture.width() << " x " << picture.height()
                << ", " << (variant == ConversionVariant::Combined ? "combined" : "simple")
                << ")\n";
    return true;
}

} // namespace

int runConvert(const QStringList& args, Streams streams) {
    const auto request = parseConvert(args, streams.err);
    if (!request)
        return kExitUsage;
    PictureTables tables = PictureTables::afterStartUp();
    int failures = 0;
    for (const auto& [input, output] : request->pictures)
        if (!convertOne(input, output, request->variant, tables, streams))
            ++failures;
    if (failures > 0)
        streams.err << "zuk-batch convert: " << failures << " of " << request->pictures.size()
                    << " picture(s) failed\n";
    return failures > 0 ? kExitFailed : kExitOk;
}

} // namespace zuk::batch
