#include "support/JobPictures.h"

#include <algorithm>

namespace zuk::test {

QImage gradientPicture(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            int gray = 255 * (x + y) / std::max(1, size.width() + size.height() - 2);
            // A black column and a black block split the picture into several regions.
            if (x == size.width() / 3 ||
                (x > size.width() / 2 && y > size.height() / 2 && x < size.width() * 3 / 4))
                gray = 0;
            picture.setPixel(x, y, qRgb(gray, gray, gray));
        }
    }
    return picture;
}

char strikeCodeOf(double dotValue) {
    return dotValue >= 255   ? '4'
           : dotValue >= 192 ? '3'
           : dotValue >= 128 ? '2'
           : dotValue >= 64  ? '1'
                             : '0';
}

std::map<std::pair<qint64, qint64>, int> cellsToStrike(const DotImage& picture, QPoint offset) {
    std::map<std::pair<qint64, qint64>, int> cells;
    for (int row = 1; row <= picture.height(); ++row)
        for (int column = 1; column <= picture.width(); ++column) {
            const char code = strikeCodeOf(picture.dots.at(row, column + 1));
            if (picture.gray.at(row, column) > 0 && code != '0')
                cells[{row + offset.y(), column + offset.x()}] = code - '0';
        }
    return cells;
}

} // namespace zuk::test
