// What the engraver does with a confirmed frame: the machine side of every command.
#include "simulator/Engraver.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace zuk::sim {

namespace {

constexpr quint8 kDataTaken = 0x60;
constexpr quint8 kReportAck = 0x0A;
constexpr int kProfileFrames = StrikeProfile::kBytes / 4;

quint8 hiByte(qint32 value) {
    return static_cast<quint8>((value >> 8) & 0xFF);
}
quint8 loByte(qint32 value) {
    return static_cast<quint8>(value & 0xFF);
}

} // namespace

void Engraver::startFrame(const PendingFrame& frame, qint64 t) {
    switch (frame.role) {
    case FrameRole::Command:
        ++commandsCarriedOut_;
        ++counters_.commands[static_cast<int>(frame.command.kind)];
        if (const QString problem = operandProblem(frame.command); !problem.isEmpty())
            violation(problem);
        startCommand(frame.command, t);
        break;
    case FrameRole::PrintData:
        takePrintData(frame.command.bytes, t);
        break;
    case FrameRole::ProfileData:
        takeProfileData(frame.command.bytes, t);
        break;
    case FrameRole::StrayData: {
        // Answered like a data frame so that the host keeps its count; it is already recorded.
        ++counters_.dataFrames;
        Work work;
        work.answerKind = kDataTaken;
        startWork(std::move(work), timing::kShortUs, t);
        break;
    }
    }
}

void Engraver::startShort(qint64 t, std::function<void()> effects,
                          std::function<void(qint64)> afterAnswer) {
    Work work;
    work.effects = std::move(effects);
    work.afterAnswer = std::move(afterAnswer);
    startWork(std::move(work), timing::kShortUs, t);
}

void Engraver::startCommand(const DeviceCommand& command, qint64 t) {
    MachineState& m = machine_;
    const quint8 a = command.bytes[2];
    const quint8 v = command.bytes[3];
    switch (command.kind) {
    case CommandKind::Reset: {
        Work work;
        work.holdable = false;
        work.effects = [&m] {
            m.head = {};
            m.needleDown = false;
            m.motorsOn = true;
        };
        startWork(std::move(work), timing::homingUs(m.head), t);
        break;
    }
    case CommandKind::StepUp:
    case CommandKind::StepDown:
    case CommandKind::Left:
    case CommandKind::Right:
        startMove(command, t);
        break;
    case CommandKind::NeedleUp:
    case CommandKind::NeedleDown: {
        Work work;
        const bool down = command.kind == CommandKind::NeedleDown;
        work.effects = [&m, down] { m.needleDown = down; };
        startWork(std::move(work), timing::kNeedleUs, t);
        break;
    }
    case CommandKind::Off: {
        Work work;
        work.advances = false;
        work.effects = [&m] {
            m.needleDown = false;
            m.motorsOn = false;
        };
        startWork(std::move(work), timing::kOffUs, t);
        break;
    }
    case CommandKind::WarmUp: {
        // The stroke swings the needle: lowered, it pits the plate where the head stands.
        if (m.needleDown)
            violation(QStringLiteral("a warm-up stroke with the needle down strikes the plate"));
        Work work;
        work.holdable = false;
        startWork(std::move(work), timing::kWarmUpUs, t);
        break;
    }
    case CommandKind::ProgramX:
    case CommandKind::ProgramY: {
        MotorDriver& driver = command.kind == CommandKind::ProgramX ? m.driverX : m.driverY;
        Work work;
        work.holdable = false;
        work.effects = [&driver, a, v] {
            if (a == 0x60)
                driver.timing = v;
            else if (a == 0x61)
                driver.stepFactor = v;
        };
        startWork(std::move(work), timing::kShortUs, t);
        break;
    }
    case CommandKind::StrikeTiming:
        startShort(t, [&m, a, v] {
            if (a == 'U')
                m.strikeU = v;
            else if (a == 'T')
                m.strikeT = v;
        });
        break;
    case CommandKind::SetStrike:
        startShort(t, {}, [this](qint64) { profileLoad_ = QByteArray(); });
        break;
    case CommandKind::How:
        startShort(t, {}, [this](qint64 at) {
            std::vector<quint8> bytes = positionReport();
            bytes.push_back(bytes[0] ^ bytes[1] ^ bytes[2] ^ bytes[3]);
            beginExchange(std::move(bytes), true, at);
        });
        break;
    case CommandKind::Monitor:
        startShort(t, {}, [this](qint64 at) { beginExchange(positionReport(), false, at); });
        break;
    case CommandKind::BeginPrint:
        startShort(t, [&m] { ++m.passNumber; });
        break;
    case CommandKind::PrintBackward:
    case CommandKind::PrintForward:
        startShort(t, {}, [this, command](qint64 at) { beginPrintLine(command, at); });
        break;
    case CommandKind::ReadMemory:
        // The memory byte goes out first, the completion right behind it.
        startShort(t, [this, a] { sendAnswer(machine_.memory[a], work_->doneAt); });
        break;
    case CommandKind::Greeting:
    case CommandKind::EndPrint:
    case CommandKind::Unknown:
        startShort(t);
        break;
    }
}

void Engraver::startMove(const DeviceCommand& command, qint64 t) {
    if (command.word() == 0xFFFF)
        violation(QStringLiteral("%1 with the count FFFF: a move of 0 steps wrapped to 65536")
                      .arg(commandName(command.kind)));
    const int steps = command.moveSteps();
    const bool rows = command.kind == CommandKind::StepUp || command.kind == CommandKind::StepDown;
    const int sign =
        (command.kind == CommandKind::StepUp || command.kind == CommandKind::Left) ? 1 : -1;
    MachineState& m = machine_;
    Work work;
    work.holdable = false;
    work.effects = [&m, rows, sign, steps] {
        (rows ? m.head.rowSteps : m.head.column) += sign * steps;
        m.motorsOn = true;
    };
    startWork(std::move(work), timing::moveUs(rows ? m.driverY : m.driverX, steps), t);
}

// --- Reports: "How" and "Monitor" ---

std::vector<quint8> Engraver::positionReport() const {
    const HeadPosition& head = machine_.head;
    return {hiByte(head.rowSteps), loByte(head.rowSteps), hiByte(head.column), loByte(head.column)};
}

void Engraver::beginExchange(std::vector<quint8> bytes, bool echoed, qint64 t) {
    exchange_ = Exchange{std::move(bytes), echoed, 0, {}};
    phase_ = Phase::Exchange;
    sendExchangeByte(t + timing::kAnswerLatencyMs);
}

void Engraver::sendExchangeByte(qint64 due) {
    Exchange& exchange = *exchange_;
    const quint8 byte = exchange.bytes[static_cast<size_t>(exchange.index)];
    exchange.delivered.push_back(sendAnswer(byte, due).value_or(byte));
}

void Engraver::onExchangeReply(quint8 byte, qint64 t) {
    Exchange& exchange = *exchange_;
    const size_t index = static_cast<size_t>(exchange.index);
    bool fits = byte == kReportAck;
    if (exchange.echoed) {
        // The fifth byte of "How" is answered with the fourth one again, or with itself.
        fits = byte == exchange.delivered[index] || (index == 4 && byte == exchange.delivered[3]);
    }
    if (!fits) {
        violation(QStringLiteral("reply %1 to report byte %2 where %3 belongs")
                      .arg(hexByte(byte))
                      .arg(index + 1)
                      .arg(hexByte(exchange.echoed ? exchange.delivered[index] : kReportAck)));
        exchange_.reset();
        phase_ = Phase::Idle;
        assemble(byte, t);
        return;
    }
    if (++exchange.index < static_cast<int>(exchange.bytes.size())) {
        sendExchangeByte(t + timing::kAnswerLatencyMs);
        return;
    }
    exchange_.reset();
    startShort(t);
}

// --- Print lines ---

void Engraver::beginPrintLine(const DeviceCommand& command, qint64 t) {
    PrintContext line;
    line.forward = command.kind == CommandKind::PrintForward;
    line.dots = command.word();
    line.framesExpected = (line.dots + 7) / 8;
    print_ = std::move(line);
    if (print_->framesExpected == 0)
        startEngraving(t);
}

void Engraver::takePrintData(const FrameBytes& bytes, qint64 t) {
    ++counters_.dataFrames;
    PrintContext& line = *print_;
    for (quint8 byte : bytes) {
        line.codes.append(static_cast<char>(byte >> 4));
        line.codes.append(static_cast<char>(byte & 0x0F));
    }
    const bool last = ++line.framesTaken == line.framesExpected;
    Work work;
    work.answerKind = kDataTaken;
    if (last)
        work.afterAnswer = [this](qint64 at) { startEngraving(at); };
    startWork(std::move(work), timing::kShortUs, t);
}

std::vector<qint64> Engraver::dotDurationsUs(const PrintContext& line) const {
    std::vector<qint64> durations;
    durations.reserve(static_cast<size_t>(line.dots));
    for (int i = 0; i < line.dots; ++i)
        durations.push_back(timing::dotUs(machine_, line.codes.at(i)));
    const qint64 total = std::accumulate(durations.begin(), durations.end(), qint64(0));
    if (total > timing::kLineLimitUs)
        for (qint64& d : durations)
            d = d * timing::kLineLimitUs / total;
    return durations;
}

void Engraver::startEngraving(qint64 t) {
    const PrintContext line = std::move(*print_);
    print_.reset();
    for (int i = line.dots; i < line.codes.size(); ++i) {
        if (line.codes.at(i) != 0) {
            violation(QStringLiteral("print data past the line's %1 dots").arg(line.dots));
            break;
        }
    }
    const std::vector<qint64> durations = dotDurationsUs(line);
    const FaultPlan& faults = options_.faults;
    Work work;
    if (faults.losesPower() && !powerLossUsed_ &&
        counters_.printLines == faults.powerLossAfterPrintLines) {
        powerLossUsed_ = true;
        const int dots = std::clamp(faults.powerLossAfterDots, 0, line.dots);
        work.answers = false;
        work.effects = [this, line, dots] {
            engrave(line, dots);
            powerFail(work_->doneAt);
        };
        startWork(std::move(work),
                  std::accumulate(durations.begin(), durations.begin() + dots, qint64(0)), t);
        return;
    }
    work.effects = [this, line] {
        engrave(line, line.dots);
        ++counters_.printLines;
    };
    startWork(std::move(work), std::accumulate(durations.begin(), durations.end(), qint64(0)), t);
}

void Engraver::engrave(const PrintContext& line, int dots) {
    MachineState& m = machine_;
    const qint32 start = m.head.column;
    bool warnedProfile = false;
    bool warnedNeedle = false;
    bool warnedCode = false;
    for (int i = 0; i < dots; ++i) {
        const int code = static_cast<unsigned char>(line.codes.at(i));
        if (code == 0)
            continue;
        if (code > StrikeProfile::kLevels) {
            if (!std::exchange(warnedCode, true))
                violation(QStringLiteral("dot code %1 has no strike level").arg(code));
            continue;
        }
        if (!m.profile.loaded() && !std::exchange(warnedProfile, true))
            violation(QStringLiteral("strike without a loaded strike profile"));
        if (!m.needleDown && !std::exchange(warnedNeedle, true))
            violation(QStringLiteral("print line struck with the needle raised"));
        // Left to right the needle strikes the cell under the head and steps on; right to
        // left it steps first, so a line ending at column c is struck back from column c - 1.
        const Strike strike{line.forward ? start + i : start - 1 - i, m.head.rowSteps, code,
                            m.profile.force(code - 1), m.passNumber};
        if (!plate_.strike(strike))
            violation(QStringLiteral("cell column %1, row step %2 struck twice in pass %3")
                          .arg(strike.column)
                          .arg(strike.rowSteps)
                          .arg(strike.pass));
    }
    m.head.column = line.forward ? start + dots : start - dots;
}

// --- Strike profile ---

void Engraver::takeProfileData(const FrameBytes& bytes, qint64 t) {
    ++counters_.profileFrames;
    profileLoad_->append(reinterpret_cast<const char*>(bytes.data()), 4);
    std::function<void(qint64)> after;
    if (profileLoad_->size() == kProfileFrames * 4) {
        after = [this](qint64) {
            machine_.profile.load(*profileLoad_);
            profileLoad_.reset();
            for (int level = 0; level < StrikeProfile::kLevels; ++level)
                if (const QString problem = machine_.profile.levelProblem(level);
                    !problem.isEmpty())
                    violation(problem);
        };
    }
    startShort(t, {}, std::move(after));
}

} // namespace zuk::sim
