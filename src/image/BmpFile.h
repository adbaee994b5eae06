#pragma once

#include <QByteArray>
#include <QImage>

class QFileDevice;

namespace zuk::bmp {

constexpr qint64 kFileHeaderBytes = 14;
constexpr qint64 kLargestInfoHeader = 124;

// What the headers of a BMP file say about its layout.
struct Layout {
    qint64 width = 0;
    qint64 height = 0; // rows, whichever way they are stored
    bool topDown = false;
    int bitsPerPixel = 0;
    quint32 infoSize = 0;
    quint32 compression = 0;
    quint32 paletteEntries = 0; // as the header says; 0 means all that the depth allows
    qint32 dotsPerMeterX = 0;
    qint32 dotsPerMeterY = 0;
    qint64 dataOffset = 0;

    bool uncompressed() const { return compression == 0 || compression == 3 || compression == 6; }
    // The bytes of one stored row, padded to whole 32-bit words.
    qint64 rowBytes() const { return (width * bitsPerPixel + 31) / 32 * 4; }
    // The bytes of pixel data the header promises after the data offset; 0 when the data is
    // run-length encoded. Only for sizes within the picture limits.
    qint64 pixelDataBytes() const { return uncompressed() ? rowBytes() * height : 0; }
};

enum class HeaderProblem { None, NotBmp, Damaged };

// Reads the file and info headers from the first bytes of a file of the given size.
HeaderProblem readLayout(const QByteArray& head, qint64 fileSize, Layout& layout);

// Whether readPixels decodes pictures of this layout itself: uncompressed 8, 24 and 32 bits
// with a full info header, which is what paint programs write. Other layouts are left to Qt.
bool readsDirectly(const Layout& layout);

enum class PixelProblem { None, Truncated, Damaged, NoMemory };

// Decodes the pixels of a file whose layout readsDirectly takes straight into a 32-bit RGB
// picture, a block of rows at a time and each row to its place whichever way the rows are
// stored: the colours exactly as Qt's decoder gives them (the fourth byte of a 32-bit pixel
// and palette indices beyond the palette, which read as black, included), and its resolution.
PixelProblem readPixels(QFileDevice& file, const Layout& layout, QImage& picture);

// Whether writePicture takes pictures of this format: 32-bit RGB, with or without alpha.
bool writesDirectly(QImage::Format format);

// Writes such a picture as a 24-bit BMP file, byte for byte what Qt's BMP writer gives, packing
// a block of rows at a time instead of converting the whole picture first. False when the
// device refuses the bytes.
bool writePicture(const QImage& picture, QFileDevice& file);

} // namespace zuk::bmp
