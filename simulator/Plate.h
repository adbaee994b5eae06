#pragma once

#include <QtGlobal>

#include <array>
#include <map>
#include <unordered_map>
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
    // Which cells a pass has struck, in tiles of 64 columns by 64 row steps, one bit a cell:
    // a whole field's job strikes millions of cells, mostly next to the one before.
    static constexpr int kTileShift = 6;
    struct TileKey {
        int pass;
        qint32 column;
        qint32 rowSteps;
        bool operator==(const TileKey&) const = default;
    };
    struct TileKeyHash {
        size_t operator()(const TileKey& key) const;
    };
    using Tile = std::array<quint64, 1 << kTileShift>;

    // Marks the cell struck in its pass; false when it was already.
    bool markStruck(const Strike& strike);

    std::vector<Strike> strikes_;
    std::unordered_map<TileKey, Tile, TileKeyHash> struck_;
    // The tile of the last strike, which the next one almost always shares. A copied or
    // moved plate looks its tiles up afresh.
    struct LastTile {
        TileKey key{};
        Tile* tile = nullptr;
        LastTile() = default;
        LastTile(const LastTile&) {}
        LastTile& operator=(const LastTile& other) {
            if (this != &other) {
                key = {};
                tile = nullptr;
            }
            return *this;
        }
    };
    LastTile last_;
    std::map<std::pair<int, int>, int> counts_;
};

} // namespace zuk::sim
