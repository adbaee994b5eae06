// The picture preparation: its identities, the order of its steps, the formulas of the tone
// curve and the filters, the choices by name.
#include "TestPictures.h"

#include "image/Conversion.h"
#include "image/PicturePreparation.h"
#include "image/Resampling.h"
#include "image/Sharpening.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zuk {
namespace {

using test::randomPicture;
using test::redChannel;

// A colour picture whose every pixel differs from its neighbours in each channel.
QImage colourPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(
                x, y, qRgb((x * 37 + y * 11) % 256, (x * 5 + y * 71) % 256, (x * y + 3) % 256));
    return picture;
}

std::vector<int> dotsOf(const QImage& picture) {
    const PictureTables tables = PictureTables::afterStartUp();
    DotImage dots;
    SilentProgress progress;
    convertPicture(picture, tables, ConversionVariant::Combined, dots, progress);
    return redChannel(dots.bitmap);
}

PreparationChoices choicesNamed(const std::vector<std::pair<QString, QString>>& named) {
    PreparationChoices choices;
    for (const auto& [name, value] : named) {
        const auto mistake = setPreparationChoice(choices, name, value);
        EXPECT_FALSE(mistake) << mistake.value_or(QString()).toStdString();
    }
    return choices;
}

TEST(Preparation, NoChoicePassesThePictureThroughUntouched) {
    const QImage picture = colourPicture(30, 20);
    const PreparedPicture prepared = preparePicture(picture, {});
    ASSERT_FALSE(prepared.problem);
    EXPECT_EQ(prepared.image.cacheKey(), picture.cacheKey());
}

// Each of these is a choice that changes nothing: the prepared picture has the same pixels and
// gives the same dots. "gray luma" on a gray picture goes through the gray step and the 8-bit
// gray picture the conversion reads byte by byte.
TEST(Preparation, NeutralChoicesChangeNothing) {
    const QImage noise = randomPicture(41, 27, 3);
    const QImage picture =
        test::grayPicture(41, 27, [&noise](int x, int y) { return qRed(noise.pixel(x, y)); });
    const std::vector<int> dots = dotsOf(picture);
    const std::vector<std::vector<std::pair<QString, QString>>> neutral = {
        {{"crop", "0,0,41,27"}},
        {{"crop", "0,0,500,500"}},
        {{"width", "41"}},
        {{"height", "27"}},
        {{"width", "41"}, {"height", "27"}},
        {{"rotate", "0"}},
        {{"brightness", "0"}},
        {{"contrast", "0"}},
        {{"gamma", "1"}},
        {{"sharpen", "0,3"}},
        {{"mirror", "h"}, {"mirror", "h"}},
        {{"gray", "luma"}},
        {{"gray", "luma"}, {"sharpen", "0"}, {"gamma", "1.0"}},
    };
    for (const auto& named : neutral) {
        const PreparationChoices choices = choicesNamed(named);
        const PreparedPicture prepared = preparePicture(picture, choices);
        ASSERT_FALSE(prepared.problem);
        EXPECT_EQ(redChannel(prepared.image), redChannel(picture))
            << named.front().first.toStdString();
        EXPECT_EQ(dotsOf(prepared.image), dots) << named.front().first.toStdString();
    }
}

TEST(Preparation, FourQuarterTurnsOrTwoMirrorsGiveThePictureBack) {
    const QImage picture = colourPicture(13, 7);
    PreparationChoices quarter;
    quarter.rotation = 90;
    QImage turned = picture;
    for (int k = 0; k < 4; ++k)
        turned = reshapedPicture(turned, quarter);
    EXPECT_EQ(turned, picture);
    for (bool leftRight : {false, true}) {
        PreparationChoices mirror;
        mirror.mirrorLeftRight = leftRight;
        mirror.mirrorTopBottom = !leftRight;
        EXPECT_EQ(reshapedPicture(reshapedPicture(picture, mirror), mirror), picture);
    }
}

// Pixel (x, y) of a W × H picture after each step.
TEST(Preparation, RotationIsClockwiseAndMirrorsSwapTheirSides) {
    const QImage picture = colourPicture(5, 3);
    const auto reshaped = [&picture](const char* name, const char* value) {
        return reshapedPicture(picture, choicesNamed({{name, value}}));
    };
    const QImage quarter = reshaped("rotate", "90");
    const QImage half = reshaped("rotate", "180");
    const QImage threeQuarters = reshaped("rotate", "270");
    const QImage leftRight = reshaped("mirror", "h");
    const QImage topBottom = reshaped("mirror", "v");
    ASSERT_EQ(quarter.size(), QSize(3, 5));
    ASSERT_EQ(threeQuarters.size(), QSize(3, 5));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const QRgb pixel = picture.pixel(x, y);
            EXPECT_EQ(quarter.pixel(2 - y, x), pixel);
            EXPECT_EQ(half.pixel(4 - x, 2 - y), pixel);
            EXPECT_EQ(threeQuarters.pixel(y, 4 - x), pixel);
            EXPECT_EQ(leftRight.pixel(4 - x, y), pixel);
            EXPECT_EQ(topBottom.pixel(x, 2 - y), pixel);
        }
}

// Crop, then rotate, then mirror, then size: the crop is in the picture's own pixels and the
// size is that of the turned picture.
TEST(Preparation, StepsFollowTheirFixedOrder) {
    const QImage picture = colourPicture(6, 4);
    const QImage result = reshapedPicture(
        picture, choicesNamed({{"crop", "1,1,3,2"}, {"rotate", "90"}, {"mirror", "v"}}));
    ASSERT_EQ(result.size(), QSize(2, 3));
    // The crop's top-left pixel (1, 1) goes to the top right on the turn, to the bottom right
    // on the mirror.
    EXPECT_EQ(result.pixel(1, 2), picture.pixel(1, 1));
    EXPECT_EQ(preparedSize(picture.size(),
                           choicesNamed({{"crop", "1,1,3,2"}, {"rotate", "90"}, {"width", "8"}})),
              QSize(8, 12));
}

TEST(Preparation, ASideAloneKeepsTheOtherInProportion) {
    const QSize source(300, 200);
    EXPECT_EQ(preparedSize(source, choicesNamed({{"width", "150"}})), QSize(150, 100));
    EXPECT_EQ(preparedSize(source, choicesNamed({{"height", "50"}})), QSize(75, 50));
    EXPECT_EQ(preparedSize(source, choicesNamed({{"width", "100"}})), QSize(100, 67));
    EXPECT_EQ(preparedSize(source, choicesNamed({{"width", "1"}})), QSize(1, 1));
    EXPECT_EQ(preparedSize(source, choicesNamed({{"width", "40"}, {"height", "90"}})),
              QSize(40, 90));
    EXPECT_EQ(preparedSize(source, choicesNamed({{"crop", "250,150,100,100"}})), QSize(50, 50));
    EXPECT_EQ(
        preparePicture(colourPicture(300, 200), choicesNamed({{"width", "150"}})).image.size(),
        QSize(150, 100));
}

TEST(Preparation, ChoicesThatCannotPrepareThePictureSaySo) {
    const QSize source(300, 200);
    const auto outside = preparationProblem(source, choicesNamed({{"crop", "300,0,10,10"}}));
    ASSERT_TRUE(outside);
    EXPECT_TRUE(outside->contains(QStringLiteral("вне рисунка"))) << outside->toStdString();
    const auto tooLarge =
        preparationProblem(source, choicesNamed({{"width", "30000"}, {"height", "30000"}}));
    ASSERT_TRUE(tooLarge);
    EXPECT_TRUE(tooLarge->contains(QStringLiteral("слишком велик")));
    EXPECT_TRUE(preparationProblem(QSize(1, 10000), choicesNamed({{"width", "20000"}})));
    EXPECT_TRUE(preparePicture(colourPicture(3, 3), choicesNamed({{"crop", "5,5,1,1"}})).problem);
}

struct ToneCase {
    std::vector<std::pair<QString, QString>> choices;
    int gray;
    int expected;
};

// v = g/255; + brightness/100; (v − 1/2)·(100 + c)/(100 − c) + 1/2; held to 0..1; v^(1/gamma);
// 1 − v when inverted; rounded.
TEST(Preparation, TheToneCurveFollowsItsFormula) {
    const std::vector<ToneCase> cases = {
        {{{"brightness", "50"}}, 0, 128},
        {{{"brightness", "50"}}, 200, 255},
        {{{"brightness", "-100"}}, 255, 0},
        {{{"contrast", "100"}}, 127, 0},
        {{{"contrast", "100"}}, 128, 255},
        {{{"contrast", "-100"}}, 10, 128},
        {{{"contrast", "50"}}, 64, 0},
        {{{"contrast", "50"}}, 160, 225},
        {{{"gamma", "2"}}, 64, 128},
        {{{"gamma", "0.5"}}, 128, 64},
        {{{"invert", ""}}, 0, 255},
        {{{"invert", ""}}, 100, 155},
        // Brightness before contrast, contrast before gamma, gamma before inverting.
        {{{"brightness", "-10"}, {"contrast", "50"}, {"gamma", "2"}, {"invert", ""}}, 120, 170},
    };
    for (const ToneCase& c : cases)
        EXPECT_EQ(toneCurve(choicesNamed(c.choices))[std::size_t(c.gray)], c.expected)
            << c.choices.front().first.toStdString() << " " << c.gray;
    const std::array<quint8, 256> neutral = toneCurve({});
    for (int g = 0; g < 256; ++g)
        EXPECT_EQ(neutral[std::size_t(g)], g);
}

TEST(Preparation, GrayComesFromTheRedChannelOrTheLuminance) {
    EXPECT_EQ(lumaOf(qRgb(10, 200, 30)), 124); // (2990 + 117400 + 3420 + 500) div 1000
    EXPECT_EQ(lumaOf(qRgb(255, 255, 255)), 255);
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(10, 200, 30));
    picture.setPixel(1, 0, qRgb(200, 10, 10));
    const QImage luma = shadedPicture(picture, choicesNamed({{"gray", "luma"}}));
    EXPECT_EQ(redChannel(luma), (std::vector<int>{124, 67}));
    const QImage red = shadedPicture(picture, choicesNamed({{"invert", ""}}));
    EXPECT_EQ(redChannel(red), (std::vector<int>{245, 55}));
}

// Every reduction by a factor of 2 or more, integral or not, and several enlargements of a
// one-pixel checkerboard.
TEST(Resampling, ACheckerboardReducesToAnEvenMidGray) {
    QImage board(120, 120, QImage::Format_RGB32);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 120; ++x)
            board.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    for (int side = 3; side <= 60; ++side) {
        const std::vector<int> grays = redChannel(resampled(board, QSize(side, 63 - side)));
        const auto [lowest, highest] = std::minmax_element(grays.begin(), grays.end());
        EXPECT_GE(*lowest, 125) << side;
        EXPECT_LE(*highest, 130) << side;
    }
}

TEST(Resampling, WeightsAddUpToOneAndEnlargingInterpolates) {
    QImage flat(37, 23, QImage::Format_RGB32);
    flat.fill(qRgb(10, 200, 30));
    for (QSize size : {QSize(100, 7), QSize(5, 90), QSize(37, 60), QSize(1, 1)}) {
        const QImage result = resampled(flat, size);
        ASSERT_EQ(result.size(), size);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                ASSERT_EQ(result.pixel(x, y), qRgb(10, 200, 30)) << x << ", " << y;
    }
    QImage step(2, 1, QImage::Format_RGB32);
    step.setPixel(0, 0, qRgb(0, 0, 0));
    step.setPixel(1, 0, qRgb(255, 255, 255));
    // New pixel centres at 1/8, 3/8, 5/8 and 7/8 of the way: the outer ones on the old pixels'
    // flat halves, the inner ones a quarter of the way between the old centres.
    EXPECT_EQ(redChannel(resampled(step, QSize(4, 1))), (std::vector<int>{0, 64, 191, 255}));
}

TEST(Sharpening, AnEdgeGetsSteeperAndFlatGrayStays) {
    QImage edge(16, 5, QImage::Format_Grayscale8);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 16; ++x)
            edge.scanLine(y)[x] = x < 8 ? 80 : 160;
    const QImage sharp = sharpened(edge, 1.0, 1.0);
    for (int y = 0; y < 5; ++y) {
        EXPECT_LT(sharp.constScanLine(y)[7], 80);
        EXPECT_GT(sharp.constScanLine(y)[8], 160);
        EXPECT_EQ(sharp.constScanLine(y)[0], 80);
        EXPECT_EQ(sharp.constScanLine(y)[15], 160);
    }
    EXPECT_EQ(sharpened(edge, 0.0, 2.0).cacheKey(), edge.cacheKey());
}

TEST(PreparationChoices, ReadBackFromTheirLinesTheyAreTheSame) {
    const PreparationChoices choices = choicesNamed({{"crop", "3,4,50,60"},
                                                     {"rotate", "270"},
                                                     {"mirror", "h"},
                                                     {"mirror", "v"},
                                                     {"width", "800"},
                                                     {"gray", "luma"},
                                                     {"brightness", "-20"},
                                                     {"contrast", "35"},
                                                     {"gamma", "1.75"},
                                                     {"invert", ""},
                                                     {"sharpen", "1.5,2.5"}});
    PreparationChoices read;
    for (const QString& line : preparationChoiceLines(choices)) {
        const QStringList parts = line.split(QLatin1Char('='));
        EXPECT_FALSE(setPreparationChoice(read, parts[0], parts.value(1)));
    }
    EXPECT_EQ(read, choices);
    EXPECT_TRUE(preparationChoiceLines({}).isEmpty());
}

TEST(PreparationChoices, ValuesOutOfRangeAreRefusedWithWhatTheyTake) {
    const std::vector<std::pair<QString, QString>> refused = {
        {"width", "-1"},      {"width", "40000"},    {"height", "x"},      {"rotate", "45"},
        {"rotate", "360"},    {"mirror", "d"},       {"crop", "1,2,3"},    {"crop", "0,0,0,5"},
        {"crop", "-1,0,5,5"}, {"brightness", "101"}, {"contrast", "-101"}, {"gamma", "0.1"},
        {"gamma", "nan"},     {"gray", "green"},     {"sharpen", "6"},     {"sharpen", "1,0.2"},
        {"sharpen", "1,2,3"}, {"invert", "1"},       {"hue", "3"},
    };
    for (const auto& [name, value] : refused) {
        PreparationChoices choices;
        const auto mistake = setPreparationChoice(choices, name, value);
        ASSERT_TRUE(mistake) << name.toStdString() << "=" << value.toStdString();
        EXPECT_TRUE(mistake->contains(name)) << mistake->toStdString();
    }
}

} // namespace
} // namespace zuk
