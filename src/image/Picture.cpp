#include "image/Picture.h"

#include "image/BmpFile.h"
#include "image/PictureEnds.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
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

// The formats read through Qt's image readers besides BMP, by the names Qt gives them.
bool readerFormatTaken(const QByteArray& format) {
    for (const char* taken : {"png", "jpeg", "jpg", "tiff", "tif", "gif", "webp"})
        if (format == taken)
            return true;
    return false;
}

// Holds back what the decoders under Qt's readers (libpng, libtiff, libjpeg) write straight to
// the error output about a damaged file: the program says what went wrong in its own message.
class ErrorOutputHeld {
public:
    ErrorOutputHeld() {
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && nowhere >= 0)
            ::dup2(nowhere, STDERR_FILENO);
        if (nowhere >= 0)
            ::close(nowhere);
    }
    ~ErrorOutputHeld() {
        std::fflush(stderr);
        if (saved_ >= 0) {
            ::dup2(saved_, STDERR_FILENO);
            ::close(saved_);
        }
    }
    ErrorOutputHeld(const ErrorOutputHeld&) = delete;
    ErrorOutputHeld& operator=(const ErrorOutputHeld&) = delete;

private:
    int saved_ = -1;
};

// Whether a JPEG or GIF file reaches its end; other formats are cut short only as their
// decoders find it.
bool reachesItsEnd(QFile& file, const QByteArray& format) {
    const bool jpeg = format == "jpeg" || format == "jpg";
    if (!jpeg && format != "gif")
        return true;
    file.seek(0);
    const QByteArray bytes = file.readAll();
    file.seek(0);
    return jpeg ? jpegReachesItsEnd(bytes) : gifReachesItsEnd(bytes);
}

// A PNG, JPEG, TIFF, GIF or WebP file through Qt's readers, which find the format from the
// content. The size is checked before the pixels are decoded where the header gives it, and in
// any case before the picture is taken. A JPEG or GIF cut short is refused: Qt's decoders would
// fill its missing rows. The orientation a photograph records is applied, as photo viewers
// show it.
PictureFile decodeOtherFormat(QFile& file, const QString& path) {
    const QByteArray format = QImageReader::imageFormat(&file);
    if (!readerFormatTaken(format))
        return {{},
                refusal(path, QStringLiteral("это не рисунок BMP, PNG, JPEG, TIFF, GIF или "
                                             "WebP"))};
    if (!reachesItsEnd(file, format))
        return {{}, refusal(path, truncatedData())};
    QImageReader reader(&file, format);
    reader.setAutoTransform(true);
    const ErrorOutputHeld quiet;
    const QSize stored = reader.size();
    if (stored.isValid()) {
        if (auto tooLarge = pictureSizeProblem(stored.width(), stored.height()))
            return {{}, refusal(path, *tooLarge)};
    }
    QImage decoded;
    if (!reader.read(&decoded))
        return {{}, refusal(path, damagedData())};
    if (auto tooLarge = pictureSizeProblem(decoded.width(), decoded.height()))
        return {{}, refusal(path, *tooLarge)};
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

std::optional<QString> pictureSizeProblem(qint64 width, qint64 height) {
    if (width <= kMaxPictureSide && height <= kMaxPictureSide && width * height <= kMaxPictureDots)
        return std::nullopt;
    return QStringLiteral("рисунок %1 × %2 точек слишком велик (допускается не более %3 точек "
                          "по каждой стороне и не более %4 точек всего)")
        .arg(width)
        .arg(height)
        .arg(kMaxPictureSide)
        .arg(kMaxPictureDots);
}

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
        return decodeOtherFormat(file, path);
    case bmp::HeaderProblem::Damaged:
        return {{}, refusal(path, damagedHeader())};
    case bmp::HeaderProblem::None:
        break;
    }
    if (auto tooLarge = pictureSizeProblem(layout.width, layout.height))
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
