#pragma once

#include <QtGlobal>

namespace zuk {

// The strike forces of one pass, one byte for each brightness level. The levels "32" to "8"
// are the strike codes 4 to 1 of the engraving plan.
struct StrikeLevels {
    quint8 level32 = 0;
    quint8 level24 = 0;
    quint8 level16 = 0;
    quint8 level8 = 0;

    bool operator==(const StrikeLevels&) const = default;
};

} // namespace zuk
