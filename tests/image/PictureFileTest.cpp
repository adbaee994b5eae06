#include "TestPictures.h"

#include "image/Picture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace zuk {
namespace {

class PictureFileTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    // A sound 24-bit BMP of the given size, as bytes.
    QByteArray soundBmp(int width = 6, int height = 4) {
        const QString file = path(QStringLiteral("sound.bmp"));
        test::saveBmp(test::randomPicture(width, height, 1), file);
        QFile in(file);
        EXPECT_TRUE(in.open(QIODevice::ReadOnly));
        return in.readAll();
    }
    QString writeBytes(const QString& name, const QByteArray& bytes) {
        QFile out(path(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return out.fileName();
    }
    static void put32(QByteArray& bytes, int at, qint32 value) {
        qToLittleEndian(value, bytes.data() + at);
    }
    static void expectRefused(const PictureFile& file, const QString& name, const char* reason) {
        EXPECT_FALSE(file.ok());
        EXPECT_TRUE(file.image.isNull());
        EXPECT_TRUE(file.error.contains(name)) << file.error.toStdString();
        EXPECT_TRUE(file.error.contains(QString::fromUtf8(reason))) << file.error.toStdString();
    }

    QTemporaryDir dir;
};

TEST_F(PictureFileTest, ReadsA24BitPictureUnchanged) {
    const QImage image = test::randomPicture(13, 7, 2);
    test::saveBmp(image, path(QStringLiteral("a.bmp")));
    const PictureFile file = readPictureFile(path(QStringLiteral("a.bmp")));
    ASSERT_TRUE(file.ok()) << file.error.toStdString();
    EXPECT_EQ(file.image.format(), QImage::Format_RGB32);
    EXPECT_EQ(file.image, image);
}

TEST_F(PictureFileTest, ReadsPaletteAndAlphaPicturesByTheirRedChannel) {
    QImage indexed(3, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(200, 10, 10), qRgb(7, 250, 3), qRgb(255, 255, 255)});
    indexed.fill(0);
    indexed.setPixel(1, 1, 1);
    indexed.setPixel(2, 0, 2);
    test::saveBmp(indexed, path(QStringLiteral("p.bmp")));
    const PictureFile palette = readPictureFile(path(QStringLiteral("p.bmp")));
    ASSERT_TRUE(palette.ok()) << palette.error.toStdString();
    EXPECT_EQ(test::redChannel(palette.image), (std::vector{200, 200, 255, 200, 7, 200}));

    QImage alpha(2, 1, QImage::Format_ARGB32);
    alpha.setPixel(0, 0, qRgba(90, 1, 2, 0));
    alpha.setPixel(1, 0, qRgba(250, 1, 2, 128));
    test::saveBmp(alpha, path(QStringLiteral("alpha.bmp")));
    const PictureFile translucent = readPictureFile(path(QStringLiteral("alpha.bmp")));
    ASSERT_TRUE(translucent.ok()) << translucent.error.toStdString();
    EXPECT_EQ(test::redChannel(translucent.image), (std::vector{90, 250}));
    EXPECT_EQ(translucent.image.format(), QImage::Format_RGB32);
}

TEST_F(PictureFileTest, RefusesFilesThatAreNotSoundBmps) {
    expectRefused(readPictureFile(path(QStringLiteral("missing.bmp"))), "missing.bmp",
                  "файл не найден");
    expectRefused(readPictureFile(writeBytes("text.bmp", "just some text, not a picture")),
                  "text.bmp", "это не рисунок BMP");
    expectRefused(readPictureFile(writeBytes("empty.bmp", {})), "empty.bmp", "это не рисунок BMP");

    const QByteArray sound = soundBmp();
    expectRefused(readPictureFile(writeBytes("short.bmp", sound.left(20))), "short.bmp",
                  "заголовок рисунка повреждён");
    QByteArray badBits = sound;
    badBits[28] = 7;
    expectRefused(readPictureFile(writeBytes("bits.bmp", badBits)), "bits.bmp",
                  "заголовок рисунка повреждён");
    QByteArray zeroWidth = sound;
    put32(zeroWidth, 18, 0);
    expectRefused(readPictureFile(writeBytes("zero.bmp", zeroWidth)), "zero.bmp",
                  "заголовок рисунка повреждён");
    QByteArray badOffset = sound;
    put32(badOffset, 10, 100000);
    expectRefused(readPictureFile(writeBytes("offset.bmp", badOffset)), "offset.bmp",
                  "заголовок рисунка повреждён");
    expectRefused(readPictureFile(writeBytes("cut.bmp", sound.left(sound.size() - 5))), "cut.bmp",
                  "данные рисунка неполны");
}

TEST_F(PictureFileTest, RefusesPicturesBeyondTheSizeLimitsBeforeDecoding) {
    QByteArray wide = soundBmp();
    put32(wide, 18, kMaxPictureSide + 1);
    put32(wide, 22, 1);
    expectRefused(readPictureFile(writeBytes("wide.bmp", wide)), "wide.bmp", "слишком велик");
    QByteArray tall = soundBmp();
    put32(tall, 18, 1);
    put32(tall, 22, -(kMaxPictureSide + 1)); // stored top-down
    expectRefused(readPictureFile(writeBytes("tall.bmp", tall)), "tall.bmp", "слишком велик");
    QByteArray many = soundBmp();
    put32(many, 18, 5001);
    put32(many, 22, 5000);
    expectRefused(readPictureFile(writeBytes("many.bmp", many)), "many.bmp", "слишком велик");
}

TEST_F(PictureFileTest, AcceptsThePictureAtTheSideLimit) {
    const QImage strip = test::uniformPicture(kMaxPictureSide, 1, 77);
    test::saveBmp(strip, path(QStringLiteral("strip.bmp")));
    const PictureFile file = readPictureFile(path(QStringLiteral("strip.bmp")));
    ASSERT_TRUE(file.ok()) << file.error.toStdString();
    EXPECT_EQ(file.image.size(), QSize(kMaxPictureSide, 1));
}

TEST_F(PictureFileTest, WritesBmpUnderExactlyTheNameGiven) {
    const QImage image = test::randomPicture(5, 3, 4);
    const QString name = path(QStringLiteral("converted.picture"));
    ASSERT_EQ(writePictureFile(image, name), QString());
    EXPECT_TRUE(QFile::exists(name));
    EXPECT_FALSE(QFile::exists(name + QStringLiteral(".bmp")));
    const PictureFile back = readPictureFile(name);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.image, image);
}

TEST_F(PictureFileTest, ReportsAFileThatCannotBeWritten) {
    const QString name = path(QStringLiteral("no/such/folder/x.bmp"));
    const QString error = writePictureFile(test::uniformPicture(2, 2, 9), name);
    EXPECT_TRUE(error.contains(QStringLiteral("x.bmp"))) << error.toStdString();
}

} // namespace
} // namespace zuk
