#include "image/BmpFile.h"

#include "image/PageMemory.h"

#include <QFileDevice>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace zuk::bmp {
namespace {

constexpr quint32 kCoreHeaderBytes = 12; // the oldest info header: 16-bit sizes
constexpr quint32 kInfoHeaderBytes = 40;
// Rows are read and written in blocks of about this size.
constexpr qint64 kBlockBytes = 256 * 1024;
// The resolution Qt writes for a picture that has none: 72 dots per inch.
constexpr qint32 kDefaultDotsPerMeter = 2834;

quint16 u16(const QByteArray& bytes, qint64 at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}
quint32 u32(const QByteArray& bytes, qint64 at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}
qint32 s32(const QByteArray& bytes, qint64 at) {
    return qFromLittleEndian<qint32>(bytes.constData() + at);
}

bool knownInfoHeaderSize(quint32 size) {
    switch (size) {
    case 12:
    case 16:
    case 40:
    case 52:
    case 56:
    case 64:
    case 108:
    case 124:
        return true;
    default:
        return false;
    }
}

bool knownBitCount(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// The palette of an 8-bit picture as 32-bit RGB, black beyond the entries the file has.
bool readPalette(QFileDevice& file, const Layout& layout, std::array<QRgb, 256>& palette) {
    const qint64 entries = layout.paletteEntries == 0 ? 256 : layout.paletteEntries;
    if (entries > 256)
        return false;
    palette.fill(qRgb(0, 0, 0));
    const QByteArray bytes = file.read(entries * 4);
    if (bytes.size() != entries * 4)
        return false;
    for (qint64 k = 0; k < entries; ++k) {
        const auto* entry = reinterpret_cast<const uchar*>(bytes.constData()) + 4 * k;
        palette[k] = qRgb(entry[2], entry[1], entry[0]); // blue, green, red, unused
    }
    return true;
}

// One stored row into one line of the picture. A pixel of 24 bits is read as the 32-bit word
// that starts with it (the block holds a spare byte after its last row for this).
void decodeRow(const uchar* stored, QRgb* line, qint64 width, int bits,
               const std::array<QRgb, 256>& palette) {
    switch (bits) {
    case 8:
        for (qint64 x = 0; x < width; ++x)
            line[x] = palette[stored[x]];
        break;
    case 24:
        for (qint64 x = 0; x < width; ++x, stored += 3)
            line[x] = 0xff000000u | (qFromLittleEndian<quint32>(stored) & 0x00ffffffu);
        break;
    default: // 32: blue, green, red and a byte that does not count
        for (qint64 x = 0; x < width; ++x, stored += 4)
            line[x] = 0xff000000u | qFromLittleEndian<quint32>(stored);
        break;
    }
}

// One line of the picture as a stored row of 24 bits: each pixel is written as its whole
// 32-bit word, the next pixel overwriting the fourth byte, and the padding is zeroed after.
void encodeRow(const QRgb* line, uchar* stored, qint64 width, qint64 rowBytes) {
    for (qint64 x = 0; x < width; ++x)
        qToLittleEndian<quint32>(line[x], stored + 3 * x);
    std::memset(stored + 3 * width, 0, std::size_t(rowBytes - 3 * width));
}

} // namespace

HeaderProblem readLayout(const QByteArray& head, qint64 fileSize, Layout& layout) {
    if (head.size() < 2 || head[0] != 'B' || head[1] != 'M')
        return HeaderProblem::NotBmp;
    if (head.size() < kFileHeaderBytes + 4)
        return HeaderProblem::Damaged;
    layout.infoSize = u32(head, kFileHeaderBytes);
    if (!knownInfoHeaderSize(layout.infoSize) ||
        head.size() < kFileHeaderBytes + qint64(layout.infoSize))
        return HeaderProblem::Damaged;
    quint16 planes = 0;
    if (layout.infoSize == kCoreHeaderBytes) {
        layout.width = u16(head, 18);
        layout.height = u16(head, 20);
        planes = u16(head, 22);
        layout.bitsPerPixel = u16(head, 24);
    } else {
        layout.width = s32(head, 18);
        const qint64 storedHeight = s32(head, 22);
        layout.topDown = storedHeight < 0;
        layout.height = std::llabs(storedHeight);
        planes = u16(head, 26);
        layout.bitsPerPixel = u16(head, 28);
        // The shortest of the longer headers (16 bytes) ends before the compression field.
        if (layout.infoSize >= 20)
            layout.compression = u32(head, 30);
        if (layout.infoSize >= kInfoHeaderBytes) {
            layout.dotsPerMeterX = s32(head, 38);
            layout.dotsPerMeterY = s32(head, 42);
            layout.paletteEntries = u32(head, 46);
        }
    }
    layout.dataOffset = u32(head, 10);
    if (layout.width <= 0 || layout.height <= 0 || planes != 1 ||
        !knownBitCount(layout.bitsPerPixel) ||
        layout.dataOffset < kFileHeaderBytes + qint64(layout.infoSize) ||
        layout.dataOffset > fileSize)
        return HeaderProblem::Damaged;
    return HeaderProblem::None;
}

bool readsDirectly(const Layout& layout) {
    const bool fullHeader =
        layout.infoSize == kInfoHeaderBytes || layout.infoSize == 108 || layout.infoSize == 124;
    const int bits = layout.bitsPerPixel;
    return fullHeader && layout.compression == 0 && (bits == 8 || bits == 24 || bits == 32);
}

PixelProblem readPixels(QFileDevice& file, const Layout& layout, QImage& picture) {
    std::array<QRgb, 256> palette{};
    // The palette follows the info header; the rows start at the data offset, but never
    // inside the palette (Qt's decoder reads on after the palette then).
    qint64 dataStart = kFileHeaderBytes + layout.infoSize;
    if (!file.seek(dataStart))
        return PixelProblem::Damaged;
    if (layout.bitsPerPixel == 8) {
        if (!readPalette(file, layout, palette))
            return PixelProblem::Damaged;
        dataStart = file.pos();
    }
    dataStart = std::max(dataStart, layout.dataOffset);
    const qint64 rowBytes = layout.rowBytes();
    if (dataStart + rowBytes * layout.height > file.size())
        return PixelProblem::Truncated;
    if (!file.seek(dataStart))
        return PixelProblem::Damaged;

    try {
        picture = pictureInFreshPages(int(layout.width), int(layout.height));
    } catch (const std::bad_alloc&) {
        return PixelProblem::NoMemory;
    }
    if (picture.isNull())
        return PixelProblem::NoMemory;
    picture.setDotsPerMeterX(layout.dotsPerMeterX); // a 0 leaves Qt's default, as Qt's decoder
    picture.setDotsPerMeterY(layout.dotsPerMeterY);

    const qint64 rowsPerBlock = std::max<qint64>(1, kBlockBytes / rowBytes);
    std::vector<uchar> block(std::size_t(rowsPerBlock * rowBytes) + 1);
    for (qint64 stored = 0; stored < layout.height;) {
        const qint64 rows = std::min(rowsPerBlock, layout.height - stored);
        if (file.read(reinterpret_cast<char*>(block.data()), rows * rowBytes) != rows * rowBytes)
            return PixelProblem::Truncated;
        for (qint64 k = 0; k < rows; ++k, ++stored) {
            const qint64 y = layout.topDown ? stored : layout.height - 1 - stored;
            decodeRow(block.data() + k * rowBytes,
                      reinterpret_cast<QRgb*>(picture.scanLine(int(y))), layout.width,
                      layout.bitsPerPixel, palette);
        }
    }
    return PixelProblem::None;
}

bool writesDirectly(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32;
}

bool writePicture(const QImage& picture, QFileDevice& file) {
    const qint64 width = picture.width();
    const qint64 height = picture.height();
    const qint64 rowBytes = (width * 24 + 31) / 32 * 4;
    const qint64 dataOffset = kFileHeaderBytes + kInfoHeaderBytes;

    QByteArray head(int(dataOffset), '\0');
    char* h = head.data();
    h[0] = 'B';
    h[1] = 'M';
    qToLittleEndian<quint32>(quint32(dataOffset + rowBytes * height), h + 2);
    qToLittleEndian<quint32>(quint32(dataOffset), h + 10);
    qToLittleEndian<quint32>(kInfoHeaderBytes, h + 14);
    qToLittleEndian<qint32>(qint32(width), h + 18);
    qToLittleEndian<qint32>(qint32(height), h + 22); // bottom-up
    qToLittleEndian<quint16>(1, h + 26);             // planes
    qToLittleEndian<quint16>(24, h + 28);            // bits per pixel, uncompressed
    qToLittleEndian<quint32>(quint32(rowBytes * height), h + 34);
    const int dpmX = picture.dotsPerMeterX();
    const int dpmY = picture.dotsPerMeterY();
    qToLittleEndian<qint32>(dpmX != 0 ? dpmX : kDefaultDotsPerMeter, h + 38);
    qToLittleEndian<qint32>(dpmY != 0 ? dpmY : kDefaultDotsPerMeter, h + 42);
    if (file.write(head) != head.size())
        return false;

    // Rows bottom-up, blue, green and red of each pixel, each row padded with zeros.
    const qint64 rowsPerBlock = std::max<qint64>(1, kBlockBytes / rowBytes);
    std::vector<uchar> block(std::size_t(rowsPerBlock * rowBytes) + 1);
    for (qint64 written = 0; written < height;) {
        const qint64 rows = std::min(rowsPerBlock, height - written);
        for (qint64 k = 0; k < rows; ++k, ++written)
            encodeRow(
                reinterpret_cast<const QRgb*>(picture.constScanLine(int(height - 1 - written))),
                block.data() + k * rowBytes, width, rowBytes);
        if (file.write(reinterpret_cast<const char*>(block.data()), rows * rowBytes) !=
            rows * rowBytes)
            return false;
    }
    return true;
}

} // namespace zuk::bmp
