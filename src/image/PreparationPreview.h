#pragma once

#include "image/DialogChoices.h"
#include "image/DotImage.h"
#include "image/PreparationChoices.h"
#include "image/ToneTables.h"

#include <QImage>

#include <optional>

namespace zuk {

// The dots a preparation gives, for "Подготовка рисунка" to show while the operator chooses:
// the picture as read, prepared and converted exactly as the open will do it (the same steps,
// the variant chosen, the pattern positions as they stand), so what the dialog shows is what
// will be engraved. The program's own pattern positions are not moved. The picture reshaped
// (crop, rotation, mirror, size) and its grays are kept while only the tone and the sharpening
// change, and the grids are reused from one showing to the next, so that the dots follow a
// slider.
class PreparationPreview {
public:
    PreparationPreview(QImage source, ConversionVariant variant, const PictureTables& tables);

    // The picture as read.
    const QImage& source() const { return source_; }

    // Makes the dots of the choices; the problem, in the operator's words, when they cannot be
    // made (a crop outside the picture, a size beyond the limits, no room in memory); the dots
    // are then empty.
    std::optional<QString> prepare(const PreparationChoices& choices);
    // The dots last made, as grays; the same size as the prepared picture.
    const QImage& dots() const { return dots_.bitmap; }

private:
    const QImage& reshaped(const PreparationChoices& choices);
    const QImage& grays(const PreparationChoices& choices);
    void forget();

    QImage source_;
    ConversionVariant variant_;
    const PictureTables& tables_;
    std::optional<PreparationChoices> reshapedFor_; // the reshaping choices of reshaped_
    QImage reshaped_;
    std::optional<GraySource> graysFrom_; // how grays_ was made from reshaped_
    QImage grays_;
    DotImage dots_;
};

} // namespace zuk
