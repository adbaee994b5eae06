#include "image/Conversion.h"

#include "image/DiffusionRow.h"
#include "image/PageMemory.h"

#include <algorithm>
#include <limits>
#include <memory>

namespace zuk {
namespace {

// Dot values at or above this become 255 in the simple variant.
constexpr double kSimpleThreshold = 126;

// The conversion reads 32-bit RGB pictures; a picture in any other format is read as Qt turns
// it into one.
QImage asRgb32(const QImage& picture) {
    if (picture.isNull() || picture.format() == QImage::Format_RGB32)
        return picture;
    return picture.convertToFormat(QImage::Format_RGB32);
}

// What the pattern lookup finds from one position of one gray's row: the next nonzero value
// (0 when the row has none) and the position it leaves behind.
struct PatternStep {
    quint8 value;
    quint8 next;
};
using PatternSteps = std::array<std::array<PatternStep, kPatternLength>, 256>;

// Works out every lookup of the pattern table at once: from position p the lookup takes the
// first nonzero entry at or after p (cyclically) and moves to the position after it. A row
// without any value, which only a damaged table has, gives 0 and leaves the position where
// it was, as a full turn round the row would.
std::unique_ptr<PatternSteps> patternSteps(const PatternTable& pattern) {
    auto steps = std::make_unique<PatternSteps>();
    for (int gray = 0; gray < 256; ++gray) {
        const PatternRow& row = pattern[gray];
        int found = -1; // the nearest nonzero entry at or after the position, cyclically
        for (int k = 2 * kPatternLength - 1; k >= 0; --k) {
            const int position = k % kPatternLength;
            if (row[position] != 0)
                found = position;
            if (k < kPatternLength)
                (*steps)[gray][position] =
                    found < 0 ? PatternStep{0, quint8(position)}
                              : PatternStep{row[found], quint8((found + 1) % kPatternLength)};
        }
    }
    return steps;
}

using diffusion::Candidate;
using diffusion::Real;
using diffusion::Strike;

// The simple variant's quantiser: one fixed threshold, every dot 255.
class ThresholdQuantiser {
public:
    void startRow(int) {}
    Candidate candidate(int) const { return {threshold_, dot_}; }
    void commit(int, const Strike&) {}

private:
    const Real threshold_{kSimpleThreshold};
    const Real dot_{255.0};
};

// The combined variant's quantiser. The gray grid cell with the dot's own indices lies one
// pixel to the right of the dot, so the threshold and the pattern of a dot come from its right
// neighbour. The pattern positions start as the tables hold them and are advanced in a copy.
class PatternQuantiser {
public:
    PatternQuantiser(const Grid<qint32>& gray, const PictureTables& tables)
        : gray_(gray), steps_(patternSteps(tables.pattern)) {
        // Positions are always below the pattern length; the remainder only keeps a damaged
        // one inside the table.
        for (int tone = 0; tone < 256; ++tone)
            positions_[tone] = tables.positions[tone] % kPatternLength;
        // A dot of gray g ≥ 1 is struck when Int(v) > g div 2. Both sides are integers, so this
        // is v ≥ g div 2 + 1 for every v the diffusion can hold (Int truncates toward zero,
        // and a negative v is struck by neither); gray 0 is never struck.
        thresholds_[0] = std::numeric_limits<double>::infinity();
        for (int tone = 1; tone < 256; ++tone) {
            const int lowestStruckValue = tone / 2 + 1;
            thresholds_[tone] = lowestStruckValue;
        }
        for (int value = 0; value < 256; ++value)
            dotValues_[value] = value;
    }
    PatternQuantiser(const PatternQuantiser&) = delete;
    PatternQuantiser& operator=(const PatternQuantiser&) = delete;

    // The positions as the diffusion has left them.
    PatternPositions positions() const {
        PatternPositions advanced{};
        std::copy(positions_.begin(), positions_.end(), advanced.begin());
        return advanced;
    }

    void startRow(int i) { grays_ = gray_.row(i); }

    // The next value of the gray's pattern, looked up without moving on yet.
    Candidate candidate(int j) {
        currentGray_ = grays_[j];
        const PatternStep step = (*steps_)[currentGray_][positions_[currentGray_]];
        currentNext_ = step.next;
        return {Real::at(&thresholds_[currentGray_]), Real::at(&dotValues_[step.value])};
    }
    // A struck dot has taken its pattern value, so the pattern moves on.
    void commit(int, const Strike& strike) {
        // Moves on or stays without a branch, which would be mispredicted as often as not.
        int& position = positions_[currentGray_];
        position ^= (currentNext_ ^ position) & -int(strike.taken());
    }

private:
    const Grid<qint32>& gray_;
    std::unique_ptr<PatternSteps> steps_;
    std::array<int, 256> positions_{};
    std::array<double, 256> thresholds_{};
    std::array<double, 256> dotValues_{};
    const qint32* grays_ = nullptr;
    int currentGray_ = 0; // the gray and the position after it of the cell being quantised
    int currentNext_ = 0;
};

// Serpentine diffusion over rows 1..H of the dot image: odd rows left to right over columns
// 1..W+2, even rows right to left over columns W+1..2.
template <typename Quantiser>
void diffuse(DotImage& picture, PictureProgress& progress, Quantiser& quantiser) {
    const int width = picture.width();
    const int height = picture.height();
    for (int i = 1; i <= height; ++i) {
        quantiser.startRow(i);
        double* row = picture.dots.row(i);
        double* below = picture.dots.row(i + 1);
        if (i % 2 == 1)
            diffusion::diffuseRow<+1>(row, below, 1, width + 2, quantiser);
        else
            diffusion::diffuseRow<-1>(row, below, width + 1, 2, quantiser);
        progress.setGauge(i, height);
    }
}

// Clears the margin columns that the diffusion wrote into; in the combined variant also the
// last picture row, which therefore never holds a dot.
void clearMargins(DotImage& picture, ConversionVariant variant) {
    const int width = picture.width();
    const int height = picture.height();
    for (int i = 0; i < height; ++i) {
        double* row = picture.dots.row(i);
        row[0] = 0;
        row[1] = 0;
    }
    for (int i = 0; i < picture.dots.rows(); ++i) {
        double* row = picture.dots.row(i);
        std::fill(row + width + 2, row + picture.dots.cols(), 0.0);
    }
    if (variant == ConversionVariant::Combined)
        std::fill_n(picture.dots.row(height), width + 1, 0.0);
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

// The snapped value of every value that snapping can change (0..256), looked up rather than
// tested: the dot values follow each other as good as randomly, and a chain of mispredicted
// branches per dot would cost more than the rest of the write-back.
class DotSnap {
public:
    explicit DotSnap(ConversionVariant variant) {
        for (qint32 value = 0; value <= kLast; ++value)
            snapped_[value] = snapToDotValue(value, variant);
    }
    qint32 operator()(qint32 value) const {
        return quint32(value) <= quint32(kLast) ? snapped_[value] : value;
    }

private:
    static constexpr qint32 kLast = 256;
    std::array<qint32, kLast + 1> snapped_{};
};

// Truncates and snaps each picture cell of the dot image and shows it in the bitmap as gray.
void writeBack(DotImage& picture, ConversionVariant variant, PictureProgress& progress) {
    const DotSnap snap(variant);
    const int width = picture.width();
    const int height = picture.height();
    for (int y = 0; y < height; ++y) {
        double* cells = picture.dots.row(y + 1) + 2;
        auto* line = reinterpret_cast<QRgb*>(picture.bitmap.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const qint32 dot = snap(static_cast<qint32>(cells[x]));
            cells[x] = dot;
            line[x] = qRgb(dot, dot, dot);
        }
        progress.setGauge(y + 1, height);
    }
}

void finishConversion(DotImage& picture, ConversionVariant variant, PictureProgress& progress) {
    clearMargins(picture, variant);
    // Both variants report the transfer here ("Перенос данных").
    progress.showStatus(StatusText::Transferring);
    progress.setGauge(0, picture.height());
    writeBack(picture, variant, progress);
    progress.setGauge(0, picture.height());
    progress.showStatus(StatusText::PictureReady);
}

void startConversion(const DotImage& picture, PictureProgress& progress) {
    progress.showStatus(StatusText::Converting);
    progress.setGauge(0, picture.height());
}

enum class GridCells { Zeroed, ToBeFilled };

// Sizes the grids and the bitmap for a picture of `size`. Grids of the same size keep their
// memory; otherwise the old ones go first, so that old and new grids never take memory
// together. The gray grid and the dot image are zeroed only when asked, since the fill writes
// every one of their cells; the bitmap's pixels are all written back by the conversion.
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

// The tone value of every gray as a real, so that the fill only copies.
std::array<double, 256> toneValues(const PictureTables& tables, ConversionVariant variant) {
    std::array<double, 256> tones{};
    for (int gray = 0; gray < 256; ++gray)
        tones[gray] = variant == ConversionVariant::Combined ? tables.combinedTone[gray]
                                                             : tables.simpleTone[gray];
    return tones;
}

template <typename T> void clearRows(Grid<T>& grid, int from, int to) {
    for (int i = from; i < to; ++i)
        std::fill_n(grid.row(i), grid.cols(), T{});
}

// The picture rows of the gray grid and the dot image, with their margin cells 0.
template <typename Pixel, typename GrayOf>
void fillPictureRows(const QImage& source, const std::array<double, 256>& tones, DotImage& picture,
                     PictureProgress& progress, GrayOf grayOf) {
    const int width = picture.width();
    const int height = picture.height();
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const Pixel*>(source.constScanLine(y));
        qint32* grays = picture.gray.row(y + 1);
        double* dots = picture.dots.row(y + 1);
        grays[0] = 0;
        dots[0] = dots[1] = 0;
        for (int x = 0; x < width; ++x) {
            const int gray = grayOf(line[x]);
            grays[x + 1] = gray;
            dots[x + 2] = tones[gray];
        }
        std::fill(grays + width + 1, grays + width + 4, 0);
        std::fill(dots + width + 2, dots + width + 4, 0.0);
        progress.setGauge(y + 1, height);
    }
}

} // namespace

void sizeGrids(DotImage& dots, QSize size, PictureProgress& progress) {
    progress.setGauge(0, size.height());
    shapeGrids(dots, size, GridCells::Zeroed);
    progress.setGauge(size.height(), size.height());
}

void fillGrids(const QImage& source, const PictureTables& tables, ConversionVariant variant,
               DotImage& picture, PictureProgress& progress) {
    const std::array<double, 256> tones = toneValues(tables, variant);
    progress.showStatus(StatusText::PreparingData);
    progress.setGauge(0, picture.height());
    clearRows(picture.gray, 0, 1);
    clearRows(picture.dots, 0, 1);
    // An 8-bit gray picture (a prepared one) is read byte by byte: its gray is the red channel
    // Qt would give it as 32-bit RGB.
    if (source.format() == QImage::Format_Grayscale8)
        fillPictureRows<uchar>(source, tones, picture, progress, [](uchar gray) { return gray; });
    else
        fillPictureRows<QRgb>(asRgb32(source), tones, picture, progress,
                              [](QRgb colour) { return qRed(colour); });
    clearRows(picture.gray, picture.height() + 1, picture.height() + 4);
    clearRows(picture.dots, picture.height() + 1, picture.height() + 4);
    // The dots shown take the picture's resolution, which "Сохранить" writes.
    picture.bitmap.setDotsPerMeterX(source.dotsPerMeterX());
    picture.bitmap.setDotsPerMeterY(source.dotsPerMeterY());
}

void buildGrids(const QImage& picture, const PictureTables& tables, ConversionVariant variant,
                DotImage& dots, PictureProgress& progress) {
    progress.setGauge(0, picture.height());
    shapeGrids(dots, picture.size(), GridCells::ToBeFilled);
    progress.setGauge(picture.height(), picture.height());
    fillGrids(picture, tables, variant, dots, progress);
}

void convertSimple(DotImage& dots, PictureProgress& progress) {
    startConversion(dots, progress);
    ThresholdQuantiser quantiser;
    diffuse(dots, progress, quantiser);
    finishConversion(dots, ConversionVariant::Simple, progress);
}

PatternPositions convertCombined(DotImage& dots, const PictureTables& tables,
                                 PictureProgress& progress) {
    startConversion(dots, progress);
    PatternPositions positions{};
    {
        PatternQuantiser quantiser(dots.gray, tables);
        diffuse(dots, progress, quantiser);
        positions = quantiser.positions();
    }
    finishConversion(dots, ConversionVariant::Combined, progress);
    return positions;
}

PatternPositions convertGrids(DotImage& dots, const PictureTables& tables,
                              ConversionVariant variant, PictureProgress& progress) {
    if (variant == ConversionVariant::Combined)
        return convertCombined(dots, tables, progress);
    convertSimple(dots, progress);
    return tables.positions;
}

PatternPositions convertPicture(const QImage& picture, const PictureTables& tables,
                                ConversionVariant variant, DotImage& dots,
                                PictureProgress& progress) {
    buildGrids(picture, tables, variant, dots, progress);
    return convertGrids(dots, tables, variant, progress);
}

} // namespace zuk
