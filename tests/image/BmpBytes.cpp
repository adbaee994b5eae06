#include "BmpBytes.h"

#include <gtest/gtest.h>

#include <QtEndian>

namespace zuk::test {
namespace {

void append16(QByteArray& bytes, quint16 value) {
    char raw[2];
    qToLittleEndian(value, raw);
    bytes.append(raw, 2);
}
void append32(QByteArray& bytes, quint32 value) {
    char raw[4];
    qToLittleEndian(value, raw);
    bytes.append(raw, 4);
}

QList<QRgb> distinctColours(const QImage& picture) {
    QList<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb colour = picture.pixel(x, y) | 0xff000000u;
            if (!colours.contains(colour))
                colours.append(colour);
        }
    return colours;
}

// One row of pixels, padded to a multiple of four bytes.
QByteArray encodedRow(const QImage& picture, int y, int bits, const QList<QRgb>& palette) {
    QByteArray row;
    quint32 pending = 0; // bits of the palette indices not yet written
    int pendingBits = 0;
    for (int x = 0; x < picture.width(); ++x) {
        const QRgb colour = picture.pixel(x, y) | 0xff000000u;
        if (bits <= 8) {
            pending = (pending << bits) | quint32(palette.indexOf(colour));
            pendingBits += bits;
            if (pendingBits == 8) {
                row.append(char(pending));
                pending = 0;
                pendingBits = 0;
            }
        } else if (bits == 16) {
            append16(row, quint16((qRed(colour) >> 3) << 10 | (qGreen(colour) >> 3) << 5 |
                                  qBlue(colour) >> 3));
        } else {
            row.append(char(qBlue(colour)));
            row.append(char(qGreen(colour)));
            row.append(char(qRed(colour)));
            if (bits == 32)
                row.append(char(0));
        }
    }
    if (pendingBits > 0)
        row.append(char(pending << (8 - pendingBits)));
    while (row.size() % 4 != 0)
        row.append(char(0));
    return row;
}

} // namespace

QByteArray bmpBytes(const QImage& picture, const BmpLayout& layout) {
    const int bits = layout.bits;
    const bool topDown = layout.topDown;
    const QList<QRgb> palette = bits <= 8 ? distinctColours(picture) : QList<QRgb>();
    EXPECT_LE(palette.size(), bits <= 8 ? 1 << bits : 0) << "too many colours for " << bits;
    QByteArray pixels;
    for (int k = 0; k < picture.height(); ++k)
        pixels += encodedRow(picture, topDown ? k : picture.height() - 1 - k, bits, palette);

    const quint32 dataOffset = 14 + quint32(layout.infoSize) + 4 * quint32(palette.size());
    QByteArray bytes("BM");
    append32(bytes, dataOffset + quint32(pixels.size()));
    append32(bytes, 0);
    append32(bytes, dataOffset);
    append32(bytes, quint32(layout.infoSize));
    append32(bytes, quint32(picture.width()));
    append32(bytes, quint32(topDown ? -picture.height() : picture.height()));
    append16(bytes, 1);
    append16(bytes, quint16(bits));
    append32(bytes, 0); // uncompressed
    append32(bytes, quint32(pixels.size()));
    append32(bytes, quint32(layout.dotsPerMeter));
    append32(bytes, quint32(layout.dotsPerMeter));
    append32(bytes, quint32(palette.size()));
    append32(bytes, 0);
    bytes.append(QByteArray(layout.infoSize - 40, '\0'));
    for (QRgb colour : palette)
        append32(bytes, colour & 0x00ffffffu); // blue, green, red, 0
    return bytes + pixels;
}

} // namespace zuk::test
