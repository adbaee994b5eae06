#include "simulator/DeviceCommands.h"

namespace zuk::sim {

namespace {

struct TableEntry {
    quint8 code;
    CommandKind kind;
    const char* name;
    // Operands that must be exactly these bytes; -1 leaves the operand free.
    int operand3;
    int operand4;
};

constexpr TableEntry kTable[] = {
    {0x01, CommandKind::Greeting, "Hi", 0x00, 0x00},
    {0x00, CommandKind::Reset, "Reset eror", 0x00, 0x00},
    {0x10, CommandKind::StepUp, "StepUp", -1, -1},
    {0x11, CommandKind::StepDown, "StepDown", -1, -1},
    {0x12, CommandKind::Left, "Left", -1, -1},
    {0x13, CommandKind::Right, "Right", -1, -1},
    {0xFF, CommandKind::NeedleUp, "Up", 0x01, 0x01},
    {0xFE, CommandKind::NeedleDown, "Put", -1, -1},
    {0xFD, CommandKind::Off, "Off", 0x01, 0x01},
    {0x03, CommandKind::WarmUp, "Warm-up stroke", 0x01, 0x01},
    {0x40, CommandKind::ProgramX, "ProgX_Motor", -1, -1},
    {0x41, CommandKind::ProgramY, "ProgY_Motor", -1, -1},
    {0x44, CommandKind::SetStrike, "SetStrike", 0x01, 0x01},
    {0xA5, CommandKind::StrikeTiming, "Strike timing", -1, -1},
    {0x36, CommandKind::How, "How", 0x00, 0x00},
    {0x30, CommandKind::Monitor, "Monitor", 0x00, 0x00},
    {0x37, CommandKind::BeginPrint, "Begin print", 0x00, 0x00},
    {0x39, CommandKind::EndPrint, "EndPrint", 0x00, 0x00},
    {0x20, CommandKind::PrintBackward, "PrintLine backward", -1, -1},
    {0x21, CommandKind::PrintForward, "PrintLine forward", -1, -1},
    {0x58, CommandKind::ReadMemory, "R.E.", -1, 0x00},
};

const TableEntry* entryFor(CommandKind kind) {
    for (const TableEntry& entry : kTable)
        if (entry.kind == kind)
            return &entry;
    return nullptr;
}

} // namespace

bool DeviceCommand::isMove() const {
    return kind == CommandKind::StepUp || kind == CommandKind::StepDown ||
           kind == CommandKind::Left || kind == CommandKind::Right;
}

bool DeviceCommand::hostWaitsWithoutBurst() const {
    return isMove() || kind == CommandKind::Reset || kind == CommandKind::WarmUp ||
           kind == CommandKind::ProgramX || kind == CommandKind::ProgramY;
}

DeviceCommand decodeCommand(const FrameBytes& bytes) {
    DeviceCommand command;
    command.bytes = bytes;
    if (bytes[0] != kCommandLead)
        return command;
    for (const TableEntry& entry : kTable) {
        if (entry.code == bytes[1]) {
            command.kind = entry.kind;
            break;
        }
    }
    return command;
}

QString commandName(CommandKind kind) {
    if (const TableEntry* entry = entryFor(kind))
        return QString::fromLatin1(entry->name);
    return QStringLiteral("Unknown");
}

QString operandProblem(const DeviceCommand& command) {
    const TableEntry* entry = entryFor(command.kind);
    if (!entry)
        return QStringLiteral("unknown command 1B %1").arg(hexByte(command.bytes[1]));
    const quint8 a = command.bytes[2];
    const quint8 b = command.bytes[3];
    if ((entry->operand3 >= 0 && a != entry->operand3) ||
        (entry->operand4 >= 0 && b != entry->operand4))
        return QStringLiteral("%1 with operands %2 %3")
            .arg(commandName(command.kind), hexByte(a), hexByte(b));
    switch (command.kind) {
    case CommandKind::NeedleDown:
        if (a != b || a > 1)
            return QStringLiteral("Put with operands %1 %2 (expected 00 00 or 01 01)")
                .arg(hexByte(a), hexByte(b));
        break;
    case CommandKind::ProgramX:
    case CommandKind::ProgramY:
        if (a != 0x60 && a != 0x61)
            return QStringLiteral("%1 of the unknown motor parameter %2")
                .arg(commandName(command.kind), hexByte(a));
        break;
    case CommandKind::StrikeTiming:
        if (a != 'U' && a != 'T')
            return QStringLiteral("strike timing of the unknown setting %1").arg(hexByte(a));
        break;
    default:
        break;
    }
    return {};
}

bool isPhaseCode(quint8 byte) {
    return byte == 0x01 || byte == 0x05 || byte == 0x07 || byte == 0x08;
}

bool isPrintData(const FrameBytes& bytes) {
    for (quint8 byte : bytes)
        if ((byte >> 4) > 9 || (byte & 0x0F) > 9)
            return false;
    return true;
}

bool isProfileData(const FrameBytes& bytes) {
    return isPhaseCode(bytes[0]) && isPhaseCode(bytes[2]);
}

QString hexByte(int byte) {
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

QString hexBytes(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

} // namespace zuk::sim
