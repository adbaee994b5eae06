#pragma once

#include <QImage>

namespace zuk {

// An 8-bit gray picture sharpened with an unsharp mask: each gray g becomes
// g + amount · (g − b), rounded and held to 0..255, where b is the gray blurred with a Gaussian
// of standard deviation `radius` dots (the picture's edge pixels repeated beyond it). An amount
// of 0 gives the picture back as it is.
QImage sharpened(const QImage& gray, double amount, double radius);

} // namespace zuk
