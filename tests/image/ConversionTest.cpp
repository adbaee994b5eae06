#include "ReferenceConversion.h"
#include "TestPictures.h"

#include "image/Conversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

namespace zuk {
namespace {

using test::grayPicture;
using test::randomPicture;
using test::redChannel;
using test::uniformPicture;

// Records the status texts and the last gauge setting.
class RecordingProgress final : public PictureProgress {
public:
    std::vector<StatusText> statuses;
    std::pair<int, int> lastGauge{-1, -1};
    void showStatus(StatusText text) override { statuses.push_back(text); }
    void setGauge(int progress, int maximum) override { lastGauge = {progress, maximum}; }
};

class ConversionTest : public ::testing::Test {
protected:
    // Converts the picture as an open does, keeping the pattern positions it gives back, and
    // returns the dot values row by row.
    std::vector<int> convert(const QImage& image, ConversionVariant variant) {
        tables.positions = convertPicture(image, tables, variant, picture, progress);
        return redChannel(picture.bitmap);
    }
    int dot(int x, int y) const { return int(picture.dots.at(y + 1, x + 2)); }

    PictureTables tables = PictureTables::afterStartUp();
    DotImage picture;
    RecordingProgress progress;
};

TEST_F(ConversionTest, GridsOfAOneByOnePictureBeforeConversion) {
    QImage image = grayPicture(1, 1, [](int, int) { return 0; });
    image.setPixel(0, 0, qRgb(200, 10, 10)); // a colour pixel is read by its red
    sizeGrids(picture, image.size(), progress);
    fillGrids(image, tables, ConversionVariant::Simple, picture, progress);
    EXPECT_EQ(picture.gray.rows(), 5);
    EXPECT_EQ(picture.gray.cols(), 5);
    EXPECT_EQ(picture.dots.rows(), 5);
    EXPECT_EQ(picture.dots.cols(), 5);
    EXPECT_EQ(picture.bitmap.size(), QSize(1, 1));
    EXPECT_EQ(picture.gray.at(1, 1), 200);
    EXPECT_EQ(picture.dots.at(1, 2), tables.simpleTone[200]);
    int nonzero = 0;
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
            nonzero += (picture.gray.at(i, j) != 0) + (picture.dots.at(i, j) != 0);
    EXPECT_EQ(nonzero, 2);
}

TEST_F(ConversionTest, OneByOnePictures) {
    EXPECT_EQ(convert(uniformPicture(1, 1, 255), ConversionVariant::Simple), std::vector{255});
    EXPECT_EQ(convert(uniformPicture(1, 1, 180), ConversionVariant::Simple), std::vector{255});
    EXPECT_EQ(convert(uniformPicture(1, 1, 170), ConversionVariant::Simple), std::vector{0});
    for (int gray : {30, 128, 255})
        EXPECT_EQ(convert(uniformPicture(1, 1, gray), ConversionVariant::Combined), std::vector{0});
}

TEST_F(ConversionTest, AllWhiteSimpleGivesAllDotsAndNoError) {
    const auto dots = convert(uniformPicture(7, 5, 255), ConversionVariant::Simple);
    EXPECT_TRUE(std::all_of(dots.begin(), dots.end(), [](int d) { return d == 255; }));
    for (int j = 0; j < picture.dots.cols(); ++j)
        EXPECT_EQ(picture.dots.at(6, j), 0.0) << j; // no leftover error below the picture
}

TEST_F(ConversionTest, UniformGray128SimpleHasNoDotInTheFirstRowOnly) {
    const int width = 60;
    const auto dots = convert(uniformPicture(width, 10, 128), ConversionVariant::Simple);
    EXPECT_TRUE(std::all_of(dots.begin(), dots.begin() + width, [](int d) { return d == 0; }));
    EXPECT_GT(std::count(dots.begin() + width, dots.end(), 255), 0);
    EXPECT_TRUE(std::all_of(dots.begin(), dots.end(), [](int d) { return d == 0 || d == 255; }));
}

TEST_F(ConversionTest, UniformGray30CombinedStrikesOnlyValuesOfRow30) {
    const int width = 40;
    const int height = 30;
    const auto dots = convert(uniformPicture(width, height, 30), ConversionVariant::Combined);
    const std::set<int> allowed{0, 64, 128};
    EXPECT_GT(std::count_if(dots.begin(), dots.end(), [](int d) { return d != 0; }), 0);
    for (int d : dots)
        ASSERT_TRUE(allowed.count(d)) << d;
    EXPECT_GT(std::count(dots.begin(), dots.end(), 128), 0);
    for (int y = 0; y < height; ++y)
        EXPECT_EQ(dots[std::size_t(y) * width + width - 1], 0) << y;
}

TEST_F(ConversionTest, CombinedNeverStrikesAPixelWhoseRightNeighbourIsBlack) {
    const int width = 20;
    const int height = 16;
    const auto dots =
        convert(grayPicture(width, height, [](int x, int) { return x == 9 ? 0 : 255; }),
                ConversionVariant::Combined);
    for (int y = 0; y < height; ++y)
        EXPECT_EQ(dots[std::size_t(y) * width + 8], 0) << y;
    // The black column itself is bright enough through the error and its right neighbour.
    EXPECT_GT(std::count(dots.begin(), dots.end(), 255), (width - 3) * (height - 1) / 2);
}

TEST_F(ConversionTest, CombinedLeavesLastRowAndColumnEmpty) {
    const int width = 33;
    const int height = 21;
    const auto dots = convert(randomPicture(width, height, 7), ConversionVariant::Combined);
    for (int x = 0; x < width; ++x)
        EXPECT_EQ(dots[std::size_t(height - 1) * width + x], 0) << x;
    for (int y = 0; y < height; ++y)
        EXPECT_EQ(dots[std::size_t(y) * width + width - 1], 0) << y;
    for (int j = 0; j <= width + 1; ++j)
        EXPECT_EQ(picture.dots.at(height, j), 0.0) << j;
}

TEST_F(ConversionTest, MarginsAreClearedAndPictureCellsHoldTheWrittenBackValues) {
    for (auto variant : {ConversionVariant::Simple, ConversionVariant::Combined}) {
        const int width = 12;
        const int height = 9;
        const auto dots = convert(randomPicture(width, height, 3), variant);
        for (int i = 0; i < picture.dots.rows(); ++i)
            for (int j = width + 2; j < width + 4; ++j)
                EXPECT_EQ(picture.dots.at(i, j), 0.0);
        for (int i = 0; i < height; ++i) {
            EXPECT_EQ(picture.dots.at(i, 0), 0.0);
            EXPECT_EQ(picture.dots.at(i, 1), 0.0);
        }
        for (int j = 0; j < picture.dots.cols(); ++j)
            EXPECT_EQ(picture.dots.at(0, j), 0.0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                EXPECT_EQ(dot(x, y), dots[std::size_t(y) * width + x]);
    }
}

TEST_F(ConversionTest, BothVariantsMatchTheReferenceImplementation) {
    auto reference = test::referencePatterns();
    const std::set<int> simpleValues{0, 255};
    const std::set<int> combinedValues{0, 64, 128, 192, 255};
    int picture_number = 0;
    for (auto [width, height] : {std::pair{50, 37}, std::pair{2, 2}, std::pair{1, 9},
                                 std::pair{64, 1}, std::pair{97, 80}}) {
        for (auto variant : {ConversionVariant::Combined, ConversionVariant::Simple}) {
            const QImage image = randomPicture(width, height, 100 + picture_number++);
            const auto expected =
                test::referenceConvert(redChannel(image), width, height, variant, reference);
            const auto dots = convert(image, variant);
            ASSERT_EQ(dots, expected) << width << "x" << height;
            const auto& values =
                variant == ConversionVariant::Combined ? combinedValues : simpleValues;
            for (int d : dots)
                ASSERT_TRUE(values.count(d));
        }
    }
    EXPECT_TRUE(
        std::equal(tables.positions.begin(), tables.positions.end(), reference.positions.begin()));
}

// Pictures larger than the grids' huge pages, converted one after another so that each one
// after the first reuses the grids of the one before, as a repeated open does.
TEST_F(ConversionTest, LargerPicturesMatchTheReferenceAlsoOnReusedGrids) {
    auto reference = test::referencePatterns();
    int seed = 900;
    for (auto [width, height] : {std::pair{641, 487}, std::pair{641, 487}, std::pair{1203, 330}}) {
        for (auto variant : {ConversionVariant::Combined, ConversionVariant::Simple}) {
            const QImage image = randomPicture(width, height, seed++);
            const auto expected =
                test::referenceConvert(redChannel(image), width, height, variant, reference);
            ASSERT_EQ(convert(image, variant), expected) << width << "x" << height;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    ASSERT_EQ(dot(x, y), expected[std::size_t(y) * width + x]) << x << ", " << y;
            for (int i = 0; i < height + 4; ++i) {
                const int lastGray = i >= 1 && i <= height ? width : 0; // the margins are 0
                for (int j = 0; j < width + 4; ++j) {
                    if (j < 1 || j > lastGray) {
                        ASSERT_EQ(picture.gray.at(i, j), 0) << i << ", " << j;
                    }
                }
            }
        }
    }
    EXPECT_TRUE(
        std::equal(tables.positions.begin(), tables.positions.end(), reference.positions.begin()));
}

TEST_F(ConversionTest, PatternPositionsCarryOverToTheNextConversion) {
    const QImage image = uniformPicture(23, 17, 100);
    const auto first = convert(image, ConversionVariant::Combined);
    const PatternPositions afterFirst = tables.positions;
    const auto second = convert(image, ConversionVariant::Combined);
    EXPECT_NE(first, second);
    EXPECT_NE(afterFirst, initialPatternPositions());
    EXPECT_NE(tables.positions, afterFirst);
    // With the positions put back, the first arrangement comes again.
    tables.positions = initialPatternPositions();
    EXPECT_EQ(convert(image, ConversionVariant::Combined), first);
}

TEST_F(ConversionTest, SimpleVariantLeavesPatternPositionsAlone) {
    convert(randomPicture(30, 30, 9), ConversionVariant::Simple);
    EXPECT_EQ(tables.positions, initialPatternPositions());
}

TEST_F(ConversionTest, ReportsStatusTextsInOrderForBothVariants) {
    for (auto variant : {ConversionVariant::Simple, ConversionVariant::Combined}) {
        progress.statuses.clear();
        convert(uniformPicture(4, 6, 90), variant);
        EXPECT_EQ(progress.statuses,
                  (std::vector{StatusText::PreparingData, StatusText::Converting,
                               StatusText::Transferring, StatusText::PictureReady}));
        EXPECT_EQ(progress.lastGauge, (std::pair{0, 6}));
    }
}

TEST_F(ConversionTest, ConvertingTheConvertedPictureAgainStartsFromItsDotValues) {
    convert(randomPicture(16, 16, 5), ConversionVariant::Combined);
    const QImage converted = picture.bitmap;
    convert(converted, ConversionVariant::Combined);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(picture.gray.at(y + 1, x + 1), qRed(converted.pixel(x, y)));
}

// The picture and the tables go in unchanged; the dots, the picture's resolution and the
// advanced positions come out.
TEST_F(ConversionTest, ThePictureAndTheTablesStayAsTheyWere) {
    QImage image = randomPicture(21, 13, 4);
    image.setDotsPerMeterX(3937);
    image.setDotsPerMeterY(1000);
    const QImage before = image.copy();
    const PictureTables tablesBefore = tables;
    const PatternPositions advanced =
        convertPicture(image, tables, ConversionVariant::Combined, picture, progress);
    EXPECT_EQ(image, before);
    EXPECT_EQ(tables.positions, tablesBefore.positions);
    EXPECT_NE(advanced, tables.positions);
    EXPECT_EQ(picture.bitmap.dotsPerMeterX(), 3937);
    EXPECT_EQ(picture.bitmap.dotsPerMeterY(), 1000);
}

TEST_F(ConversionTest, AnEmptyPictureGivesEmptyGridsWithMargins) {
    const auto dots = convert(QImage(), ConversionVariant::Combined);
    EXPECT_TRUE(dots.empty());
    EXPECT_EQ(picture.gray.rows(), 4);
    EXPECT_EQ(picture.dots.cols(), 4);
}

// A picture of 64 rows or more is converted on two threads (the dots written back behind the
// diffusion); every byte is what the conversion on one thread (buildGrids and convertGrids)
// gives: both grids, the bitmap and the pattern positions.
TEST_F(ConversionTest, TwoThreadsGiveTheBytesOfOne) {
    unsigned seed = 40;
    for (auto [width, height] : {std::pair{70, 64}, std::pair{33, 65}, std::pair{300, 97},
                                 std::pair{129, 257}, std::pair{64, 64}}) {
        for (auto variant : {ConversionVariant::Combined, ConversionVariant::Simple}) {
            const QImage image = randomPicture(width, height, seed++);
            DotImage serial;
            buildGrids(image, tables, variant, serial, progress);
            const PatternPositions serialPositions =
                convertGrids(serial, tables, variant, progress);
            DotImage alongside;
            const PatternPositions positions =
                convertPicture(image, tables, variant, alongside, progress);
            ASSERT_EQ(positions, serialPositions) << width << "x" << height;
            ASSERT_EQ(alongside.bitmap, serial.bitmap) << width << "x" << height;
            const std::size_t cells = std::size_t(width + 4) * (height + 4);
            ASSERT_EQ(std::memcmp(serial.dots.row(0), alongside.dots.row(0), cells * 8), 0);
            ASSERT_EQ(std::memcmp(serial.gray.row(0), alongside.gray.row(0), cells * 4), 0);
            tables.positions = positions;
        }
    }
}

} // namespace
} // namespace zuk
