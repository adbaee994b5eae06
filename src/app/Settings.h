#pragma once

#include "app/ProgramDir.h"
#include "plan/EngravingChoices.h"

#include <QString>
#include <QStringList>

namespace zuk {

inline const QString kConfigurationFileName = QStringLiteral("Zuk.ini");

inline constexpr StrikeLevels kDefaultStrikeLevels{14, 10, 5, 2};
inline constexpr int kDefaultFieldWidth = 1930;
inline constexpr int kDefaultFieldHeight = 2330;
// A width or height below 1 in the file becomes this.
inline constexpr int kFallbackFieldSide = 1000;
// The largest width or height taken from the file: a working-field bitmap of this size still
// fits in memory, and its rows and columns fit the device's 16-bit moves.
inline constexpr int kMaxFieldSide = 10000;
inline constexpr int kResolutionIndexCount = 9;
// The lowest and highest resolution index the placement dialog gives: no line selected, and
// the empty tenth line. The motors are given 16 + r for these too.
inline constexpr int kNoResolutionLine = -1;
inline constexpr int kEmptyResolutionLine = kResolutionIndexCount;
inline constexpr quint8 kDefaultStepTimeFactor = 12;
inline constexpr int kPortItemCount = 8;

// The program's own settings kept in Zuk.ini beside the lasting part of the operator's
// engraving choices (forces, level-setting modes, density line, edge dots, portrait). A
// default-constructed value holds what the program has before the file is read: port "com1"
// with "Com1" checked, the default field and the start-up step-time factor.
struct Settings {
    // The configured port name, opened at start-up and written back on save.
    QString portName = QStringLiteral("com1");
    // Which of the menu items "Com1" to "Com8" is checked (1 to 8), 0 when none is.
    int checkedPort = 1;

    // Size of the working-field bitmap in pixels.
    int fieldWidth = kDefaultFieldWidth;
    int fieldHeight = kDefaultFieldHeight;

    quint8 stepTimeFactor = kDefaultStepTimeFactor;

    // Set when Zuk.ini was missing at start-up. While it is set, every save writes the
    // default lines 1 to 13 and resets the field size to the default; the job start clears
    // it before its save.
    bool writeDefaults = false;
};

// The outcome of reading Zuk.ini at start-up.
struct ConfigurationLoad {
    // The file did not exist and was written with the defaults.
    bool wasMissing = false;
    // Empty when the file was read (or, when missing, written) without fault.
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// Start-up: reads Zuk.ini into `settings` and `choices`. When the file does not exist, sets
// the write-defaults flag and saves, so the file gets the defaults while `choices` keeps its
// levels and modes. A file that exists but cannot be read changes nothing.
ConfigurationLoad loadConfiguration(const ProgramDir& dir, Settings& settings,
                                    EngravingChoices& choices);

// Rewrites Zuk.ini from `settings` and `choices` (lines 1 to 13 from the defaults while the
// write-defaults flag is set, which also resets the field size in `settings`).
FileResult saveConfiguration(const ProgramDir& dir, Settings& settings,
                             const EngravingChoices& choices);

// The 17 lines of the file, honouring the write-defaults flag: lines 1 to 10 the forces and
// modes of `choices`, 11 to 13 and 15 `settings`, 14, 16 and 17 the density line, the edge
// dots and the portrait mode of `choices`.
QStringList configurationLines(const Settings& settings, const EngravingChoices& choices);
// Applies the lines of a file, in line order; lines missing at the end count as empty.
void applyConfigurationLines(const QStringList& lines, Settings& settings,
                             EngravingChoices& choices);

// The menu item (1 to 8) of a port name "com1" to "com8", else 0.
int portItemFor(const QString& portName);
// The port menu's choice of item 1 to 8: port name "com<n>" and only that item checked.
void choosePort(Settings& settings, int item);

} // namespace zuk
