#include "BmpBytes.h"
#include "ReferenceConversion.h"
#include "TestPictures.h"

#include "image/Conversion.h"
#include "image/Picture.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zuk {
namespace {

using test::redChannel;

constexpr int kWidth = 37; // odd, so that every depth pads its rows
constexpr int kHeight = 23;

// A picture that the given depth stores without loss: two colours for 1 bit, sixteen for
// 4 bits, at most 256 for 8 bits; 16 bits keep five bits of each channel.
QImage pictureForDepth(int bits) {
    if (bits == 1)
        return test::grayPicture(kWidth, kHeight,
                                 [](int x, int y) { return (x * y) % 3 ? 200 : 0; });
    if (bits == 4)
        return test::grayPicture(kWidth, kHeight,
                                 [](int x, int y) { return (x + 2 * y) % 16 * 17; });
    return test::randomPicture(kWidth, kHeight, 40 + bits);
}

class StorageOrderTest : public ::testing::TestWithParam<int> {
protected:
    PictureFile read(const QImage& picture, bool topDown) {
        const QString name = dir.filePath(topDown ? "top.bmp" : "bottom.bmp");
        QFile out(name);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(test::bmpBytes(picture, GetParam(), topDown));
        out.close();
        return readPictureFile(name);
    }

    // The grids after converting the picture as an open does, with the tables of a fresh start.
    static DotImage converted(const QImage& image, ConversionVariant variant) {
        DotImage picture;
        const PictureTables tables = PictureTables::afterStartUp();
        SilentProgress progress;
        convertPicture(image, tables, variant, picture, progress);
        return picture;
    }

    QTemporaryDir dir;
};

TEST_P(StorageOrderTest, TopDownOpensAndConvertsLikeBottomUp) {
    const int bits = GetParam();
    const QImage source = pictureForDepth(bits);
    const PictureFile bottomUp = read(source, false);
    const PictureFile topDown = read(source, true);
    ASSERT_TRUE(bottomUp.ok()) << bottomUp.error.toStdString();
    ASSERT_TRUE(topDown.ok()) << topDown.error.toStdString();
    ASSERT_EQ(topDown.image.size(), QSize(kWidth, kHeight));
    EXPECT_EQ(topDown.image.convertToFormat(QImage::Format_RGB32),
              bottomUp.image.convertToFormat(QImage::Format_RGB32));
    if (bits != 16) { // 16 bits keep only five bits of red
        EXPECT_EQ(redChannel(topDown.image), redChannel(source));
    }

    for (auto variant : {ConversionVariant::Combined, ConversionVariant::Simple}) {
        const DotImage fromTop = converted(topDown.image, variant);
        const DotImage fromBottom = converted(bottomUp.image, variant);
        for (int i = 0; i < kHeight + 4; ++i)
            for (int j = 0; j < kWidth + 4; ++j) {
                ASSERT_EQ(fromTop.gray.at(i, j), fromBottom.gray.at(i, j)) << i << ", " << j;
                ASSERT_EQ(fromTop.dots.at(i, j), fromBottom.dots.at(i, j)) << i << ", " << j;
            }
        auto reference = test::referencePatterns();
        EXPECT_EQ(
            redChannel(fromTop.bitmap),
            test::referenceConvert(redChannel(topDown.image), kWidth, kHeight, variant, reference));
    }
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, StorageOrderTest, ::testing::Values(1, 4, 8, 16, 24, 32),
                         [](const auto& info) { return std::to_string(info.param) + "Bits"; });

} // namespace
} // namespace zuk
