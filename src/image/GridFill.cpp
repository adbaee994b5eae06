#include "image/GridFill.h"

#include "image/Conversion.h"
#include "image/PageMemory.h"

#include <algorithm>

namespace zuk {
namespace {

// The conversion reads 32-bit RGB pictures and 8-bit gray ones; a picture in any other format is
// read as Qt turns it into 32-bit RGB.
QImage readable(const QImage& picture) {
    if (picture.isNull() || picture.format() == QImage::Format_RGB32 ||
        picture.format() == QImage::Format_Grayscale8)
        return picture;
    return picture.convertToFormat(QImage::Format_RGB32);
}

template <typename T> void clearRow(Grid<T>& grid, int row) {
    std::fill_n(grid.row(row), grid.cols(), T{});
}

} // namespace

void shapeGrids(DotImage& picture, QSize size, GridCells grayAndDots) {
    const int width = size.width();
    const int height = size.height();
    if (picture.gray.rows() != height + 4 || picture.gray.cols() != width + 4 ||
        picture.bitmap.size() != size) {
        picture.gray.release();
        picture.dots.release();
        picture.bitmap = QImage();
    }
    if (grayAndDots == GridCells::Zeroed) {
        picture.gray.reset(height + 4, width + 4);
        picture.dots.reset(height + 4, width + 4);
    } else {
        picture.gray.resizeForOverwrite(height + 4, width + 4);
        picture.dots.resizeForOverwrite(height + 4, width + 4);
    }
    if (picture.bitmap.isNull() && !size.isEmpty())
        picture.bitmap = pictureInFreshPages(width, height);
}

GridFill::GridFill(const QImage& picture, const PictureTables& tables, ConversionVariant variant,
                   DotImage& dots)
    : picture_(readable(picture)), gray8_(picture_.format() == QImage::Format_Grayscale8),
      dots_(dots) {
    // The tone value of every gray as a real, so that the fill only copies.
    for (int gray = 0; gray < 256; ++gray)
        tones_[gray] = variant == ConversionVariant::Combined ? tables.combinedTone[gray]
                                                              : tables.simpleTone[gray];
}

void GridFill::rows(int first, int end) {
    const int height = dots_.height();
    for (int row = first; row < end; ++row) {
        if (row >= 1 && row <= height) {
            pictureRow(row - 1);
        } else {
            clearRow(dots_.gray, row);
            clearRow(dots_.dots, row);
        }
    }
}

void GridFill::pictureRow(int y) {
    const int width = dots_.width();
    qint32* grays = dots_.gray.row(y + 1);
    double* cells = dots_.dots.row(y + 1);
    grays[0] = 0;
    cells[0] = cells[1] = 0;
    if (gray8_) {
        const uchar* line = picture_.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            grays[x + 1] = line[x];
            cells[x + 2] = tones_[line[x]];
        }
    } else {
        const auto* line = reinterpret_cast<const QRgb*>(picture_.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const int gray = qRed(line[x]);
            grays[x + 1] = gray;
            cells[x + 2] = tones_[gray];
        }
    }
    std::fill(grays + width + 1, grays + width + 4, 0);
    std::fill(cells + width + 2, cells + width + 4, 0.0);
}

void sizeGrids(DotImage& dots, QSize size, PictureProgress& progress) {
    progress.setGauge(0, size.height());
    shapeGrids(dots, size, GridCells::Zeroed);
    progress.setGauge(size.height(), size.height());
}

void fillGrids(const QImage& picture, const PictureTables& tables, ConversionVariant variant,
               DotImage& dots, PictureProgress& progress) {
    GridFill fill(picture, tables, variant, dots);
    const int height = dots.height();
    progress.showStatus(StatusText::PreparingData);
    progress.setGauge(0, height);
    fill.rows(0, 1);
    for (int y = 0; y < height; ++y) {
        fill.rows(y + 1, y + 2);
        progress.setGauge(y + 1, height);
    }
    fill.rows(height + 1, height + 4);
    // The dots shown take the picture's resolution, which "Сохранить" writes.
    dots.bitmap.setDotsPerMeterX(picture.dotsPerMeterX());
    dots.bitmap.setDotsPerMeterY(picture.dotsPerMeterY());
}

void buildGrids(const QImage& picture, const PictureTables& tables, ConversionVariant variant,
                DotImage& dots, PictureProgress& progress) {
    progress.setGauge(0, picture.height());
    shapeGrids(dots, picture.size(), GridCells::ToBeFilled);
    progress.setGauge(picture.height(), picture.height());
    fillGrids(picture, tables, variant, dots, progress);
}

} // namespace zuk
