#include "simulator/Plate.h"

namespace zuk::sim {

bool Plate::strike(const Strike& strike) {
    strikes_.push_back(strike);
    ++counts_[{strike.pass, strike.level}];
    return struckInPass_.insert({strike.pass, strike.column, strike.rowSteps}).second;
}

std::vector<Strike> Plate::strikesAt(qint32 column, qint32 rowSteps) const {
    std::vector<Strike> found;
    for (const Strike& strike : strikes_)
        if (strike.column == column && strike.rowSteps == rowSteps)
            found.push_back(strike);
    return found;
}

} // namespace zuk::sim
