#include "service/FieldBounds.h"

#include "app/Settings.h"
#include "image/ImagePreparation.h"
#include "image/Placement.h"

namespace zuk {

QSize workingFieldInDots(QSize image1Size, int resolution) {
    // The motors step 16 + r units per dot for the density dialog's odd choices (-1, 9) as
    // well, so the head's travel is measured the same way for them; only the view drawing
    // takes the field as empty there.
    if (resolution < kNoResolutionLine || resolution > kEmptyResolutionLine)
        return {0, 0};
    const auto inDots = [resolution](int pixels) {
        return static_cast<int>(qint64(pixels) * 16 / (16 + resolution));
    };
    return {inDots(image1Size.width()), inDots(image1Size.height())};
}

QSize workingFieldInDots(const ImagePreparation& image) {
    return workingFieldInDots(image.view().image().size(), image.placement().resolution);
}

bool pointInField(QPoint point, QSize fieldDots) {
    return pointInField(point.x(), point.y(), fieldDots);
}

bool pointInField(qint64 column, qint64 row, QSize fieldDots) {
    return column >= 0 && row >= 0 && column <= fieldDots.width() && row <= fieldDots.height();
}

std::optional<QString> placementFitsField(const Placement& placement, QSize fieldDots) {
    if (fieldDots.isEmpty())
        return QStringLiteral("Рабочее поле при выбранной плотности точек пусто: выберите "
                              "плотность точек из списка и расположите рисунок заново.");
    // 64-bit sums: a picture may be dragged far off the field.
    const qint64 left = placement.offset.x();
    const qint64 top = placement.offset.y();
    const qint64 right = left + placement.frameSize.width();
    const qint64 bottom = top + placement.frameSize.height();
    if (left >= 0 && top >= 0 && right <= fieldDots.width() && bottom <= fieldDots.height())
        return std::nullopt;
    return QStringLiteral("Рисунок выходит за рабочее поле: рисунок %1 × %2 точек с началом в "
                          "точке (%3, %4), рабочее поле %5 × %6 точек. Расположите рисунок на "
                          "поле заново.")
        .arg(placement.frameSize.width())
        .arg(placement.frameSize.height())
        .arg(left)
        .arg(top)
        .arg(fieldDots.width())
        .arg(fieldDots.height());
}

std::optional<QString> placementFitsField(const ImagePreparation& image) {
    return placementFitsField(image.placement(), workingFieldInDots(image));
}

} // namespace zuk
