#include "FieldPicture.h"

#include <algorithm>

QImage fieldPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    quint32 state = 2463534242u;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int base = (x * 255 / width + y * 255 / height) / 2;
            const int gray = std::clamp(base + int(state % 41) - 20, 0, 255);
            line[x] = qRgb(gray, gray, gray);
        }
    }
    return picture;
}

const QImage& defaultFieldPicture() {
    static const QImage picture = fieldPicture(kFieldWidth, kFieldHeight);
    return picture;
}
