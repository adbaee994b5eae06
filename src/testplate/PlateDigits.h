#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

#include <vector>

namespace zuk {

// The plate's own small digit font: 0 to 9 on a grid of 3 × 5 dots, each dot drawn as a square
// of `scale` dots, one scaled dot between two digits.
inline constexpr int kDigitColumns = 3;
inline constexpr int kDigitRows = 5;

// The size of a number's digits at the scale.
QSize digitsSize(const QString& number, int scale);
// The dots of a number's digits, relative to the top left of its box.
std::vector<QPoint> digitDots(const QString& number, int scale);

} // namespace zuk
