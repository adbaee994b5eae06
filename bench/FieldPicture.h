#pragma once

#include <QImage>

// A photo-like picture: gradients with a deterministic ripple and noise, every gray present;
// bench/field-picture.py writes the same picture as a BMP.
QImage fieldPicture(int width, int height);

// The default working field, 1930 × 2330, and its picture, made once.
inline constexpr int kFieldWidth = 1930;
inline constexpr int kFieldHeight = 2330;
const QImage& defaultFieldPicture();
