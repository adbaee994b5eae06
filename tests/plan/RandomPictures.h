#pragma once

#include "image/DialogChoices.h"
#include "image/DotImage.h"

#include <QImage>

namespace zuk::test {

// Pictures for the property tests; the same seed gives the same picture.
enum class RandomKind {
    Blobs, // black ground with shapes of random grays, some with holes and thin parts
    Noise, // every pixel black with some probability, else a random gray
    Photo, // smooth gradients over the whole picture with a few black patches
};
QImage randomPlanPicture(RandomKind kind, int width, int height, unsigned seed);

// The picture opened and converted as a fresh program start would.
DotImage convertedPicture(const QImage& image, ConversionVariant variant);

} // namespace zuk::test
