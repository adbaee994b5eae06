#include "TestPictures.h"

#include <gtest/gtest.h>

#include <random>

namespace zuk::test {

QImage grayPicture(int width, int height, const std::function<int(int, int)>& gray) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int g = gray(x, y);
            picture.setPixel(x, y, qRgb(g, g, g));
        }
    return picture;
}

QImage randomPicture(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(-40, 40);
    std::uniform_int_distribution<int> patch(0, 9);
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int base = (x * 255) / std::max(1, width - 1);
            int red = std::clamp(base + noise(random) * (y % 3), 0, 255);
            const int kind = patch(random);
            if (kind == 0 && (y / 4) % 2 == 0)
                red = 0;
            else if (kind == 1 && (x / 4) % 2 == 0)
                red = 255;
            // Green and blue differ from red: only the red channel may count.
            picture.setPixel(x, y, qRgb(red, (red * 7 + 13) % 256, 255 - red));
        }
    return picture;
}

std::vector<int> redChannel(const QImage& picture) {
    std::vector<int> reds;
    reds.reserve(std::size_t(picture.width()) * picture.height());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            reds.push_back(qRed(picture.pixel(x, y)));
    return reds;
}

void saveBmp(const QImage& picture, const QString& path) {
    ASSERT_TRUE(picture.save(path, "BMP")) << path.toStdString();
}

} // namespace zuk::test
