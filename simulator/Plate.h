#pragma once

#include <QtGlobal>

#include <map>
#include <set>
#include <tuple>
#include <vector>

namespace zuk::sim {

// One dot struck into the plate.
struct Strike {
    qint32 column = 0;
    qint32 rowSteps = 0; // motor steps; one picture row is two steps
    int level = 0;       // level code 1..4 from the print line
    int force = 0;       // the force the loaded profile gives that level
    int pass = 0;        // "Begin print" commands since power-on; 0 = outside a job
    bool operator==(const Strike&) const = default;
};

// The engraved plate: every strike in the order struck. The plate is physical: it survives a
// power failure of the device.
class Plate {
public:
    // Records the strike; false when the same cell was already struck in the same pass.
    bool strike(const Strike& strike);

    const std::vector<Strike>& strikes() const { return strikes_; }
    // Strikes per (pass, level).
    const std::map<std::pair<int, int>, int>& countsByPassAndLevel() const { return counts_; }
    // The strikes that hit one cell, in order.
    std::vector<Strike> strikesAt(qint32 column, qint32 rowSteps) const;

private:
    std::vector<Strike> strikes_;
    std::set<std::tuple<int, qint32, qint32>> struckInPass_;
    std::map<std::pair<int, int>, int> counts_;
};

} // namespace zuk::sim
