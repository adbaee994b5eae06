#pragma once

#include <QByteArray>
#include <QImage>

namespace zuk::test {

struct BmpLayout {
    int bits = 24;
    bool topDown = false; // rows stored top-down (negative height) instead of bottom-up
    int infoSize = 40;    // 40, or 108 and 124 for the longer headers (fields beyond 40 are 0)
    int dotsPerMeter = 2835;
};

// A BMP file built byte by byte by the test itself, independently of the program's and Qt's
// writers: a palette for 1, 4 and 8 bits (the picture's distinct colours in order of first
// appearance), 5-5-5 pixels for 16 bits, blue-green-red(-0) for 24 and 32 bits.
QByteArray bmpBytes(const QImage& picture, const BmpLayout& layout);
inline QByteArray bmpBytes(const QImage& picture, int bits, bool topDown) {
    return bmpBytes(picture, BmpLayout{bits, topDown});
}

} // namespace zuk::test
