#pragma once

#include "image/DotImage.h"

#include <QImage>
#include <QPoint>

#include <map>
#include <utility>

namespace zuk::test {

// A small picture with every gray from black to white (and so every strike level), and black
// cut-outs that split it into regions.
QImage gradientPicture(QSize size);

// The strike code "0" to "4" of a converted dot value.
char strikeCodeOf(double dotValue);

// The cells a job must strike once per pass, on the working field (row, column), with their
// strike codes: every picture cell (gray above 0) whose dot value is above 0, at the placement.
std::map<std::pair<qint64, qint64>, int> cellsToStrike(const DotImage& picture, QPoint offset);

} // namespace zuk::test
