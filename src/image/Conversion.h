#pragma once

#include "app/Texts.h"
#include "image/DialogChoices.h"
#include "image/DotImage.h"
#include "image/ToneTables.h"

namespace zuk {

// Where the picture operations report what they are doing: a status text for line 1 of the
// status memo and the progress gauge.
class PictureProgress {
public:
    virtual ~PictureProgress() = default;
    virtual void showStatus(StatusText text) = 0;
    virtual void setGauge(int progress, int maximum) = 0;
};

// For callers without a screen (the batch tool, the benchmarks).
class SilentProgress final : public PictureProgress {
public:
    void showStatus(StatusText) override {}
    void setGauge(int, int) override {}
};

// Sizes the dot image for a picture of `size`: the gray grid and the dot image with every cell
// 0, and the bitmap. Nothing of the previous grids stays; grids of the same size keep their
// memory.
void sizeGrids(DotImage& dots, QSize size, PictureProgress& progress);

// Copies each pixel's red component into the gray grid and its tone value, through the tone
// curve of the variant, into the dot image. Writes every cell of both, the margins as 0, so
// the grids need only have the picture's size (sizeGrids or buildGrids).
void fillGrids(const QImage& picture, const PictureTables& tables, ConversionVariant variant,
               DotImage& dots, PictureProgress& progress);

// What a conversion does first: sizeGrids and fillGrids, without first zeroing the cells that
// the fill writes anyway.
void buildGrids(const QImage& picture, const PictureTables& tables, ConversionVariant variant,
                DotImage& dots, PictureProgress& progress);

// Serpentine error diffusion of the filled grids to 0 and 255 with one fixed threshold, and
// the dots written back as grays.
void convertSimple(DotImage& dots, PictureProgress& progress);

// Serpentine error diffusion of the filled grids where a dot takes the next value of its
// gray's pattern, starting from the pattern positions of `tables`; returns the positions
// advanced past every value taken.
PatternPositions convertCombined(DotImage& dots, const PictureTables& tables,
                                 PictureProgress& progress);

// The diffusion of the variant; returns the pattern positions after it (unchanged by the
// simple variant).
PatternPositions convertGrids(DotImage& dots, const PictureTables& tables,
                              ConversionVariant variant, PictureProgress& progress);

// The whole conversion of a picture into its dots, as every open makes it: the grids built from
// the picture, the diffusion and the dots written back into the bitmap, which takes the
// picture's resolution. The picture itself is not changed. The tables' pattern positions are
// where the combined variant starts; the positions after the conversion are returned, for the
// caller to keep (the program carries them from one conversion to the next) or to drop (a
// preview of the dots).
PatternPositions convertPicture(const QImage& picture, const PictureTables& tables,
                                ConversionVariant variant, DotImage& dots,
                                PictureProgress& progress);

} // namespace zuk
