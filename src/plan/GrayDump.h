#pragma once

#include "image/DotImage.h"

#include <QString>

namespace zuk {

// "123Bm.txt": for each gray-grid row 0..H+1 a line break followed by the gray values of
// columns 0..W+1, each right-aligned in 4 characters. The file therefore begins with an empty
// line and has no line break after its last row. Nothing reads it; it lets a picture's gray
// grid be compared outside the program.
inline constexpr const char* kGrayDumpFileName = "123Bm.txt";

// Writes the dump of the dots' gray grid; the message naming the file on failure, or an empty
// string.
QString writeGrayDump(const DotImage& picture, const QString& path);

} // namespace zuk
