#pragma once

#include <QtGlobal>

#include <array>

namespace zuk {

// Number of entries in one row of the pattern table.
inline constexpr int kPatternLength = 100;

using PatternRow = std::array<quint8, kPatternLength>;
// One row per source gray 0..255; every entry is 0 (no value) or a dot value 64, 128, 192, 255.
using PatternTable = std::array<PatternRow, 256>;
using PatternPositions = std::array<quint8, 256>;

// The fixed permutation of the 100 pattern positions in which the middle rows of the pattern
// table are filled: entry 10a + b is kSpreadBase[b] + kSpreadOffset[a].
std::array<int, kPatternLength> spreadOrder();

// The finished pattern table, built from its fixed rows by the derivation rules.
PatternTable buildPatternTable();
// Where each gray's first lookup starts: falling from 57 at gray 0 to 0 at gray 57, rising to
// 99 at gray 156 and falling again to 0 at gray 255.
PatternPositions initialPatternPositions();

// The tables a conversion works with. The tone curves and the pattern table never change
// after start-up; the pattern positions are advanced by every combined conversion and are
// never reset, so they carry over from one picture to the next.
struct PictureTables {
    std::array<qint32, 256> simpleTone{};
    std::array<quint8, 256> combinedTone{};
    PatternTable pattern{};
    PatternPositions positions{};

    // The tone curves and the starting pattern positions (early in the main window's start-up).
    void buildToneTables();
    // The pattern table (at the end of the main window's start-up).
    void buildPatternTable();

    // The tables exactly as they stand after the program has started.
    static PictureTables afterStartUp();
};

} // namespace zuk
