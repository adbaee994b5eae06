#include "support/PlateStrikes.h"

#include "testplate/PlateDigits.h"

#include <QFile>

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <optional>
#include <set>

namespace zuk::test {

namespace {

using Cell = std::pair<qint64, qint64>;

// A set of cells moved so that its top row and leftmost column are 0.
std::set<Cell> normalised(const std::set<Cell>& cells) {
    qint64 top = LLONG_MAX;
    qint64 left = LLONG_MAX;
    for (const auto& [row, column] : cells) {
        top = std::min(top, row);
        left = std::min(left, column);
    }
    std::set<Cell> moved;
    for (const auto& [row, column] : cells)
        moved.insert({row - top, column - left});
    return moved;
}

// The block at the top left of the cells is solid; the rest are the force's digits.
void expectPatch(int force, const std::set<Cell>& cells, int patchDots) {
    SCOPED_TRACE(::testing::Message() << "force " << force);
    const Cell corner = *cells.begin(); // the top row's leftmost cell
    std::set<Cell> digits = cells;
    for (qint64 row = corner.first; row < corner.first + patchDots; ++row)
        for (qint64 column = corner.second; column < corner.second + patchDots; ++column)
            EXPECT_EQ(digits.erase({row, column}), 1u) << row << ", " << column;
    std::set<Cell> font;
    for (const QPoint dot : digitDots(QString::number(force), digitScale(patchDots)))
        font.insert({dot.y(), dot.x()});
    EXPECT_EQ(normalised(digits), normalised(font));
    ASSERT_FALSE(digits.empty());
    EXPECT_GT(digits.begin()->first, corner.first + patchDots);
}

} // namespace

std::vector<PlateStrike> strikesOf(const sim::Plate& plate) {
    std::vector<PlateStrike> strikes;
    for (const sim::Strike& strike : plate.strikes())
        strikes.push_back({{strike.rowSteps / 2, strike.column}, strike.force});
    return strikes;
}

std::vector<PlateStrike> strikesOf(const QString& csvPath) {
    std::vector<PlateStrike> strikes;
    QFile csv(csvPath);
    EXPECT_TRUE(csv.open(QIODevice::ReadOnly)) << csvPath.toStdString();
    csv.readLine();
    while (!csv.atEnd()) {
        const QList<QByteArray> fields = csv.readLine().trimmed().split(',');
        if (fields.size() == 6)
            strikes.push_back(
                {{fields[3].toLongLong() / 2, fields[2].toLongLong()}, fields[5].toInt()});
    }
    return strikes;
}

void expectPlate(const std::vector<PlateStrike>& strikes, const PlateForces& forces,
                 int patchDots) {
    std::map<Cell, int> struck;
    std::map<int, std::set<Cell>> byForce;
    for (const PlateStrike& strike : strikes) {
        EXPECT_TRUE(struck.emplace(strike.cell, strike.force).second)
            << "struck twice: row " << strike.cell.first << ", column " << strike.cell.second;
        byForce[strike.force].insert(strike.cell);
    }
    std::vector<int> forcesStruck;
    for (const auto& [force, cells] : byForce)
        forcesStruck.push_back(force);
    EXPECT_EQ(forcesStruck, forceList(forces));
    std::optional<Cell> previous;
    for (const auto& [force, cells] : byForce) {
        expectPatch(force, cells, patchDots);
        const Cell corner = *cells.begin();
        if (previous) {
            EXPECT_TRUE(corner.first == previous->first ? corner.second > previous->second
                                                        : corner.first > previous->first)
                << "force " << force << " out of order";
        }
        previous = corner;
    }
}

} // namespace zuk::test
