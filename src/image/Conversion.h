#pragma once

#include "app/Texts.h"
#include "image/DialogChoices.h"
#include "image/Picture.h"
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

// Sizes all grids from the picture bitmap, every cell 0; nothing of the previous grids stays.
void sizeGrids(Picture& picture, PictureProgress& progress);

// Copies each pixel's red component into the gray grid and its tone value, through the tone
// curve of the variant, into the dot image. Writes every cell of both, the margins as 0, so
// the grids need only have the right size (sizeGrids or buildGrids).
void fillGrids(Picture& picture, const PictureTables& tables, ConversionVariant variant,
               PictureProgress& progress);

// What an open does to the grids: sizeGrids and fillGrids, without first zeroing the cells
// that the fill writes anyway.
void buildGrids(Picture& picture, const PictureTables& tables, ConversionVariant variant,
                PictureProgress& progress);

// Serpentine error diffusion of the dot image to 0 and 255 with one fixed threshold.
void convertSimple(Picture& picture, PictureProgress& progress);

// Serpentine error diffusion where a dot takes the next value of its gray's pattern; advances
// the pattern positions.
void convertCombined(Picture& picture, PictureTables& tables, PictureProgress& progress);

void convertPicture(Picture& picture, PictureTables& tables, ConversionVariant variant,
                    PictureProgress& progress);

// Rebuilds the grids from the picture bitmap and converts it: what every open does once the
// picture is in place. Afterwards the bitmap shows the dot values as grays.
void rebuildAndConvert(Picture& picture, PictureTables& tables, ConversionVariant variant,
                       PictureProgress& progress);

} // namespace zuk
