#pragma once

#include <QImage>

// A photo-like picture: gradients with a deterministic ripple and noise, every gray present;
// bench/field-picture.py writes the same picture as a BMP.
QImage fieldPicture(int width, int height);
