#pragma once

#include "app/StrikeLevels.h"

namespace zuk::test {

// The forces both group rules derive from the "32" force F, worked by hand for the ends of
// the range and the points where the divisions change.
struct WorkedLevels {
    int f;
    StrikeLevels trackbarRule;  // the "32" trackbar moved in group mode
    StrikeLevels selectionRule; // group mode selected on a properties panel
};

inline constexpr WorkedLevels kWorkedLevels[] = {
    {1, {1, 1, 1, 1}, {1, 1, 1, 1}},
    {3, {3, 2, 1, 1}, {3, 1, 1, 1}},
    {9, {9, 6, 3, 1}, {9, 6, 3, 1}},
    {30, {30, 20, 10, 2}, {30, 24, 13, 10}},
    {100, {100, 67, 34, 9}, {100, 84, 48, 45}},
    {200, {200, 134, 68, 18}, {200, 170, 98, 95}},
};

} // namespace zuk::test
