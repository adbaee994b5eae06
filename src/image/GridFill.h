#pragma once

#include "image/DialogChoices.h"
#include "image/DotImage.h"
#include "image/ToneTables.h"

#include <QImage>

#include <array>

namespace zuk {

// How the conversion's grids are made from a picture (the public operations are sizeGrids,
// fillGrids and buildGrids in Conversion.h).

enum class GridCells { Zeroed, ToBeFilled };

// Sizes the grids and the bitmap for a picture of `size`. Grids of the same size keep their
// memory; otherwise the old ones go first, so that old and new grids never take memory
// together. The gray grid and the dot image are zeroed only when asked, since the fill writes
// every one of their cells; the bitmap's pixels are all written back by the conversion.
void shapeGrids(DotImage& picture, QSize size, GridCells grayAndDots);

// Fills the gray grid and the dot image of sized grids, grid row by grid row: row 0 and rows
// H+1..H+3 with 0, row y+1 from picture row y (its red channel as the gray, through the tone
// curve of the variant into the dot image, the margin cells 0). Rows may be filled in any
// order.
class GridFill {
public:
    GridFill(const QImage& picture, const PictureTables& tables, ConversionVariant variant,
             DotImage& dots);

    // Grid rows first..end-1.
    void rows(int first, int end);
    // The number of grid rows, H+4.
    int gridRows() const { return dots_.height() + 4; }

private:
    void pictureRow(int y);

    // An 8-bit gray picture (a prepared one) is read byte by byte: its gray is the red
    // channel Qt would give it as 32-bit RGB; any other is read as 32-bit RGB.
    QImage picture_;
    bool gray8_;
    std::array<double, 256> tones_{};
    DotImage& dots_;
};

} // namespace zuk
