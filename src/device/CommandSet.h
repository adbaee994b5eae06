#pragma once

#include "app/StrikeLevels.h"
#include "device/CommandExchange.h"

#include <QString>

#include <array>
#include <optional>

namespace zuk {

// The head's position as the plan counts it: row and column of the working field.
struct PlanPosition {
    qint32 row = 0;
    qint32 column = 0;
};

// The device's commands. Each one sets the current command (bytes, name, end time-out),
// sends it and waits as the device expects; while the link is down every command but the
// greeting and "Begin print" returns at once without sending. The values the commands keep
// (motor settings, link delay, strike profile timings, plan position) live here.
class CommandSet {
public:
    static constexpr int kMaxMoveSteps = 65535;
    static constexpr int kMaxPrintDots = 65535;
    // Motor driver parameters.
    static constexpr quint8 kResolutionParameter = 0x60;
    static constexpr quint8 kStepTimeParameter = 0x61;
    // Strike timing settings and the values job start sends.
    static constexpr quint8 kStrikeU = 0x55;
    static constexpr quint8 kStrikeT = 0x54;
    static constexpr quint8 kJobStrikeT = 46;
    static constexpr quint8 kJobStrikeU = 64;

    enum class Direction { Backward, Forward }; // right to left (1B 20), left to right (1B 21)

    explicit CommandSet(CommandExchange& exchange) : exchange_(exchange) {}

    // --- The command table ---
    void greeting() { exchange_.greeting(); }
    // Resets the device and brings the head home; plan position (0, 0).
    void resetError(int fieldWidth, int fieldHeight);
    // Moves of n steps. A count of 0 or less sends nothing; a count above 65535 goes out as
    // several commands, so it can never wrap into a wrong 16-bit count.
    void stepUp(qint64 steps);
    void stepDown(qint64 steps);
    void left(qint64 columns);
    void right(qint64 columns);
    void needleUp();
    void needleDown(quint8 mode);
    // Device off; the sequence number steps back after it.
    void off();
    // The warm-up stroke of the head.
    void warmUpStroke();
    bool progXMotor(quint8 parameter, quint8 value);
    bool progYMotor(quint8 parameter, quint8 value);
    // Loads the strike profile of the four levels; the device takes them in the order
    // "8", "16", "24", "32".
    void setStrike(const StrikeLevels& levels);
    void strikeSetting(quint8 key, quint8 value);
    // The position the device reached; false when the device stopped answering.
    bool how();
    void monitor(bool showRealPosition);
    void beginPrint();
    void endPrint();
    // One print line of strike digits ('0'..'9'); false when nothing could be sent.
    bool printLine(Direction direction, const QString& digits);
    // One byte of the device's memory, or -1 when none came.
    int readMemory(quint8 address);

    // --- Composite operations ---
    bool setStepTime(quint8 value);
    bool setResolutionSteps(int resolutionIndex);
    void measureLinkTiming();
    QString deviceText();

    // --- Values kept ---
    quint8 stepTimeFactor = 12;
    quint8 motorParameter60 = 1;
    qint32 linkDelayMs = 400;
    qint32 strikeU = 32;
    qint32 strikeT = 23;
    qint32 stepDuration = 0;
    std::array<qint32, 4> strikeDurations{};
    PlanPosition position;
    // The head may stand anywhere (a resumption that did not go ahead): the plan position is
    // not to be trusted until the next homing.
    bool headPositionUnknown = false;
    quint16 reportedRow = 0;    // "How": Y
    quint16 reportedColumn = 0; // "How": X
    // What "Monitor" last showed in RealPosYEdit and RealPosXEdit; nothing before it did.
    std::optional<PlanPosition> shownRealPosition;

    CommandExchange& exchange() { return exchange_; }

    // End time-outs of the moves, in milliseconds.
    qint32 verticalMoveTimeout(qint64 steps) const;
    qint32 horizontalMoveTimeout(qint64 steps) const;

private:
    void move(quint8 code, qint64 steps, const QString& name, bool vertical);
    void shortCommand(std::array<quint8, 4> bytes, const QString& name, qint32 timeoutMs);
    bool programMotor(quint8 code, const QString& name, const QString& silentMessage,
                      quint8 parameter, quint8 value);
    bool completionAskedFor(quint8& answer);
    bool readHowData(std::array<quint8, 4>& data);
    bool readByteWithin(quint8& byte, int attempts);
    bool writeByteWithin(quint8 byte, int attempts);

    CommandExchange& exchange_;
};

// The 32 bytes of a strike profile and the durations the device needs for them.
struct StrikeProfile {
    std::array<quint8, 32> bytes{};
    qint32 stepDuration = 0;
    std::array<qint32, 4> strikeDurations{};
    bool clamped = false; // some byte had to be limited to 0..255
};

StrikeProfile computeStrikeProfile(const StrikeLevels& levels, quint8 stepTimeFactor,
                                   quint8 motorParameter60, qint32 strikeU, qint32 strikeT);

// Packs strike digits two per byte, first digit in the high nibble, padded with "0" to a
// multiple of eight digits.
QByteArray packPrintDigits(const QString& digits);

} // namespace zuk
