#include "app/Settings.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

namespace zuk {

// Reading a hand-edited Zuk.ini never stops the program and never wraps a byte:
// - lines 1 and 6: exactly "Group" selects group mode, anything else (also a missing line)
//   individual mode;
// - level lines: characters 9 to 11 as a decimal number, clamped to 0..255; when they are not
//   a number (or the line is missing) the level takes the value a new file gets;
// - line 11: the whole line is the port name; an empty or missing line gives "com1";
// - lines 12 to 17 missing at the end of the file read as 0, and 0 takes the rule of its line
//   (field sides 1000, resolution 0, step time 12, edge dots 8, text mode);
// - lines 12 and 13: the leading integer of the line; below 1 gives 1000, above the largest
//   field side gives that side; no number at all gives the value a new file gets;
// - lines 14 to 17: the leading integer of the line; no number at all keeps the value the
//   program had (the start-up values: resolution 0, step time 12, edge dots 8, portrait);
//   the resolution index is read back as the dialog wrote it, -1 (no line) to 9 (the empty
//   tenth line), and one outside that range is ignored like no number; a step-time factor of
//   0 or less gives 12 and one above 255 gives 255, edge dots of 0 or less give 8, a
//   portrait value other than 0 gives portrait mode.

namespace {

const QString kGroup = QStringLiteral("Group");
const QString kIndividual = QStringLiteral("Ind  ");
const std::array<QString, 4> kLevelKeys = {QStringLiteral("KnKHel4-"), QStringLiteral("KnKHel3-"),
                                           QStringLiteral("KnKHel2-"), QStringLiteral("KnKHel1-")};
// The value of a level line sits in characters 9 to 11, right after the eight-character key.
constexpr int kLevelValueStart = 8;
constexpr int kLevelValueLength = 3;

enum Line {
    FirstModeLine,
    FirstLevelsLine,
    SecondModeLine = FirstLevelsLine + 4,
    SecondLevelsLine,
    PortLine = SecondLevelsLine + 4,
    WidthLine,
    HeightLine,
    ResolutionLine,
    StepTimeLine,
    EdgeDotsLine,
    PortraitLine,
    LineCount,
};

QString modeLine(LevelMode mode) {
    return mode == LevelMode::Individual ? kIndividual : kGroup;
}

LevelMode modeFrom(const QString& line) {
    return line == kGroup ? LevelMode::Group : LevelMode::Individual;
}

std::array<quint8, 4> inFileOrder(const StrikeLevels& levels) {
    return {levels.level32, levels.level24, levels.level16, levels.level8};
}

void appendLevelLines(QStringList& lines, const StrikeLevels& levels) {
    const std::array<quint8, 4> values = inFileOrder(levels);
    for (std::size_t i = 0; i < values.size(); ++i)
        lines.append(kLevelKeys[i] + QString::number(values[i]));
}

// The integer at the start of a line (after blanks); the rest of the line does not count.
std::optional<int> leadingInteger(const QString& line) {
    const QString text = line.trimmed();
    qsizetype end = 0;
    if (end < text.size() && (text[end] == QLatin1Char('-') || text[end] == QLatin1Char('+')))
        ++end;
    while (end < text.size() && text[end].isDigit() && text[end].unicode() < 128)
        ++end;
    bool ok = false;
    const qint64 value = text.left(end).toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    // Far too large numbers still count as numbers; every caller limits them further.
    return static_cast<int>(std::clamp<qint64>(value, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}

std::optional<int> levelValue(const QString& line) {
    bool ok = false;
    const int value = line.mid(kLevelValueStart, kLevelValueLength).trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

quint8 levelFrom(const QString& line, quint8 fallback) {
    const std::optional<int> value = levelValue(line);
    if (!value)
        return fallback;
    return static_cast<quint8>(std::clamp(*value, 0, 255));
}

StrikeLevels levelsFrom(const QStringList& lines, int first) {
    const auto at = [&](int offset) { return lines.value(first + offset); };
    return {levelFrom(at(0), kDefaultStrikeLevels.level32),
            levelFrom(at(1), kDefaultStrikeLevels.level24),
            levelFrom(at(2), kDefaultStrikeLevels.level16),
            levelFrom(at(3), kDefaultStrikeLevels.level8)};
}

// A numeric line; one missing at the end of the file reads as 0.
std::optional<int> numberLine(const QStringList& lines, int line) {
    return line < lines.size() ? leadingInteger(lines[line]) : std::optional<int>(0);
}

int fieldSideFrom(const QStringList& lines, int line, int fallback) {
    const std::optional<int> value = numberLine(lines, line);
    if (!value)
        return fallback;
    if (*value < 1)
        return kFallbackFieldSide;
    return std::min(*value, kMaxFieldSide);
}

void applyPort(const QString& line, Settings& settings) {
    settings.portName = line.isEmpty() ? QStringLiteral("com1") : line;
    settings.checkedPort = portItemFor(settings.portName);
}

void applyNumbers(const QStringList& lines, Settings& settings, EngravingChoices& choices) {
    if (const auto value = numberLine(lines, ResolutionLine);
        value && *value >= kNoResolutionLine && *value <= kEmptyResolutionLine)
        choices.resolutionIndex = *value;
    if (const auto value = numberLine(lines, StepTimeLine)) {
        settings.stepTimeFactor =
            *value <= 0 ? kDefaultStepTimeFactor : static_cast<quint8>(std::min(*value, 255));
    }
    if (const auto value = numberLine(lines, EdgeDotsLine))
        choices.edgeDots = *value <= 0 ? kDefaultEdgeDots : *value;
    if (const auto value = numberLine(lines, PortraitLine))
        choices.portrait = *value != 0;
}

} // namespace

QStringList configurationLines(const Settings& settings, const EngravingChoices& choices) {
    const bool defaults = settings.writeDefaults;
    QStringList lines;
    lines.append(defaults ? kGroup : modeLine(choices.firstMode));
    appendLevelLines(lines, defaults ? kDefaultStrikeLevels : choices.first);
    lines.append(defaults ? kIndividual : modeLine(choices.secondMode));
    appendLevelLines(lines, defaults ? kDefaultStrikeLevels : choices.second);
    lines.append(defaults ? QStringLiteral("com1") : settings.portName);
    lines.append(QString::number(defaults ? kDefaultFieldWidth : settings.fieldWidth));
    lines.append(QString::number(defaults ? kDefaultFieldHeight : settings.fieldHeight));
    lines.append(QString::number(choices.resolutionIndex));
    lines.append(QString::number(settings.stepTimeFactor));
    lines.append(QString::number(choices.edgeDots));
    lines.append(choices.portrait ? QStringLiteral("1") : QStringLiteral("0"));
    Q_ASSERT(lines.size() == LineCount);
    return lines;
}

void applyConfigurationLines(const QStringList& lines, Settings& settings,
                             EngravingChoices& choices) {
    choices.firstMode = modeFrom(lines.value(FirstModeLine));
    choices.first = levelsFrom(lines, FirstLevelsLine);
    choices.secondMode = modeFrom(lines.value(SecondModeLine));
    choices.second = levelsFrom(lines, SecondLevelsLine);
    applyPort(lines.value(PortLine), settings);
    settings.fieldWidth = fieldSideFrom(lines, WidthLine, kDefaultFieldWidth);
    settings.fieldHeight = fieldSideFrom(lines, HeightLine, kDefaultFieldHeight);
    applyNumbers(lines, settings, choices);
}

ConfigurationLoad loadConfiguration(const ProgramDir& dir, Settings& settings,
                                    EngravingChoices& choices) {
    ConfigurationLoad load;
    const TextFile file = dir.readLines(kConfigurationFileName, LineCount);
    if (file.missing) {
        // The file gets the defaults; the controls keep their designed values and the port
        // stays the "com1" the new file names and the menu shows checked.
        load.wasMissing = true;
        settings.writeDefaults = true;
        settings.portName = QStringLiteral("com1");
        settings.checkedPort = 1;
        load.error = saveConfiguration(dir, settings, choices).error;
        return load;
    }
    if (!file.error.isEmpty()) {
        load.error = file.error;
        return load;
    }
    applyConfigurationLines(file.lines, settings, choices);
    return load;
}

FileResult saveConfiguration(const ProgramDir& dir, Settings& settings,
                             const EngravingChoices& choices) {
    if (settings.writeDefaults) {
        settings.fieldWidth = kDefaultFieldWidth;
        settings.fieldHeight = kDefaultFieldHeight;
    }
    return dir.writeLines(kConfigurationFileName, configurationLines(settings, choices),
                          WriteMode::Replace);
}

int portItemFor(const QString& portName) {
    for (int item = 1; item <= kPortItemCount; ++item) {
        if (portName == QStringLiteral("com%1").arg(item))
            return item;
    }
    return 0;
}

void choosePort(Settings& settings, int item) {
    if (item < 1 || item > kPortItemCount)
        return;
    settings.portName = QStringLiteral("com%1").arg(item);
    settings.checkedPort = item;
}

} // namespace zuk
