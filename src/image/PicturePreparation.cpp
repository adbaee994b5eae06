#include "image/PicturePreparation.h"

#include "image/PageMemory.h"
#include "image/Resampling.h"
#include "image/RowBands.h"
#include "image/Sharpening.h"

#include <QDir>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <new>

namespace zuk {
namespace {

double contrasted(double v, int contrast) {
    if (contrast >= PreparationChoices::kToneLimit)
        return v < 0.5 ? 0.0 : v > 0.5 ? 1.0 : 0.5;
    const double factor = double(PreparationChoices::kToneLimit + contrast) /
                          double(PreparationChoices::kToneLimit - contrast);
    return (v - 0.5) * factor + 0.5;
}

// An 8-bit gray picture of the picture's size in fresh pages, with its resolution, and each of
// its rows made by `row(y, out)` in two bands.
template <typename Row> QImage grayPicture(const QImage& like, Row row) {
    QImage gray = pictureInFreshPages(like.width(), like.height(), QImage::Format_Grayscale8);
    if (gray.isNull())
        throw std::bad_alloc();
    uchar* const bits = gray.bits(); // taken before the threads start: no detach in them
    const qsizetype stride = gray.bytesPerLine();
    forRowBands(like.height(), [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y)
            row(y, bits + y * stride);
    });
    gray.setDotsPerMeterX(like.dotsPerMeterX());
    gray.setDotsPerMeterY(like.dotsPerMeterY());
    return gray;
}

template <typename GrayOf> QImage graysOf(const QImage& rgb, GrayOf grayOf) {
    const int width = rgb.width();
    return grayPicture(rgb, [&](int y, uchar* out) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < width; ++x)
            out[x] = uchar(grayOf(in[x]));
    });
}

} // namespace

std::array<quint8, 256> toneCurve(const PreparationChoices& choices) {
    std::array<quint8, 256> curve{};
    for (int g = 0; g < 256; ++g) {
        double v = g / 255.0;
        if (choices.brightness != 0)
            v += choices.brightness / double(PreparationChoices::kToneLimit);
        if (choices.contrast != 0)
            v = contrasted(v, choices.contrast);
        v = std::clamp(v, 0.0, 1.0);
        if (choices.gamma != 1.0)
            v = std::pow(v, 1.0 / choices.gamma);
        if (choices.invert)
            v = 1.0 - v;
        curve[std::size_t(g)] = quint8(std::lround(v * 255.0));
    }
    return curve;
}

int lumaOf(QRgb colour) {
    return (299 * qRed(colour) + 587 * qGreen(colour) + 114 * qBlue(colour) + 500) / 1000;
}

QImage reshapedPicture(const QImage& source, const PreparationChoices& choices) {
    QImage picture = source;
    const QRect whole(QPoint(0, 0), source.size());
    if (choices.crop) {
        const QRect kept = choices.crop->intersected(whole);
        if (kept != whole)
            picture = picture.copy(kept);
    }
    if (choices.rotation != 0)
        picture = picture.transformed(QTransform().rotate(choices.rotation));
    if (choices.mirrorLeftRight || choices.mirrorTopBottom)
        picture = picture.mirrored(choices.mirrorLeftRight, choices.mirrorTopBottom);
    const QSize size = preparedSize(source.size(), choices);
    if (size != picture.size())
        picture = resampled(picture, size);
    if (picture.isNull() && !source.isNull())
        throw std::bad_alloc();
    return picture;
}

QImage grayOfPicture(const QImage& picture, GraySource gray) {
    if (picture.isNull())
        return picture;
    const QImage rgb = picture.format() == QImage::Format_RGB32
                           ? picture
                           : picture.convertToFormat(QImage::Format_RGB32);
    if (gray == GraySource::Luma)
        return graysOf(rgb, lumaOf);
    return graysOf(rgb, [](QRgb colour) { return qRed(colour); });
}

QImage tonedAndSharpened(const QImage& gray, const PreparationChoices& choices) {
    const std::array<quint8, 256> curve = toneCurve(choices);
    QImage toned = gray;
    if (curve != toneCurve({})) {
        const int width = gray.width();
        toned = grayPicture(gray, [&](int y, uchar* out) {
            const uchar* in = gray.constScanLine(y);
            for (int x = 0; x < width; ++x)
                out[x] = curve[in[x]];
        });
    }
    return sharpened(toned, choices.sharpenAmount, choices.sharpenRadius);
}

QImage shadedPicture(const QImage& picture, const PreparationChoices& choices) {
    if (!choices.shades() || picture.isNull())
        return picture;
    return tonedAndSharpened(grayOfPicture(picture, choices.gray), choices);
}

PreparedPicture preparePicture(const QImage& source, const PreparationChoices& choices) {
    if (auto problem = preparationProblem(source.size(), choices))
        return {{}, std::move(problem)};
    return {shadedPicture(reshapedPicture(source, choices), choices), std::nullopt};
}

QString preparationRefusal(const QString& path, const QString& problem) {
    return QStringLiteral("Не удалось подготовить рисунок \"%1\": %2.")
        .arg(QDir::toNativeSeparators(path), problem);
}

} // namespace zuk
