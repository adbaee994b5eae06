#pragma once

#include <QByteArray>
#include <QImage>

namespace zuk::test {

// A BMP file built byte by byte by the test itself, independently of the program's and Qt's
// writers: a 40-byte info header, a palette for 1, 4 and 8 bits (the picture's distinct
// colours in order of first appearance), 5-5-5 pixels for 16 bits, blue-green-red(-0) for
// 24 and 32 bits. Rows are stored bottom-up, or top-down (negative height) when asked.
QByteArray bmpBytes(const QImage& picture, int bitsPerPixel, bool topDown);

} // namespace zuk::test
