#include "RandomPictures.h"

#include "image/Conversion.h"
#include "image/ToneTables.h"

#include <random>

namespace zuk::test {
namespace {

void setGray(QImage& image, int x, int y, int gray) {
    if (x >= 0 && y >= 0 && x < image.width() && y < image.height())
        image.setPixel(x, y, qRgb(gray, gray, gray));
}

void drawBlobs(QImage& image, std::mt19937& random) {
    std::uniform_int_distribution<int> gray(1, 255);
    const int shapes = 2 + int(random() % 6);
    for (int k = 0; k < shapes; ++k) {
        const int cx = int(random() % image.width());
        const int cy = int(random() % image.height());
        const int rx = 1 + int(random() % std::max(1, image.width() / 3));
        const int ry = 1 + int(random() % std::max(1, image.height() / 3));
        const bool ring = random() % 3 == 0;
        const int shade = gray(random);
        for (int y = cy - ry; y <= cy + ry; ++y)
            for (int x = cx - rx; x <= cx + rx; ++x) {
                const double dx = double(x - cx) / rx;
                const double dy = double(y - cy) / ry;
                const double r = dx * dx + dy * dy;
                if (r <= 1 && (!ring || r >= 0.4))
                    setGray(image, x, y, std::clamp(shade + int(random() % 41) - 20, 1, 255));
            }
    }
    // Thin lines and single dots: diagonal strokes and specks.
    for (int k = 0; k < 3; ++k) {
        int x = int(random() % image.width());
        int y = int(random() % image.height());
        const int dx = int(random() % 3) - 1;
        const int dy = int(random() % 3) - 1;
        for (int step = 0; step < image.width(); ++step, x += dx, y += dy)
            setGray(image, x, y, gray(random));
    }
    for (int k = 0; k < image.width() * image.height() / 40; ++k)
        setGray(image, int(random() % image.width()), int(random() % image.height()), gray(random));
}

void drawNoise(QImage& image, std::mt19937& random) {
    const int blackPercent = 30 + int(random() % 50);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (int(random() % 100) >= blackPercent)
                setGray(image, x, y, 1 + int(random() % 255));
}

void drawPhoto(QImage& image, std::mt19937& random) {
    const double fx = 0.05 + (random() % 100) / 400.0;
    const double fy = 0.05 + (random() % 100) / 400.0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const double wave = std::sin(x * fx) * std::cos(y * fy);
            const int base = (x * 200 / image.width() + y * 55 / image.height());
            setGray(image, x, y,
                    std::clamp(base + int(wave * 60) + int(random() % 21) - 10, 1, 255));
        }
    const int patches = int(random() % 4);
    for (int k = 0; k < patches; ++k) {
        const int px = int(random() % image.width());
        const int py = int(random() % image.height());
        const int size = 2 + int(random() % 8);
        for (int y = py; y < py + size; ++y)
            for (int x = px; x < px + size; ++x)
                setGray(image, x, y, 0);
    }
}

} // namespace

QImage randomPlanPicture(RandomKind kind, int width, int height, unsigned seed) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    std::mt19937 random(seed);
    switch (kind) {
    case RandomKind::Blobs:
        drawBlobs(image, random);
        break;
    case RandomKind::Noise:
        drawNoise(image, random);
        break;
    case RandomKind::Photo:
        drawPhoto(image, random);
        break;
    }
    return image;
}

DotImage convertedPicture(const QImage& image, ConversionVariant variant) {
    const PictureTables tables = PictureTables::afterStartUp();
    DotImage picture;
    SilentProgress progress;
    convertPicture(image, tables, variant, picture, progress);
    return picture;
}

} // namespace zuk::test
