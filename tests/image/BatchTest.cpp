#include "BmpBytes.h"
#include "ReferenceConversion.h"
#include "TestPictures.h"
#include "support/BatchRun.h"

#include "image/Conversion.h"
#include "image/Picture.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zuk {
namespace {

using test::BatchRun;
using test::runBatch;

std::vector<int> writtenDots(const QString& path) {
    const PictureFile file = readPictureFile(path);
    EXPECT_TRUE(file.ok()) << file.error.toStdString();
    return test::redChannel(file.image);
}

class BatchTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(BatchTest, ConvertsSeveralPicturesAsTheProgramAndTheReferenceDo) {
    const std::vector<std::pair<int, int>> sizes = {{41, 29}, {17, 33}, {60, 12}};
    std::vector<QImage> images;
    QStringList args{QStringLiteral("convert")};
    for (std::size_t k = 0; k < sizes.size(); ++k) {
        images.push_back(test::randomPicture(sizes[k].first, sizes[k].second, 500 + k));
        test::saveBmp(images.back(), path(QStringLiteral("in%1.bmp").arg(k)));
        args << path(QStringLiteral("in%1.bmp").arg(k)) << path(QStringLiteral("out%1").arg(k));
    }

    for (auto variant : {ConversionVariant::Combined, ConversionVariant::Simple}) {
        QStringList withVariant = args;
        if (variant == ConversionVariant::Simple)
            withVariant.insert(3, QStringLiteral("--variant=simple"));
        const BatchRun run = runBatch(withVariant);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

        // The program's own code and the reference, with positions carried along in order.
        PictureTables tables = PictureTables::afterStartUp();
        auto reference = test::referencePatterns();
        for (std::size_t k = 0; k < images.size(); ++k) {
            const auto [w, h] = sizes[k];
            DotImage picture;
            SilentProgress progress;
            tables.positions = convertPicture(images[k], tables, variant, picture, progress);
            const auto written = writtenDots(path(QStringLiteral("out%1").arg(k)));
            EXPECT_EQ(written, test::redChannel(picture.bitmap)) << k;
            EXPECT_EQ(written,
                      test::referenceConvert(test::redChannel(images[k]), w, h, variant, reference))
                << k;
        }
    }
}

TEST_F(BatchTest, DefaultVariantIsCombined) {
    test::saveBmp(test::uniformPicture(12, 12, 120), path("a.bmp"));
    ASSERT_EQ(runBatch({"convert", path("a.bmp"), path("d.bmp")}).exitCode, 0);
    ASSERT_EQ(runBatch({"convert", "--variant", "combined", path("a.bmp"), path("c.bmp")}).exitCode,
              0);
    EXPECT_EQ(writtenDots(path("d.bmp")), writtenDots(path("c.bmp")));
    const auto dots = writtenDots(path("d.bmp"));
    EXPECT_TRUE(std::any_of(dots.begin(), dots.end(), [](int d) { return d == 64 || d == 128; }));
}

TEST_F(BatchTest, ABadPictureIsReportedAndTheOthersAreStillConverted) {
    test::saveBmp(test::uniformPicture(5, 5, 200), path("good.bmp"));
    QFile text(path("notes.bmp"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    const BatchRun run =
        runBatch({"convert", path("notes.bmp"), path("x.bmp"), path("good.bmp"), path("y.bmp")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("notes.bmp"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("это не рисунок BMP")));
    EXPECT_FALSE(QFile::exists(path("x.bmp")));
    EXPECT_TRUE(QFile::exists(path("y.bmp")));
}

TEST_F(BatchTest, ConvertsTopDownPicturesAsTheReferenceDoes) {
    const QImage image = test::randomPicture(29, 31, 77);
    QStringList args{QStringLiteral("convert")};
    for (int bits : {8, 24, 32}) {
        QFile file(path(QStringLiteral("top%1.bmp").arg(bits)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(test::bmpBytes(image, bits, true));
        file.close();
        args << file.fileName() << path(QStringLiteral("out%1.bmp").arg(bits));
    }
    const BatchRun run = runBatch(args);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    auto reference = test::referencePatterns();
    for (int bits : {8, 24, 32})
        EXPECT_EQ(writtenDots(path(QStringLiteral("out%1.bmp").arg(bits))),
                  test::referenceConvert(test::redChannel(image), 29, 31,
                                         ConversionVariant::Combined, reference))
            << bits;
}

TEST_F(BatchTest, CommandLineMistakes) {
    for (const QStringList& args :
         {QStringList{}, QStringList{"shrink"}, QStringList{"convert"},
          QStringList{"convert", "a.bmp"}, QStringList{"convert", "a", "b", "--variant", "x"},
          QStringList{"convert", "a", "b", "--variant"}, QStringList{"convert", "a", "b", "--x"}}) {
        const BatchRun run = runBatch(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
    EXPECT_EQ(runBatch({"--help"}).exitCode, 0);
}

// The preparation's identities hold through the tool: each neutral choice gives the bytes of
// no choice at all; a width alone keeps the height in proportion.
TEST_F(BatchTest, PreparationOptionsApplyTheSameChoicesAsTheWindow) {
    test::saveBmp(test::randomPicture(60, 40, 12), path("in.bmp"));
    const auto converted = [this](const QStringList& options) {
        const BatchRun run =
            runBatch(QStringList{"convert", path("in.bmp"), path("out.bmp")} + options);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        QFile file(path("out.bmp"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    };
    const QByteArray plain = converted({});
    for (const QStringList& neutral :
         {QStringList{"--crop", "0,0,60,40"}, QStringList{"--width=60", "--height=40"},
          QStringList{"--brightness", "0", "--contrast", "0", "--gamma", "1", "--sharpen", "0"},
          QStringList{"--mirror", "h", "--mirror", "h"},
          QStringList{"--rotate", "180", "--mirror", "h", "--mirror", "v"}})
        EXPECT_EQ(converted(neutral), plain) << neutral.join(' ').toStdString();
    EXPECT_NE(converted({"--invert"}), plain);
    converted({"--width", "45", "--rotate", "180"});
    EXPECT_EQ(readPictureFile(path("out.bmp")).image.size(), QSize(45, 30));

    const BatchRun outside =
        runBatch({"convert", path("in.bmp"), path("x.bmp"), "--crop", "100,100,5,5"});
    EXPECT_EQ(outside.exitCode, 1);
    EXPECT_TRUE(outside.err.contains("in.bmp") && outside.err.contains("вне рисунка"))
        << outside.err.toStdString();
}

// A one-pixel checkerboard reduced through the tool by factors of 2 and more, integral or not,
// is an even mid-gray: every row strikes about as many dots as a row of a flat mid-gray picture
// (sampling instead of averaging would give rows of one colour).
TEST_F(BatchTest, ACheckerboardReducedByTheToolStrikesAsAFlatMidGray) {
    test::saveBmp(test::grayPicture(120, 90, [](int x, int y) { return (x + y) % 2 * 255; }),
                  path("board.bmp"));
    test::saveBmp(test::uniformPicture(120, 90, 128), path("flat.bmp"));
    const auto struckPerRow = [this](const QString& name, const char* width) {
        const BatchRun run = runBatch({"convert", path(name), path("out.bmp"), "--width", width});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QImage dots = readPictureFile(path("out.bmp")).image;
        std::vector<double> struck(dots.height());
        for (int y = 0; y < dots.height(); ++y)
            for (int x = 0; x < dots.width(); ++x)
                struck[y] += (qRed(dots.pixel(x, y)) < 128) / double(dots.width());
        return struck;
    };
    for (const char* width : {"60", "40", "37", "24"}) {
        const std::vector<double> board = struckPerRow("board.bmp", width);
        const std::vector<double> flat = struckPerRow("flat.bmp", width);
        ASSERT_EQ(board.size(), flat.size());
        for (size_t y = 0; y < board.size(); ++y)
            EXPECT_NEAR(board[y], flat[y], 0.15) << width << " row " << y;
    }
}

TEST_F(BatchTest, PreparationOptionsAreListedAndCheckedForEveryCommand) {
    for (const char* command : {"convert", "plan", "engrave", "preview"}) {
        const BatchRun help = runBatch({command, "--help"});
        for (const char* option :
             {"--crop", "--rotate", "--mirror", "--width", "--height", "--gray", "--brightness",
              "--contrast", "--gamma", "--invert", "--sharpen"})
            EXPECT_TRUE(help.out.contains(option)) << command << " " << option;
    }
    for (const QStringList& wrong :
         {QStringList{"--rotate", "45"}, QStringList{"--gamma", "9"}, QStringList{"--mirror"},
          QStringList{"--sharpen", "1,50"}, QStringList{"--invert=yes"}}) {
        const BatchRun run = runBatch(QStringList{"convert", "a.png", "b.bmp"} + wrong);
        EXPECT_EQ(run.exitCode, 2) << wrong.join(' ').toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    }
}

} // namespace
} // namespace zuk
