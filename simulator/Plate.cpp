#include "simulator/Plate.h"

namespace zuk::sim {

size_t Plate::TileKeyHash::operator()(const TileKey& key) const {
    const quint64 packed = (quint64(quint32(key.column)) << 32 | quint32(key.rowSteps)) ^
                           (quint64(quint32(key.pass)) * 0x9E3779B97F4A7C15ull);
    return std::hash<quint64>{}(packed * 0xBF58476D1CE4E5B9ull);
}

bool Plate::markStruck(const Strike& strike) {
    // Arithmetic shifts: cells left of or above the origin get tiles of their own.
    const TileKey key{strike.pass, strike.column >> kTileShift, strike.rowSteps >> kTileShift};
    if (!last_.tile || !(key == last_.key)) {
        last_.tile = &struck_[key];
        last_.key = key;
    }
    const int mask = (1 << kTileShift) - 1;
    quint64& word = (*last_.tile)[strike.rowSteps & mask];
    const quint64 bit = quint64(1) << (strike.column & mask);
    const bool fresh = (word & bit) == 0;
    word |= bit;
    return fresh;
}

bool Plate::strike(const Strike& strike) {
    strikes_.push_back(strike);
    ++counts_[{strike.pass, strike.level}];
    return markStruck(strike);
}

std::vector<Strike> Plate::strikesAt(qint32 column, qint32 rowSteps) const {
    std::vector<Strike> found;
    for (const Strike& strike : strikes_)
        if (strike.column == column && strike.rowSteps == rowSteps)
            found.push_back(strike);
    return found;
}

} // namespace zuk::sim
