#include "image/Picture.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QtEndian>

#include <cstdlib>
#include <optional>

namespace zuk {
namespace {

// What the headers of a BMP file say about its layout.
struct BmpLayout {
    qint64 width = 0;
    qint64 height = 0; // rows, whichever way they are stored
    qint64 bitsPerPixel = 0;
    bool uncompressed = true;
    qint64 dataOffset = 0;

    // The bytes of pixel data the header promises after the data offset; 0 when the data is
    // run-length encoded. Only for sizes within the picture limits.
    qint64 pixelDataBytes() const {
        return uncompressed ? (width * bitsPerPixel + 31) / 32 * 4 * height : 0;
    }
};

enum class BmpProblem { None, NotBmp, DamagedHeader };

constexpr qint64 kFileHeaderBytes = 14;
constexpr qint64 kCoreHeaderBytes = 12; // the oldest info header: 16-bit sizes
constexpr qint64 kLargestInfoHeader = 124;

quint16 u16(const QByteArray& bytes, qint64 at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}
quint32 u32(const QByteArray& bytes, qint64 at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}
qint32 s32(const QByteArray& bytes, qint64 at) {
    return qFromLittleEndian<qint32>(bytes.constData() + at);
}

bool knownInfoHeaderSize(quint32 size) {
    switch (size) {
    case 12:
    case 16:
    case 40:
    case 52:
    case 56:
    case 64:
    case 108:
    case 124:
        return true;
    default:
        return false;
    }
}

bool knownBitCount(quint16 bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Reads the file and info headers; the pixel data is checked against the file size only
// for uncompressed pictures (run-length encoded ones are left to the decoder).
BmpProblem readBmpLayout(const QByteArray& head, qint64 fileSize, BmpLayout& layout) {
    if (head.size() < 2 || head[0] != 'B' || head[1] != 'M')
        return BmpProblem::NotBmp;
    if (head.size() < kFileHeaderBytes + 4)
        return BmpProblem::DamagedHeader;
    const quint32 infoSize = u32(head, kFileHeaderBytes);
    if (!knownInfoHeaderSize(infoSize) || head.size() < kFileHeaderBytes + qint64(infoSize))
        return BmpProblem::DamagedHeader;
    quint16 bits = 0;
    quint32 compression = 0;
    if (infoSize == kCoreHeaderBytes) {
        layout.width = u16(head, 18);
        layout.height = u16(head, 20);
        bits = u16(head, 24);
    } else {
        layout.width = s32(head, 18);
        layout.height = std::llabs(qint64(s32(head, 22)));
        bits = u16(head, 28);
        // The shortest of the longer headers (16 bytes) ends before the compression field.
        if (infoSize >= 20)
            compression = u32(head, 30);
    }
    layout.dataOffset = u32(head, 10);
    if (layout.width <= 0 || layout.height <= 0 || !knownBitCount(bits) ||
        layout.dataOffset < kFileHeaderBytes + qint64(infoSize) || layout.dataOffset > fileSize)
        return BmpProblem::DamagedHeader;
    layout.bitsPerPixel = bits;
    layout.uncompressed = compression == 0 || compression == 3 || compression == 6;
    return BmpProblem::None;
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

} // namespace

PictureFile readPictureFile(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return {{}, refusal(path, QStringLiteral("файл не найден"))};
    if (!file.open(QIODevice::ReadOnly))
        return {{}, refusal(path, QStringLiteral("файл не читается (%1)").arg(file.errorString()))};
    const QByteArray head = file.peek(kFileHeaderBytes + kLargestInfoHeader);
    BmpLayout layout;
    switch (readBmpLayout(head, file.size(), layout)) {
    case BmpProblem::NotBmp:
        return {{}, refusal(path, QStringLiteral("это не рисунок BMP"))};
    case BmpProblem::DamagedHeader:
        return {{}, refusal(path, QStringLiteral("заголовок рисунка повреждён"))};
    case BmpProblem::None:
        break;
    }
    if (auto tooLarge = sizeProblem(layout.width, layout.height))
        return {{}, refusal(path, *tooLarge)};
    if (layout.dataOffset + layout.pixelDataBytes() > file.size())
        return {{}, refusal(path, QStringLiteral("данные рисунка неполны (файл обрезан)"))};

    QImageReader reader(&file, "bmp");
    reader.setDecideFormatFromContent(false);
    // The reader gives a top-down picture's height as stored, that is negative.
    const QSize stored = reader.size();
    if (stored.width() != layout.width || std::abs(stored.height()) != layout.height)
        return {{}, refusal(path, QStringLiteral("заголовок рисунка повреждён"))};
    QImage decoded;
    if (!reader.read(&decoded))
        return {{}, refusal(path, QStringLiteral("данные рисунка повреждены"))};
    QImage rgb = asOpaqueRgb(std::move(decoded));
    if (rgb.isNull())
        return {{}, refusal(path, QStringLiteral("недостаточно памяти для рисунка"))};
    return {std::move(rgb), {}};
}

QString writePictureFile(const QImage& picture, const QString& path) {
    QImageWriter writer(path, "bmp");
    if (writer.write(picture))
        return {};
    return QStringLiteral("Не удалось записать рисунок в файл \"%1\": %2.")
        .arg(QDir::toNativeSeparators(path), writer.errorString());
}

} // namespace zuk
