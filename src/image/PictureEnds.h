#pragma once

#include <QByteArray>

namespace zuk {

// Whether a picture file runs on to its end. Qt's JPEG and GIF decoders take a file cut short
// without a word, the JPEG decoder filling the missing part with gray, the GIF decoder leaving
// it black; these walk the file's parts as the decoders do and find its end mark or run out of
// data first. Data that is damaged but complete is the decoder's to judge.

// JPEG: a segment by its length, the compressed data up to its next marker, stray bytes between
// segments skipped, up to the end-of-image marker.
bool jpegReachesItsEnd(const QByteArray& data);

// GIF: the header and colour tables, then extensions and images by their sub-blocks, up to the
// trailer.
bool gifReachesItsEnd(const QByteArray& data);

} // namespace zuk
