#include "BmpBytes.h"
#include "TestPictures.h"

#include "image/Picture.h"

#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace zuk {
namespace {

// The program reads the common BMP layouts itself and writes 32-bit pictures itself; both must
// give exactly what Qt's decoder and writer give, which read and write every other layout.
class BmpFileTest : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes) {
        QFile out(dir.filePath(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return out.fileName();
    }
    static QByteArray contents(const QString& path) {
        QFile in(path);
        EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << path.toStdString();
        return in.readAll();
    }

    // What Qt's decoder makes of the file, its colours kept as 32-bit RGB.
    static QImage readWithQt(const QString& path) {
        QImage decoded = QImageReader(path, "bmp").read();
        EXPECT_FALSE(decoded.isNull()) << path.toStdString();
        if (decoded.format() != QImage::Format_ARGB32)
            return decoded.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < decoded.height(); ++y)
            for (int x = 0; x < decoded.width(); ++x)
                decoded.setPixel(x, y, decoded.pixel(x, y) | 0xff000000u);
        decoded.reinterpretAsFormat(QImage::Format_RGB32);
        return decoded;
    }

    void expectReadAsQtDoes(const QByteArray& bytes, const std::string& what) {
        const QString path = write(QStringLiteral("in.bmp"), bytes);
        const PictureFile file = readPictureFile(path);
        ASSERT_TRUE(file.ok()) << what << ": " << file.error.toStdString();
        const QImage expected = readWithQt(path);
        EXPECT_EQ(file.image.format(), QImage::Format_RGB32) << what;
        EXPECT_EQ(file.image, expected) << what;
        EXPECT_EQ(file.image.dotsPerMeterX(), expected.dotsPerMeterX()) << what;
        EXPECT_EQ(file.image.dotsPerMeterY(), expected.dotsPerMeterY()) << what;
    }

    static void put32(QByteArray& bytes, int at, quint32 value) {
        qToLittleEndian(value, bytes.data() + at);
    }

    QTemporaryDir dir;
};

TEST_F(BmpFileTest, ReadsTheCommonLayoutsAsQtDoes) {
    for (int bits : {8, 24, 32})
        for (int infoSize : {40, 108, 124})
            for (bool topDown : {false, true})
                for (int width : {1, 2, 3, 37}) {
                    const QImage picture = test::randomPicture(width, 5, unsigned(bits + width));
                    const int dpm = width == 2 ? 0 : 3780; // 0: none given, Qt's default
                    expectReadAsQtDoes(
                        test::bmpBytes(picture, {bits, topDown, infoSize, dpm}),
                        std::to_string(bits) + " bits, header " + std::to_string(infoSize) +
                            (topDown ? ", top-down, " : ", ") + std::to_string(width) + " wide");
                }
}

TEST_F(BmpFileTest, ReadsOddPalettesAndOffsetsAsQtDoes) {
    const QImage picture = test::randomPicture(9, 7, 3); // fewer than 64 colours
    const QByteArray sound = test::bmpBytes(picture, {8});
    const quint32 colours = qFromLittleEndian<quint32>(sound.constData() + 46);
    ASSERT_GT(colours, 4u);

    QByteArray shortPalette = sound; // the last two colours' indices point past the palette
    put32(shortPalette, 46, colours - 2);
    expectReadAsQtDoes(shortPalette, "short palette");

    QByteArray gap = sound; // pixel data some bytes after the palette
    put32(gap, 10, qFromLittleEndian<quint32>(sound.constData() + 10) + 8);
    gap.insert(int(qFromLittleEndian<quint32>(sound.constData() + 10)), QByteArray(8, '\x55'));
    put32(gap, 2, quint32(gap.size()));
    expectReadAsQtDoes(gap, "gap before the pixels");

    QByteArray insidePalette = sound; // a data offset inside the palette: read on after it
    put32(insidePalette, 10, 14 + 40 + 4);
    expectReadAsQtDoes(insidePalette, "offset inside the palette");

    QByteArray alpha = test::bmpBytes(picture, {32, false, 124}); // alpha mask, any fourth byte
    put32(alpha, 14 + 52, 0xff000000u);
    for (int at = int(qFromLittleEndian<quint32>(alpha.constData() + 10)) + 3; at < alpha.size();
         at += 4)
        alpha[at] = char(at * 37);
    expectReadAsQtDoes(alpha, "32 bits with an alpha mask");
}

TEST_F(BmpFileTest, RefusesAPaletteLargerThanTheDepthAllows) {
    QByteArray bytes = test::bmpBytes(test::uniformPicture(3, 3, 10), {8});
    put32(bytes, 46, 300);
    const PictureFile file = readPictureFile(write(QStringLiteral("p.bmp"), bytes));
    EXPECT_FALSE(file.ok());
    EXPECT_TRUE(file.error.contains(QStringLiteral("повреждены"))) << file.error.toStdString();
}

TEST_F(BmpFileTest, WritesTheBytesQtsWriterWrites) {
    for (int width : {1, 2, 3, 4, 5, 37}) {
        QImage opaque = test::randomPicture(width, 6, unsigned(width));
        QImage translucent = opaque.convertToFormat(QImage::Format_ARGB32);
        translucent.setPixel(0, 0, qRgba(90, 80, 70, 20));
        QImage resolution = opaque.copy();
        resolution.setDotsPerMeterX(3000);
        resolution.setDotsPerMeterY(1234);
        for (const QImage& picture : {opaque, translucent, resolution}) {
            const QString ours = dir.filePath(QStringLiteral("ours.bmp"));
            const QString qts = dir.filePath(QStringLiteral("qts.bmp"));
            ASSERT_EQ(writePictureFile(picture, ours), QString());
            ASSERT_TRUE(QImageWriter(qts, "bmp").write(picture));
            ASSERT_EQ(contents(ours), contents(qts)) << width << " wide, " << picture.format();
        }
    }
}

TEST_F(BmpFileTest, WritingOverALongerFileLeavesNothingOfIt) {
    const QString path = dir.filePath(QStringLiteral("x.bmp"));
    ASSERT_EQ(writePictureFile(test::randomPicture(40, 40, 1), path), QString());
    const QImage small = test::uniformPicture(3, 2, 200);
    ASSERT_EQ(writePictureFile(small, path), QString());
    EXPECT_EQ(contents(path).size(), 14 + 40 + 2 * 12);
    EXPECT_EQ(readPictureFile(path).image, small);
}

} // namespace
} // namespace zuk
