#include "image/PictureEnds.h"

#include <cstring>

namespace zuk {
namespace {

constexpr uchar kMarker = 0xFF;
constexpr uchar kEndOfImage = 0xD9;
constexpr uchar kStartOfScan = 0xDA;

// Markers that stand alone, without a length: the start of the image, the restarts, TEM.
bool standsAlone(uchar marker) {
    return marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01;
}

// From `at` in compressed data: where its next marker (the 0xFF of it) lies, past the stuffed
// zeros and the restart markers, which belong to the data; -1 when the data ends first.
qsizetype nextMarker(const uchar* bytes, qsizetype size, qsizetype at) {
    while (at < size) {
        const void* found = std::memchr(bytes + at, kMarker, std::size_t(size - at));
        if (!found)
            return -1;
        const qsizetype ff = static_cast<const uchar*>(found) - bytes;
        if (ff + 1 >= size)
            return -1;
        const uchar next = bytes[ff + 1];
        if (next == 0x00 || (next >= 0xD0 && next <= 0xD7))
            at = ff + 2;
        else if (next == kMarker)
            at = ff + 1; // a fill byte before the marker
        else
            return ff;
    }
    return -1;
}

} // namespace

bool jpegReachesItsEnd(const QByteArray& data) {
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    const qsizetype size = data.size();
    qsizetype at = 2; // after the start-of-image marker
    while (at < size) {
        while (at < size && bytes[at] != kMarker)
            ++at; // stray bytes before a marker
        while (at < size && bytes[at] == kMarker)
            ++at; // the marker's 0xFF and any fill bytes
        if (at >= size)
            return false;
        const uchar marker = bytes[at++];
        if (marker == kEndOfImage)
            return true;
        if (standsAlone(marker))
            continue;
        if (at + 2 > size)
            return false;
        at += (qsizetype(bytes[at]) << 8) | bytes[at + 1];
        if (at > size)
            return false;
        if (marker == kStartOfScan) {
            at = nextMarker(bytes, size, at);
            if (at < 0)
                return false;
        }
    }
    return false;
}

namespace {

// Past a run of GIF sub-blocks (a size byte and that many bytes, ended by a size of 0); -1 when
// the data ends first.
qsizetype pastSubBlocks(const uchar* bytes, qsizetype size, qsizetype at) {
    while (at < size) {
        const uchar length = bytes[at++];
        if (length == 0)
            return at;
        at += length;
    }
    return -1;
}

// The size of a colour table whose presence and size a packed field gives.
qsizetype colourTableBytes(uchar packed) {
    return (packed & 0x80) ? 3 * (qsizetype(2) << (packed & 0x07)) : 0;
}

} // namespace

bool gifReachesItsEnd(const QByteArray& data) {
    constexpr qsizetype kScreenDescriptorEnd = 13; // "GIF89a", the logical screen descriptor
    constexpr qsizetype kImageDescriptor = 10;     // the separator and nine bytes
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    const qsizetype size = data.size();
    if (size < kScreenDescriptorEnd)
        return false;
    qsizetype at = kScreenDescriptorEnd + colourTableBytes(bytes[10]);
    while (at >= 0 && at < size) {
        const uchar block = bytes[at];
        if (block == 0x3B) // the trailer
            return true;
        if (block == 0x21) { // an extension: its label, then sub-blocks
            at = pastSubBlocks(bytes, size, at + 2);
        } else if (block == 0x2C) { // an image: descriptor, colour table, code size, data
            if (at + kImageDescriptor > size)
                return false;
            at += kImageDescriptor + colourTableBytes(bytes[at + 9]) + 1;
            at = pastSubBlocks(bytes, size, at);
        } else {
            return true; // not a block at all: the decoder's to judge
        }
    }
    return false;
}

} // namespace zuk
