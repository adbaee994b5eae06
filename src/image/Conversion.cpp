#include "image/Conversion.h"

#include "image/DiffusionRow.h"
#include "image/RowBands.h"
#include "image/RowHandoff.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <memory>
#include <thread>

namespace zuk {
namespace {

// Dot values at or above this become 255 in the simple variant.
constexpr double kSimpleThreshold = 126;

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

// Row i of the serpentine diffusion over rows 1..H of the dot image: odd rows left to right
// over columns 1..W+2, even rows right to left over columns W+1..2. It reads and writes rows i
// and i+1 only.
template <typename Quantiser> void diffuseGridRow(DotImage& picture, int i, Quantiser& quantiser) {
    const int width = picture.width();
    quantiser.startRow(i);
    double* row = picture.dots.row(i);
    double* below = picture.dots.row(i + 1);
    if (i % 2 == 1)
        diffusion::diffuseRow<+1>(row, below, 1, width + 2, quantiser);
    else
        diffusion::diffuseRow<-1>(row, below, width + 1, 2, quantiser);
}

template <typename Quantiser>
void diffuse(DotImage& picture, PictureProgress& progress, Quantiser& quantiser) {
    const int height = picture.height();
    for (int i = 1; i <= height; ++i) {
        diffuseGridRow(picture, i, quantiser);
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

// Truncates and snaps each picture cell of picture row y in the dot image and shows it in the
// bitmap's row `line` as gray. It reads and writes the picture cells of grid row y+1 only.
void writeBackRow(DotImage& picture, const DotSnap& snap, int y, QRgb* line) {
    double* cells = picture.dots.row(y + 1) + 2;
    const int width = picture.width();
    for (int x = 0; x < width; ++x) {
        const qint32 dot = snap(static_cast<qint32>(cells[x]));
        cells[x] = dot;
        line[x] = qRgb(dot, dot, dot);
    }
}

void writeBack(DotImage& picture, ConversionVariant variant, PictureProgress& progress) {
    const DotSnap snap(variant);
    const int height = picture.height();
    for (int y = 0; y < height; ++y) {
        writeBackRow(picture, snap, y, reinterpret_cast<QRgb*>(picture.bitmap.scanLine(y)));
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

// The diffusion hands finished rows over in groups of this many.
constexpr int kHandoffRows = 32;

// Writes the rows back as they are claimed, by either thread: each row once, and only a row the
// diffusion has finished (`final` counts them).
class WriteBackQueue {
public:
    WriteBackQueue(DotImage& dots, ConversionVariant variant)
        : dots_(dots), snap_(variant), bits_(dots.bitmap.bits()), // detached here, once
          stride_(dots.bitmap.bytesPerLine()), height_(dots.height()) {}

    // The second thread: rows as they become final, until every row is claimed.
    void followTheDiffusion() {
        for (int y = next_.load(); y < height_; y = next_.load()) {
            if (y >= final_.count())
                final_.waitFor(y + 1);
            else if (next_.compare_exchange_weak(y, y + 1))
                writeBack(y);
        }
    }
    // The diffusion has finished the picture rows above `rows`.
    void finished(int rows) { final_.publish(rows); }
    // The calling thread, once every row is final: the rows the second thread has not claimed.
    void finishOnThisThread() {
        final_.publish(height_);
        for (int y = next_.fetch_add(1); y < height_; y = next_.fetch_add(1))
            writeBack(y);
    }
    // Nothing more is to be written back (the conversion failed).
    void abandon() {
        next_.store(height_);
        final_.publish(height_);
    }

private:
    void writeBack(int y) {
        writeBackRow(dots_, snap_, y, reinterpret_cast<QRgb*>(bits_ + y * stride_));
    }

    DotImage& dots_;
    const DotSnap snap_;
    uchar* const bits_;
    const qsizetype stride_;
    const int height_;
    RowHandoff final_;
    std::atomic<int> next_{0};
};

// The diffusion of filled grids with the write-back beside it on a second thread, every cell
// computed as on one: a row is final once it has been diffused (the last one, which the
// combined variant clears, once the margins are cleared), and only final rows are written back.
// The second thread only ever takes work off this one: the rows it has not written back when
// the diffusion ends are written back here, so a second thread that gets no processor costs
// nothing but its start. This thread alone reports progress.
template <typename Quantiser>
void convertAlongside(DotImage& dots, Quantiser& quantiser, ConversionVariant variant,
                      PictureProgress& progress) {
    const int height = dots.height();
    WriteBackQueue queue(dots, variant);
    std::thread helper([&queue] { queue.followTheDiffusion(); });
    try {
        startConversion(dots, progress);
        for (int i = 1; i <= height; ++i) {
            diffuseGridRow(dots, i, quantiser);
            progress.setGauge(i, height);
            if (i % kHandoffRows == 0)
                queue.finished(std::min(i, height - 1));
        }
        queue.finished(height - 1);
        clearMargins(dots, variant);
        progress.showStatus(StatusText::Transferring);
        progress.setGauge(0, height);
        queue.finishOnThisThread();
    } catch (...) {
        queue.abandon();
        helper.join();
        throw;
    }
    helper.join();
    progress.setGauge(0, height);
    progress.showStatus(StatusText::PictureReady);
}

// convertPicture with the dots written back on a second thread beside the diffusion.
PatternPositions convertOnTwoThreads(const QImage& picture, const PictureTables& tables,
                                     ConversionVariant variant, DotImage& dots,
                                     PictureProgress& progress) {
    buildGrids(picture, tables, variant, dots, progress);
    if (variant == ConversionVariant::Combined) {
        PatternQuantiser quantiser(dots.gray, tables);
        convertAlongside(dots, quantiser, variant, progress);
        return quantiser.positions();
    }
    ThresholdQuantiser quantiser;
    convertAlongside(dots, quantiser, variant, progress);
    return tables.positions;
}

} // namespace

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
    if (secondThreadPays(picture.height()))
        return convertOnTwoThreads(picture, tables, variant, dots, progress);
    buildGrids(picture, tables, variant, dots, progress);
    return convertGrids(dots, tables, variant, progress);
}

} // namespace zuk
