#include "ConvertCommand.h"

#include "Arguments.h"
#include "PreparationOptions.h"

#include "image/Picture.h"

#include <optional>
#include <utility>
#include <vector>

namespace zuk::batch {
namespace {

struct ConvertRequest {
    ConversionVariant variant = ConversionVariant::Combined; // the dialog's default
    PreparationChoices preparation;
    std::vector<std::pair<QString, QString>> pictures; // input, output
};

// Parses the arguments; on a mistake writes what is wrong and returns nothing.
std::optional<ConvertRequest> parseConvert(const QStringList& args, QTextStream& err) {
    ConvertRequest request;
    QStringList paths;
    ArgumentReader reader(args, "convert", err);
    while (!reader.atEnd() && !reader.failed()) {
        QString value;
        if (reader.option("variant", value)) {
            if (const auto variant = variantNamed(value, reader))
                request.variant = *variant;
        } else if (preparationOption(reader, request.preparation)) {
        } else if (!reader.unknownOption()) {
            paths << reader.plain();
        }
    }
    if (!reader.failed() && (paths.isEmpty() || paths.size() % 2 != 0))
        reader.mistake(QStringLiteral("expected pairs of input and output pictures, got %1 path(s)")
                           .arg(paths.size()));
    if (reader.failed())
        return std::nullopt;
    for (int k = 0; k < paths.size(); k += 2)
        request.pictures.emplace_back(paths[k], paths[k + 1]);
    return request;
}

// Opens, converts and writes one picture; false (with the message written) on failure.
// The dots (whose grids are rebuilt from scratch for each file) are handed from one file to
// the next only to spare fresh memory for every one of them.
bool convertOne(const QString& input, const QString& output, const ConvertRequest& request,
                PictureTables& tables, DotImage& picture, Streams streams) {
    const ConversionVariant variant = request.variant;
    if (!openAndConvert(input, variant, request.preparation, tables, picture, streams.err))
        return false;
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
    DotImage picture;
    int failures = 0;
    for (const auto& [input, output] : request->pictures)
        if (!convertOne(input, output, *request, tables, picture, streams))
            ++failures;
    if (failures > 0)
        streams.err << "zuk-batch convert: " << failures << " of " << request->pictures.size()
                    << " picture(s) failed\n";
    return failures > 0 ? kExitFailed : kExitOk;
}

} // namespace zuk::batch
