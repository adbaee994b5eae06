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
        forget(); // the old pictures go before the new ones are made
        reshaped_ = reshapedPicture(source_, reshaping);
        reshapedFor_ = reshaping;
    }
    return reshaped_;
}

const QImage& PreparationPreview::grays(const PreparationChoices& choices) {
    const QImage& picture = reshaped(choices);
    if (graysFrom_ != choices.gray) {
        grays_ = QImage();
        graysFrom_.reset();
        grays_ = grayOfPicture(picture, choices.gray);
        graysFrom_ = choices.gray;
    }
    return grays_;
}

void PreparationPreview::forget() {
    grays_ = QImage();
    graysFrom_.reset();
    reshaped_ = QImage();
    reshapedFor_.reset();
}

std::optional<QString> PreparationPreview::prepare(const PreparationChoices& choices) {
    if (auto problem = preparationProblem(source_.size(), choices)) {
        dots_ = DotImage();
        return problem;
    }
    try {
        // What shadedPicture(reshaped, choices) gives, from the kept pictures.
        const QImage prepared =
            choices.shades() ? tonedAndSharpened(grays(choices), choices) : reshaped(choices);
        SilentProgress progress;
        convertPicture(prepared, tables_, variant_, dots_, progress);
    } catch (const std::bad_alloc&) {
        dots_ = DotImage();
        forget();
        return QStringLiteral("недостаточно памяти для рисунка");
    }
    return std::nullopt;
}

} // namespace zuk
