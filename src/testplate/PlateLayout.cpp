#include "testplate/PlateLayout.h"

#include "image/GridFill.h"
#include "testplate/PlateDigits.h"

#include <algorithm>

namespace zuk {

namespace {

// The dot value a conversion gives each strike code 1..4.
constexpr std::array<int, 5> kDotValueOfCode{0, 64, 128, 192, 255};

// The sizes every cell of the plate shares.
struct CellShape {
    int scale = 1;    // of the digits
    int labelGap = 0; // between a block and its digits
    int gap = 0;      // between two cells, across and down
    QSize cell;
};

CellShape cellShape(const std::vector<int>& forces, int patchDots) {
    CellShape shape;
    shape.scale = digitScale(patchDots);
    shape.labelGap = 2 * shape.scale;
    shape.gap = std::max(4 * shape.scale, patchDots / 2);
    int widest = 0;
    for (const int force : forces)
        widest = std::max(widest, digitsSize(QString::number(force), shape.scale).width());
    shape.cell = {std::max(patchDots, widest),
                  patchDots + shape.labelGap + kDigitRows * shape.scale};
    return shape;
}

PlatePatch patchAt(int index, int force, int perRow, int patchDots, const CellShape& shape) {
    const QPoint corner((index % perRow) * (shape.cell.width() + shape.gap),
                        (index / perRow) * (shape.cell.height() + shape.gap));
    PlatePatch patch;
    patch.force = force;
    patch.block = QRect(corner + QPoint((shape.cell.width() - patchDots) / 2, 0),
                        QSize(patchDots, patchDots));
    const QSize digits = digitsSize(QString::number(force), shape.scale);
    patch.label = QRect(
        corner + QPoint((shape.cell.width() - digits.width()) / 2, patchDots + shape.labelGap),
        digits);
    patch.job = index / kPatchesPerJob;
    patch.code = index % kPatchesPerJob + 1;
    return patch;
}

// A plate cell (x, y) made a picture cell of the code.
void putDot(DotImage& image, QPoint at, int code) {
    const int value = kDotValueOfCode[std::size_t(code)];
    image.gray.at(at.y() + 1, at.x() + 1) = 255;
    image.dots.at(at.y() + 1, at.x() + 2) = value;
    image.bitmap.setPixel(at, qRgb(value, value, value));
}

void drawPatch(DotImage& image, const PlatePatch& patch, int scale) {
    for (int y = patch.block.top(); y <= patch.block.bottom(); ++y)
        for (int x = patch.block.left(); x <= patch.block.right(); ++x)
            putDot(image, {x, y}, patch.code);
    for (const QPoint dot : digitDots(QString::number(patch.force), scale))
        putDot(image, patch.label.topLeft() + dot, patch.code);
}

} // namespace

int digitScale(int patchDots) {
    return std::max(1, patchDots / 10);
}

std::optional<QString> forcesRefusal(const PlateForces& forces) {
    const auto inRange = [](int force) {
        return force >= kLowestPlateForce && force <= kHighestPlateForce;
    };
    if (!inRange(forces.from) || !inRange(forces.to))
        return QStringLiteral("Сила удара должна быть от %1 до %2.")
            .arg(kLowestPlateForce)
            .arg(kHighestPlateForce);
    if (forces.step < 1)
        return QStringLiteral("Шаг силы удара должен быть не меньше 1.");
    if (forces.to < forces.from)
        return QStringLiteral("Конечная сила удара меньше начальной.");
    return std::nullopt;
}

std::vector<int> forceList(const PlateForces& forces) {
    std::vector<int> list;
    if (forcesRefusal(forces))
        return list;
    for (int force = forces.from; force <= forces.to; force += forces.step)
        list.push_back(force);
    return list;
}

int PlateLayout::jobCount() const {
    return patches.empty() ? 0 : patches.back().job + 1;
}

std::vector<int> PlateLayout::jobForces(int job) const {
    std::vector<int> forces;
    for (const PlatePatch& patch : patches)
        if (patch.job == job)
            forces.push_back(patch.force);
    return forces;
}

std::optional<PlateLayout> layOutPlate(const PlateForces& forces, int patchDots, QSize fieldDots,
                                       QString* why) {
    const auto refuse = [why](const QString& text) -> std::optional<PlateLayout> {
        if (why)
            *why = text;
        return std::nullopt;
    };
    if (const std::optional<QString> refused = forcesRefusal(forces))
        return refuse(*refused);
    if (patchDots < kSmallestPatchDots || patchDots > kLargestPatchDots)
        return refuse(QStringLiteral("Размер пятна должен быть от %1 до %2 точек.")
                          .arg(kSmallestPatchDots)
                          .arg(kLargestPatchDots));
    const std::vector<int> list = forceList(forces);
    const CellShape shape = cellShape(list, patchDots);
    const int perRow = std::min(int(list.size()),
                                (fieldDots.width() + shape.gap) / (shape.cell.width() + shape.gap));
    const int rows = perRow > 0 ? (int(list.size()) + perRow - 1) / perRow : 0;
    PlateLayout layout;
    layout.patchDots = patchDots;
    layout.size = QSize(perRow * (shape.cell.width() + shape.gap) - shape.gap,
                        rows * (shape.cell.height() + shape.gap) - shape.gap);
    if (perRow == 0 || layout.size.height() > fieldDots.height())
        return refuse(QStringLiteral("Пробная пластина не помещается на рабочее поле."));
    for (int index = 0; index < int(list.size()); ++index)
        layout.patches.push_back(
            patchAt(index, list[std::size_t(index)], perRow, patchDots, shape));
    return layout;
}

DotImage plateDots(const PlateLayout& layout, std::optional<int> job) {
    DotImage image;
    shapeGrids(image, layout.size, GridCells::Zeroed);
    image.bitmap.fill(Qt::black);
    const int scale = digitScale(layout.patchDots);
    for (const PlatePatch& patch : layout.patches)
        if (!job || patch.job == *job)
            drawPatch(image, patch, scale);
    return image;
}

} // namespace zuk
