#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

namespace zuk::sim {

// The engraver's own reading of a command frame. This is the device's table, written from the
// wire description and kept apart from the program's command code on purpose: the two ends
// must disagree loudly when one of them is wrong.
enum class CommandKind {
    Greeting,      // 1B 01 00 00
    Reset,         // 1B 00 00 00: home the head
    StepUp,        // 1B 10 hi lo: n - 1 motor steps up (row count grows)
    StepDown,      // 1B 11 hi lo
    Left,          // 1B 12 hi lo: n - 1 columns (column count grows)
    Right,         // 1B 13 hi lo
    NeedleUp,      // 1B FF 01 01
    NeedleDown,    // 1B FE m m, m = 0 or 1
    Off,           // 1B FD 01 01
    WarmUp,        // 1B 03 01 01
    ProgramX,      // 1B 40 p v
    ProgramY,      // 1B 41 p v
    SetStrike,     // 1B 44 01 01, then eight profile frames
    StrikeTiming,  // 1B A5 k v, k = 'U' or 'T'
    How,           // 1B 36 00 00
    Monitor,       // 1B 30 00 00
    BeginPrint,    // 1B 37 00 00
    EndPrint,      // 1B 39 00 00
    PrintBackward, // 1B 20 hi lo: n dots right to left
    PrintForward,  // 1B 21 hi lo: n dots left to right
    ReadMemory,    // 1B 58 a 00
    Unknown,
};
inline constexpr int kCommandKindCount = static_cast<int>(CommandKind::Unknown) + 1;

using FrameBytes = std::array<quint8, 4>;

struct DeviceCommand {
    CommandKind kind = CommandKind::Unknown;
    FrameBytes bytes{};

    // The 16-bit word of bytes 3 and 4, high byte first.
    int word() const { return bytes[2] * 256 + bytes[3]; }
    // Steps of a move: the word carries n - 1.
    int moveSteps() const { return word() + 1; }
    bool isMove() const;
    bool isPrintLine() const {
        return kind == CommandKind::PrintBackward || kind == CommandKind::PrintForward;
    }
    // Moves, homing and the warm-up stroke: the host reads on until the completion arrives and
    // never sends a resynchronisation burst while it waits.
    bool hostWaitsWithoutBurst() const;
};

inline constexpr quint8 kCommandLead = 0x1B;

DeviceCommand decodeCommand(const FrameBytes& bytes);
// The name used in counters and reports ("StepUp", "PrintLine forward", ...).
QString commandName(CommandKind kind);
// Empty when the operands fit the command; otherwise what is wrong with them.
QString operandProblem(const DeviceCommand& command);

// A print-line data frame packs two dot codes 0..9 per byte; a profile frame holds two
// (phase code, count) pairs with the phase codes 01, 05, 07 or 08.
bool isPrintData(const FrameBytes& bytes);
bool isProfileData(const FrameBytes& bytes);
bool isPhaseCode(quint8 byte);

// "1B", "1B 01 00 00": bytes as the reports and violation texts show them.
QString hexByte(int byte);
QString hexBytes(const QByteArray& bytes);

} // namespace zuk::sim
