// Pictures in the formats Qt reads besides BMP: the same pixels give the same dots whatever the
// format, and a damaged or cut file is refused with one message naming it.
#include "TestPictures.h"
#include "support/BatchRun.h"

#include "image/Picture.h"
#include "image/PictureEnds.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zuk {
namespace {

using test::BatchRun;
using test::runBatch;

QByteArray encoded(const QImage& picture, const char* format, int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(picture.save(&buffer, format, quality)) << format;
    return bytes;
}

class PictureFormatsTest : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes) const {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    QTemporaryDir dir;
};

TEST_F(PictureFormatsTest, TheSamePixelsReadTheSameInEveryLosslessFormat) {
    const QImage picture = test::randomPicture(53, 37, 21);
    const QString bmp = write("p.bmp", encoded(picture, "BMP"));
    const PictureFile expected = readPictureFile(bmp);
    ASSERT_TRUE(expected.ok());
    for (const char* format : {"PNG", "TIFF", "WEBP"}) {
        const QString path = write(QStringLiteral("p.") + QString::fromLatin1(format).toLower(),
                                   encoded(picture, format, 100));
        const PictureFile read = readPictureFile(path);
        ASSERT_TRUE(read.ok()) << format << ": " << read.error.toStdString();
        EXPECT_EQ(read.image, expected.image) << format;
    }
    // A photograph: its pixels are the JPEG decoder's, and it is read.
    const PictureFile jpeg = readPictureFile(write("p.jpg", encoded(picture, "JPEG", 90)));
    ASSERT_TRUE(jpeg.ok()) << jpeg.error.toStdString();
    EXPECT_EQ(jpeg.image.size(), picture.size());
    EXPECT_EQ(jpeg.image.format(), QImage::Format_RGB32);
}

TEST_F(PictureFormatsTest, ACutOrDamagedFileIsRefusedNamingIt) {
    const QImage picture = test::randomPicture(90, 60, 5);
    QByteArray png = encoded(picture, "PNG");
    QByteArray damagedPng = png;
    for (qsizetype k = 100; k < 140; ++k)
        damagedPng[k] = 'X';
    const QByteArray jpeg = encoded(picture, "JPEG", 90);
    const std::vector<std::tuple<QString, QByteArray, QString>> refused = {
        {"damaged.png", damagedPng, "данные рисунка повреждены"},
        {"half.png", png.left(png.size() / 2), "данные рисунка повреждены"},
        {"half.jpg", jpeg.left(jpeg.size() / 2), "файл обрезан"},
        {"nearly.jpg", jpeg.left(jpeg.size() - 2), "файл обрезан"},
        {"half.tif", encoded(picture, "TIFF").left(900), "данные рисунка повреждены"},
        {"text.png", "a text, not a picture", "это не рисунок BMP, PNG, JPEG, TIFF, GIF или WebP"},
    };
    for (const auto& [name, bytes, reason] : refused) {
        const PictureFile read = readPictureFile(write(name, bytes));
        EXPECT_FALSE(read.ok()) << name.toStdString();
        EXPECT_TRUE(read.error.contains(name) && read.error.contains(reason))
            << read.error.toStdString();
    }
}

// The walk to the end mark: a whole file reaches it, every cut one does not.
TEST_F(PictureFormatsTest, CutJpegAndGifFilesDoNotReachTheirEnds) {
    QByteArray gif; // Qt writes no GIF: a small one made elsewhere
    {
        QFile file(QStringLiteral(ZUK_TEST_DATA_DIR "/three-colours.gif"));
        if (file.open(QIODevice::ReadOnly))
            gif = file.readAll();
    }
    const QByteArray jpeg = encoded(test::randomPicture(64, 48, 9), "JPEG", 80);
    EXPECT_TRUE(jpegReachesItsEnd(jpeg));
    for (qsizetype cut : {qsizetype(3), jpeg.size() / 4, jpeg.size() / 2, jpeg.size() - 1})
        EXPECT_FALSE(jpegReachesItsEnd(jpeg.left(cut))) << cut;
    EXPECT_TRUE(jpegReachesItsEnd(jpeg + QByteArray("trailing bytes after the end")));
    ASSERT_FALSE(gif.isEmpty());
    EXPECT_TRUE(gifReachesItsEnd(gif));
    for (qsizetype cut : {qsizetype(10), qsizetype(20), gif.size() / 2, gif.size() - 1})
        EXPECT_FALSE(gifReachesItsEnd(gif.left(cut))) << cut;
    const PictureFile read = readPictureFile(write("c.gif", gif));
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    EXPECT_FALSE(readPictureFile(write("h.gif", gif.left(gif.size() / 2))).ok());
}

// zuk-batch: a PNG and a TIFF of a BMP's pixels give that BMP's dots; a damaged PNG and a JPEG
// cut in half give exit status 1 and one line naming the file.
TEST_F(PictureFormatsTest, TheBatchToolReadsEveryFormat) {
    const QImage picture = test::randomPicture(45, 31, 8);
    // Each picture in a call of its own, from the pattern positions after start-up.
    std::vector<std::vector<int>> dots;
    for (const QString& input :
         {write("p.bmp", encoded(picture, "BMP")), write("p.png", encoded(picture, "PNG")),
          write("p.tif", encoded(picture, "TIFF")), write("p.jpg", encoded(picture, "JPEG", 95))}) {
        const QString out = dir.filePath(QStringLiteral("out.bmp"));
        const BatchRun run = runBatch({"convert", input, out});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        dots.push_back(test::redChannel(readPictureFile(out).image));
    }
    EXPECT_EQ(dots[1], dots[0]);
    EXPECT_EQ(dots[2], dots[0]);
    EXPECT_EQ(dots[3].size(), dots[0].size());

    QByteArray png = encoded(picture, "PNG");
    for (qsizetype k = 60; k < 90; ++k)
        png[k] = 'X';
    const QByteArray jpeg = encoded(picture, "JPEG", 90);
    for (const QString& bad :
         {write("damaged.png", png), write("half.jpg", jpeg.left(jpeg.size() / 2))}) {
        const BatchRun failed = runBatch({"convert", bad, dir.filePath("x.bmp")});
        EXPECT_EQ(failed.exitCode, 1);
        const QStringList lines = failed.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        // The message naming the file, then the count of failed pictures; nothing from the
        // decoders underneath.
        ASSERT_EQ(lines.size(), 2) << failed.err.toStdString();
        EXPECT_TRUE(lines[0].contains(QFileInfo(bad).fileName())) << lines[0].toStdString();
        EXPECT_TRUE(lines[1].startsWith(QLatin1String("zuk-batch convert: 1 of 1")));
    }
}

} // namespace
} // namespace zuk
