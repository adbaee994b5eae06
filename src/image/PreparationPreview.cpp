#include "image/PreparationPreview.h"

#include "image/Conversion.h"
#include "image/PicturePreparation.h"

#include <new>

namespace zuk {
namespace {

// The choices that decide the reshaped picture; the grays' choices at their defaults.
PreparationChoices reshapingOf(const PreparationChoices& choices) {
    PreparationChoices reshaping;
    reshaping.crop = choices.crop;
    reshaping.rotation = choices.rotation;
    reshaping.mirrorLeftRight = choices.mirrorLeftRight;
    reshaping.mirrorTopBottom = choices.mirrorTopBottom;
    reshaping.width = choices.width;
    reshaping.height = choices.height;
    return reshaping;
}

} // namespace

PreparationPreview::PreparationPreview(QImage source, ConversionVariant variant,
                                       const PictureTables& tables)
    : source_(std::move(source)), variant_(variant), tables_(tables) {}

const QImage& PreparationPreview::reshaped(const PreparationChoices& choices) {
    const PreparationChoices reshaping = reshapingOf(choices);
    if (reshapedFor_ != reshaping) {
        reshaped_ = QImage(); // the old one goes before the new one is made
        reshapedFor_.reset();
        reshaped_ = reshapedPicture(source_, reshaping);
        reshapedFor_ = reshaping;
    }
    return reshaped_;
}

std::optional<QString> PreparationPreview::prepare(const PreparationChoices& choices) {
    if (auto problem = preparationProblem(source_.size(), choices)) {
        dots_ = DotImage();
        return problem;
    }
    try {
        const QImage prepared = shadedPicture(reshaped(choices), choices);
        SilentProgress progress;
        convertPicture(prepared, tables_, variant_, dots_, progress);
    } catch (const std::bad_alloc&) {
        dots_ = DotImage();
        reshaped_ = QImage();
        reshapedFor_.reset();
        return QStringLiteral("недостаточно памяти для рисунка");
    }
    return std::nullopt;
}

} // namespace zuk
