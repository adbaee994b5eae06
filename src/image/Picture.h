#pragma once

#include "image/Grid.h"

#include <QImage>
#include <QString>

#include <vector>

namespace zuk {

// The largest picture the program opens. Each side is limited by the device: a move counts its
// steps in 16 bits and a row takes two steps, so 32767 rows is the furthest the head can be
// sent upward in one move (columns are held to the same bound). The number of dots is limited
// by memory: a dot costs 4 bytes in the picture bitmap, 4 in the gray grid, 8 in the dot image
// and 4 in the mark grid, so 25 million dots need about 500 MB (the default working field of
// 1930 × 2330 is 4.5 million dots, about 90 MB).
inline constexpr int kMaxPictureSide = 32767;
inline constexpr qint64 kMaxPictureDots = 25'000'000;

// The one working picture of the program and the grids derived from it. With W × H the
// picture size (0 × 0 before the first picture):
// - gray grid: H+4 rows of W+4 integers; pixel (x, y) at row y+1, column x+1; the red
//   component of the pixel (0 = black), all other cells 0;
// - dot image: H+4 rows of W+4 reals; pixel (x, y) at row y+1, column x+2 (one column further
//   right than in the gray grid); after a conversion each picture cell holds its dot value;
// - mark grid of the engraving plan: H+5 rows, rows 0..H+3 of W+5 integers, row H+4 empty;
// - empty-row table of the engraving plan: H+5 integers.
struct Picture {
    // Kept as 32-bit RGB so that the conversion can write its dot values back as grays.
    QImage bitmap;
    // Full path of the last opened file; empty before the first.
    QString fileName;
    Grid<qint32> gray;
    Grid<double> dots;
    Grid<qint32> marks;
    std::vector<qint32> emptyRows;

    int width() const { return bitmap.width(); }
    int height() const { return bitmap.height(); }
};

// A picture file read and checked, or the reason it could not be.
struct PictureFile {
    QImage image;  // 32-bit RGB, the file's pixels unchanged
    QString error; // the message for the operator, naming the file; empty on success
    bool ok() const { return error.isEmpty(); }
};

// Reads a BMP file. Refuses, with a message naming the file and the reason, a file that
// cannot be opened, is not a BMP, has a damaged header or damaged pixel data, or is larger
// than the limits above. Nothing is decoded before the size has been checked.
PictureFile readPictureFile(const QString& path);

// Writes the picture as BMP under exactly the given name (no extension is added). Returns the
// message for the operator, or an empty string on success.
QString writePictureFile(const QImage& picture, const QString& path);

} // namespace zuk
