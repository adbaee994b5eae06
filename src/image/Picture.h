#pragma once

#include <QImage>
#include <QString>

#include <optional>

namespace zuk {

// The largest picture the program opens. Each side is limited by the device: a move counts its
// steps in 16 bits and a row takes two steps, so 32767 rows is the furthest the head can be
// sent upward in one move (columns are held to the same bound). The number of dots is limited
// by memory: a dot costs 4 bytes in the picture as read, 4 in the dots shown, 4 in the gray
// grid, 8 in the dot image and 4 in the plan's mark grid, so 25 million dots need about 600 MB
// (the default working field of 1930 × 2330 is 4.5 million dots, about 110 MB).
inline constexpr int kMaxPictureSide = 32767;
inline constexpr qint64 kMaxPictureDots = 25'000'000;

// The one working picture of the program as it was read from its file. It stays unchanged
// while it is held, so that a new preparation converts the picture as read again and never
// the dots made before (only a cancelled open converts the dots shown, see
// ImagePreparation::openClick).
struct Picture {
    // 32-bit RGB, the file's pixels; null before the first picture.
    QImage source;
    // Full path of the last opened file; empty before the first.
    QString fileName;

    bool empty() const { return source.isNull(); }
};

// Why a picture of this size is beyond the limits above, in the operator's words; nothing when
// it is within them. Sides are taken as they are (at most 0 only for an empty picture).
std::optional<QString> pictureSizeProblem(qint64 width, qint64 height);

// A picture file read and checked, or the reason it could not be.
struct PictureFile {
    QImage image;  // 32-bit RGB, the file's pixels unchanged (an alpha channel dropped)
    QString error; // the message for the operator, naming the file; empty on success
    bool ok() const { return error.isEmpty(); }
};

// Reads a picture file: BMP with the program's own reader, PNG, JPEG, TIFF, GIF and WebP with
// Qt's. Refuses, with a message naming the file and the reason, a file that cannot be opened,
// is in none of these formats, has a damaged header, damaged or missing pixel data, or is
// larger than the limits above. A BMP is not decoded before its size has been checked.
PictureFile readPictureFile(const QString& path);

// Writes the picture as BMP under exactly the given name (no extension is added). Returns the
// message for the operator, or an empty string on success.
QString writePictureFile(const QImage& picture, const QString& path);

} // namespace zuk
