#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <vector>

namespace zuk::test {

// A picture whose pixel (x, y) is the gray gray(x, y).
QImage grayPicture(int width, int height, const std::function<int(int, int)>& gray);
inline QImage uniformPicture(int width, int height, int gray) {
    return grayPicture(width, height, [gray](int, int) { return gray; });
}
// Noise over gradients with black and white patches: reaches every gray and every
// pattern row; the same seed gives the same picture.
QImage randomPicture(int width, int height, unsigned seed);

// The red channel row by row.
std::vector<int> redChannel(const QImage& picture);

// Writes the picture as BMP; fails the test when it cannot.
void saveBmp(const QImage& picture, const QString& path);

} // namespace zuk::test
