#include "image/Conversion.h"

namespace zuk {
namespace {

// Dot values at or above this become 255 in the simple variant.
constexpr double kSimpleThreshold = 126;

void keepAsRgb32(QImage& bitmap) {
    if (!bitmap.isNull() && bitmap.format() != QImage::Format_RGB32)
        bitmap = bitmap.convertToFormat(QImage::Format_RGB32);
}

// The next nonzero value of the gray's pattern row, advancing its position cyclically.
double nextPatternValue(PictureTables& tables, int gray) {
    const PatternRow& row = tables.pattern[gray];
    quint8& position = tables.positions[gray];
    // A full turn without a value can only come from a damaged table; the dot then stays 0
    // instead of looping for ever.
    for (int step = 0; step < kPatternLength; ++step) {
        const quint8 value = row[position];
        position = position + 1 == kPatternLength ? 0 : position + 1;
        if (value != 0)
            return value;
    }
    return 0;
}

// Serpentine Floyd–Steinberg diffusion over rows 1..H of the dot image: odd rows left to
// right over columns 1..W+2, even rows right to left over columns W+1..2. Each share of the
// error is computed on its own from the same error.
template <typename Quantise>
void diffuse(Picture& picture, PictureProgress& progress, Quantise quantise) {
    const int width = picture.width();
    const int height = picture.height();
    for (int i = 1; i <= height; ++i) {
        double* row = picture.dots.row(i);
        double* below = picture.dots.row(i + 1);
        if (i % 2 == 1) {
            for (int j = 1; j <= width + 2; ++j) {
                const double value = row[j];
                const double dot = quantise(i, j, value);
                row[j] = dot;
                const double error = value - dot;
                row[j + 1] += error * 7 / 16;
                below[j - 1] += error * 3 / 16;
                below[j] += error * 5 / 16;
                below[j + 1] += error * 1 / 16;
            }
        } else {
            for (int j = width + 1; j >= 2; --j) {
                const double value = row[j];
                const double dot = quantise(i, j, value);
                row[j] = dot;
                const double error = value - dot;
                row[j - 1] += error * 7 / 16;
                below[j + 1] += error * 3 / 16;
                below[j] += error * 5 / 16;
                below[j - 1] += error * 1 / 16;
            }
        }
        progress.setGauge(i, height);
    }
}

// Clears the margin columns that the diffusion wrote into; in the combined variant also the
// last picture row, which therefore never holds a dot.
void clearMargins(Picture& picture, ConversionVariant variant) {
    const int width = picture.width();
    const int height = picture.height();
    for (int i = 0; i < height; ++i) {
        double* row = picture.dots.row(i);
        row[0] = 0;
        row[1] = 0;
    }
    for (int i = 0; i < picture.dots.rows(); ++i) {
        double* row = picture.dots.row(i);
        for (int j = width + 2; j < picture.dots.cols(); ++j)
            row[j] = 0;
    }
    if (variant == ConversionVariant::Combined) {
        double* last = picture.dots.row(height);
        for (int j = 0; j <= width; ++j)
            last[j] = 0;
    }
}

// Pulls a value that is nearly a dot value onto it.
qint32 snapToDotValue(qint32 value, ConversionVariant variant) {
    if (value >= 254 && value <= 256)
        return 255;
    if (variant != ConversionVariant::Combined)
        return value;
    if (value >= 190 && value <= 194)
        return 192;
    if (value >= 126 && value <= 130)
        return 128;
    if (value >= 62 && value <= 66)
        return 64;
    if (value >= 0 && value <= 1)
        return 0;
    return value;
}

// Truncates and snaps each picture cell of the dot image and shows it in the bitmap as gray.
void writeBack(Picture& picture, ConversionVariant variant, PictureProgress& progress) {
    keepAsRgb32(picture.bitmap);
    const int width = picture.width();
    const int height = picture.height();
    for (int y = 0; y < height; ++y) {
        double* cells = picture.dots.row(y + 1) + 2;
        auto* line = reinterpret_cast<QRgb*>(picture.bitmap.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const qint32 dot = snapToDotValue(static_cast<qint32>(cells[x]), variant);
            cells[x] = dot;
            line[x] = qRgb(dot, dot, dot);
        }
        progress.setGauge(y + 1, height);
    }
}

void finishConversion(Picture& picture, ConversionVariant variant, PictureProgress& progress) {
    clearMargins(picture, variant);
    // Both variants report the transfer here ("Перенос данных").
    progress.showStatus(StatusText::Transferring);
    progress.setGauge(0, picture.height());
    writeBack(picture, variant, progress);
    progress.setGauge(0, picture.height());
    progress.showStatus(StatusText::PictureReady);
}

void startConversion(const Picture& picture, PictureProgress& progress) {
    progress.showStatus(StatusText::Converting);
    progress.setGauge(0, picture.height());
}

} // namespace

void sizeGrids(Picture& picture, PictureProgress& progress) {
    const int width = picture.width();
    const int height = picture.height();
    progress.setGauge(0, height);
    // The old grids go first, so that the old and the new never take memory together.
    picture.gray.release();
    picture.dots.release();
    picture.marks.release();
    picture.emptyRows = {};
    picture.gray = Grid<qint32>(height + 4, width + 4);
    picture.dots = Grid<double>(height + 4, width + 4);
    picture.marks = Grid<qint32>(height + 5, width + 5, height + 4);
    picture.emptyRows.assign(static_cast<std::size_t>(height) + 5, 0);
    progress.setGauge(height, height);
}

void fillGrids(Picture& picture, const PictureTables& tables, ConversionVariant variant,
               PictureProgress& progress) {
    keepAsRgb32(picture.bitmap);
    const int width = picture.width();
    const int height = picture.height();
    const bool combined = variant == ConversionVariant::Combined;
    progress.showStatus(StatusText::PreparingData);
    progress.setGauge(0, height);
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.bitmap.constScanLine(y));
        qint32* grays = picture.gray.row(y + 1) + 1;
        double* dots = picture.dots.row(y + 1) + 2;
        for (int x = 0; x < width; ++x) {
            const int gray = qRed(line[x]);
            grays[x] = gray;
            dots[x] = combined ? tables.combinedTone[gray] : tables.simpleTone[gray];
        }
        progress.setGauge(y + 1, height);
    }
}

void convertSimple(Picture& picture, PictureProgress& progress) {
    startConversion(picture, progress);
    diffuse(picture, progress,
            [](int, int, double value) { return value >= kSimpleThreshold ? 255.0 : 0.0; });
    finishConversion(picture, ConversionVariant::Simple, progress);
}

void convertCombined(Picture& picture, PictureTables& tables, PictureProgress& progress) {
    startConversion(picture, progress);
    // The gray grid cell with the dot's own indices lies one pixel to the right of the dot,
    // so the threshold and the pattern of a dot come from its right neighbour.
    diffuse(picture, progress, [&](int i, int j, double value) {
        const qint32 gray = picture.gray.row(i)[j];
        if (gray >= 1 && static_cast<qint64>(value) > gray / 2)
            return nextPatternValue(tables, gray);
        return 0.0;
    });
    finishConversion(picture, ConversionVariant::Combined, progress);
}

void convertPicture(Picture& picture, PictureTables& tables, ConversionVariant variant,
                    PictureProgress& progress) {
    if (variant == ConversionVariant::Combined)
        convertCombined(picture, tables, progress);
    else
        convertSimple(picture, progress);
}

void rebuildAndConvert(Picture& picture, PictureTables& tables, ConversionVariant variant,
                       PictureProgress& progress) {
    sizeGrids(picture, progress);
    fillGrids(picture, tables, variant, progress);
    convertPicture(picture, tables, variant, progress);
}

} // namespace zuk
