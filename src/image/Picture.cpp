#include "image/Picture.h"

#include "image/BmpFile.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>

#include <cstdlib>
#include <optional>

namespace zuk {
namespace {

// The reasons for refusing a picture that more than one decoder gives.
QString damagedHeader() {
    return QStringLiteral("заголовок рисунка повреждён");
}
QString truncatedData() {
    return QStringLiteral("данные рисунка неполны (файл обрезан)");
}
QString damagedData() {
    return QStringLiteral("данные рисунка повреждены");
}
QString noMemory() {
    return QStringLiteral("недостаточно памяти для рисунка");
}

QString refusal(const QString& path, const QString& reason) {
    return QStringLiteral("Не удалось открыть рисунок \"%1\": %2.")
        .arg(QDir::toNativeSeparators(path), reason);
}

std::optional<QString> sizeProblem(qint64 width, qint64 height) {
    if (width <= kMaxPictureSide && height <= kMaxPictureSide && width * height <= kMaxPictureDots)
        return std::nullopt;
    return QStringLiteral("рисунок %1 × %2 точек слишком велик (допускается не более %3 точек "
                          "по каждой стороне и не более %4 точек всего)")
        .arg(width)
        .arg(height)
        .arg(kMaxPictureSide)
        .arg(kMaxPictureDots);
}

// The decoded pixels as 32-bit RGB with the colour channels untouched: an alpha channel is
// dropped without blending, so the red channel stays what the file holds.
QImage asOpaqueRgb(QImage decoded) {
    if (decoded.format() != QImage::Format_ARGB32)
        return decoded.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < decoded.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(decoded.scanLine(y));
        for (int x = 0; x < decoded.width(); ++x)
            line[x] |= 0xff000000u;
    }
    decoded.reinterpretAsFormat(QImage::Format_RGB32);
    return decoded;
}

// Qt's decoder for the layouts that the program does not decode itself.
PictureFile decodeWithQt(QFile& file, const bmp::Layout& layout, const QString& path) {
    QImageReader reader(&file, "bmp");
    reader.setDecideFormatFromContent(false);
    // The reader gives a top-down picture's height as stored, that is negative.
    const QSize stored = reader.size();
    if (stored.width() != layout.width || std::abs(stored.height()) != layout.height)
        return {{}, refusal(path, damagedHeader())};
    QImage decoded;
    if (!reader.read(&decoded))
        return {{}, refusal(path, damagedData())};
    QImage rgb = asOpaqueRgb(std::move(decoded));
    if (rgb.isNull())
        return {{}, refusal(path, noMemory())};
    return {std::move(rgb), {}};
}

PictureFile decodeDirectly(QFile& file, const bmp::Layout& layout, const QString& path) {
    QImage picture;
    const bmp::PixelProblem problem = bmp::readPixels(file, layout, picture);
    if (problem == bmp::PixelProblem::None)
        return {std::move(picture), {}};
    const QString reason = problem == bmp::PixelProblem::Truncated ? truncatedData()
                           : problem == bmp::PixelProblem::Damaged ? damagedData()
                                                                   : noMemory();
    return {{}, refusal(path, reason)};
}

} // namespace

PictureFile readPictureFile(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return {{}, refusal(path, QStringLiteral("файл не найден"))};
    if (!file.open(QIODevice::ReadOnly))
        return {{}, refusal(path, QStringLiteral("файл не читается (%1)").arg(file.errorString()))};
    const QByteArray head = file.peek(bmp::kFileHeaderBytes + bmp::kLargestInfoHeader);
    bmp::Layout layout;
    switch (bmp::readLayout(head, file.size(), layout)) {
    case bmp::HeaderProblem::NotBmp:
        return {{}, refusal(path, QStringLiteral("это не рисунок BMP"))};
    case bmp::HeaderProblem::Damaged:
        return {{}, refusal(path, damagedHeader())};
    case bmp::HeaderProblem::None:
        break;
    }
    if (auto tooLarge = sizeProblem(layout.width, layout.height))
        return {{}, refusal(path, *tooLarge)};
    if (layout.dataOffset + layout.pixelDataBytes() > file.size())
        return {{}, refusal(path, truncatedData())};
    return bmp::readsDirectly(layout) ? decodeDirectly(file, layout, path)
                                      : decodeWithQt(file, layout, path);
}

QString writePictureFile(const QImage& picture, const QString& path) {
    QString problem;
    if (bmp::writesDirectly(picture.format())) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
            bmp::writePicture(picture, file) && file.flush())
            return {};
        problem = file.errorString();
    } else {
        QImageWriter writer(path, "bmp");
        if (writer.write(picture))
            return {};
        problem = writer.errorString();
    }
    return QStringLiteral("Не удалось записать рисунок в файл \"%1\": %2.")
        .arg(QDir::toNativeSeparators(path), problem);
}

} // namespace zuk
