#pragma once

#include <QByteArray>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace zuk::test {

// A test picture's strike codes: plan row r, column c is rows[r - 1][c - 1], '0' to '4';
// anything else lies outside every region.
struct DotPicture {
    std::vector<std::string> rows;

    char code(int row, int column) const;
    // Every cell with a code above 0, as (row, column) in plan coordinates, with its code.
    std::map<std::pair<int, int>, int> struckCells() const;
};

// A region as the plan builder plans it: a box of plan rows and columns, walked row by row.
struct PlanRegion {
    int top = 1;
    int bottom = 1;
    int left = 1;
    int right = 1;
};

enum class Sides { Double, Single };

// The lines of a plan for the picture, in the builder's patterns: per region an empty line,
// "GoTo: " to the first stretch, "Down: " and "Knock: "; further stretches of a row through an
// approach point ("Up  : ", "GoTo: ", "Down: ", "GoTo: ", "Down: ", strike line); double-sided
// rows alternate "Knock: " and "KBack: " without raising the needle ("GoTo: " one column right
// of a backward run's first cell); single-sided rows go left to right through an approach
// point; "Up  : " ends a region. Stretches are split where four or more "0" cells lie between
// struck cells; zero cells inside a stretch are written as "0".
std::vector<QByteArray> generatePlan(const DotPicture& picture,
                                     const std::vector<PlanRegion>& regions, Sides sides);

// A picture of random codes in the given regions (about a third of the cells "0"), the same
// for the same seed.
DotPicture randomPicture(unsigned seed, const std::vector<PlanRegion>& regions);

} // namespace zuk::test
