#pragma once

#include <QImage>

namespace zuk {

// The picture at another size, each colour channel filtered on its own, rows and columns one
// after the other. Every new pixel is a weighted average of the pixels under a triangle
// centred on it, as wide on each side as one new pixel covers of the old ones (one old pixel
// when enlarging): reducing, it averages every pixel it covers, so detail finer than the new
// pixels blends to its mean instead of folding into false patterns (a one-pixel checkerboard
// reduced by any factor of 2 or more becomes an even mid-gray within three levels); enlarging,
// it interpolates linearly between the old pixels' centres. A plain box average cannot do the
// former: a box of three by three pixels holds five of one colour of the checkerboard and four
// of the other. A side of the same length is left as it is. Returns a 32-bit RGB picture;
// throws std::bad_alloc when there is no room for it.
QImage resampled(const QImage& picture, QSize size);

} // namespace zuk
