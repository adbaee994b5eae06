#pragma once

#include "image/Grid.h"

#include <QImage>

namespace zuk {

// The dots a conversion made from a picture. With W × H the picture's size:
// - gray grid: H+4 rows of W+4 integers; pixel (x, y) at row y+1, column x+1; the red
//   component of the pixel (0 = black), all other cells 0;
// - dot image: H+4 rows of W+4 reals; pixel (x, y) at row y+1, column x+2 (one column further
//   right than in the gray grid); each picture cell holds its dot value 0, 64, 128, 192 or 255;
// - bitmap: the dot values as grays (red = green = blue), 32-bit RGB with the picture's
//   resolution: what the working-field view draws and "Сохранить" writes.
// The engraving plan reads the gray grid and the dot image; it keeps its own grids.
struct DotImage {
    Grid<qint32> gray;
    Grid<double> dots;
    QImage bitmap;

    int width() const { return bitmap.width(); }
    int height() const { return bitmap.height(); }
    QSize size() const { return bitmap.size(); }
    bool empty() const { return bitmap.isNull(); }
};

} // namespace zuk
