// The host's exchange against a device that answers anything: the input is a short sequence
// of commands and then the stream of the device's answers (bytes and silences), played on
// virtual time. Every command ends within its bounds (no read loop outlives the input by
// more than the time-outs of a silent device), a command that finds the link down sends
// nothing, and a link lost is always told to the operator.
#include "fuzz/support/FuzzSupport.h"

#include "app/Clock.h"
#include "app/MenuStates.h"
#include "app/Texts.h"
#include "device/CommandSet.h"
#include "support/RecordingScreen.h"

namespace zuk::fuzz {
namespace {

// What a device without any fault of the line could need at most per command once the input
// is used up: a move's whole end time-out of silence, the bursts of a few waits, the data
// reads of "How".
constexpr qint64 kSilentReadsPerCommand = 2000;

// The device's side: each answer is the next byte of the input unless the mask in front of
// every eight answers makes it a silence; once the input is used up, silence for ever.
class AnswerStream final : public ByteTransport {
public:
    AnswerStream(FuzzInput& input, VirtualClock& clock, qint64 failWritesFrom)
        : input_(input), clock_(clock), failWritesFrom_(failWritesFrom) {}

    bool setParity(Parity) override { return true; }
    bool writeByte(quint8) override {
        ++writes;
        return failWritesFrom_ <= 0 || writes < failWritesFrom_;
    }
    std::optional<quint8> readByte(int timeoutMs) override {
        ++reads;
        if (slot_ % 8 == 0)
            mask_ = input_.byte();
        const bool silent = input_.empty() || (mask_ >> (slot_++ % 8) & 1) != 0;
        if (silent) {
            clock_.advance(timeoutMs);
            return std::nullopt;
        }
        clock_.advance(2);
        return input_.byte();
    }

    qint64 reads = 0;
    qint64 writes = 0;

private:
    FuzzInput& input_;
    VirtualClock& clock_;
    qint64 failWritesFrom_;
    quint8 mask_ = 0;
    int slot_ = 0;
};

enum class Op {
    Greeting,
    Home,
    StepUp,
    Left,
    NeedleUp,
    NeedleDown,
    SetStrike,
    How,
    Monitor,
    PrintForward,
    PrintBackward,
    ReadMemory,
    ProgYMotor,
    Off,
    BeginPrint,
    EndPrint,
    LinkTiming,
    StrikeSetting,
    Reconnect,
    Count
};

// The commands that a link found down must not send anything for.
bool keepsQuietWithoutLink(Op op) {
    return op != Op::Greeting && op != Op::BeginPrint && op != Op::Reconnect;
}

QString digitsOf(quint8 parameter) {
    QString digits;
    for (int k = 0; k < 1 + parameter % 40; ++k)
        digits += QChar('0' + (parameter * 7 + k * 3) % 5);
    return digits;
}

void run(Op op, quint8 parameter, CommandSet& commands) {
    switch (op) {
    case Op::Greeting:
        return commands.greeting();
    case Op::Home:
        return commands.resetError(1930, 2330);
    case Op::StepUp:
        return commands.stepUp(parameter * 3);
    case Op::Left:
        return commands.left(parameter * 257);
    case Op::NeedleUp:
        return commands.needleUp();
    case Op::NeedleDown:
        return commands.needleDown(parameter % 3);
    case Op::SetStrike:
        return commands.setStrike({parameter, quint8(parameter / 2), 20, 10});
    case Op::How:
        (void)commands.how();
        return;
    case Op::Monitor:
        return commands.monitor(true);
    case Op::PrintForward:
        (void)commands.printLine(CommandSet::Direction::Forward, digitsOf(parameter));
        return;
    case Op::PrintBackward:
        // A multiple of 256 dots greets the device first.
        (void)commands.printLine(CommandSet::Direction::Backward,
                                 parameter % 4 == 0 ? QString(256, '1') : digitsOf(parameter));
        return;
    case Op::ReadMemory:
        (void)commands.readMemory(parameter);
        return;
    case Op::ProgYMotor:
        // The settings the program sends: resolution index + 16, and 15 to 17 above it for
        // the edges of a portrait line. Move time-outs grow with the setting.
        (void)commands.progYMotor(CommandSet::kResolutionParameter, 16 + parameter % 26);
        return;
    case Op::Off:
        return commands.off();
    case Op::BeginPrint:
        return commands.beginPrint();
    case Op::EndPrint:
        return commands.endPrint();
    case Op::LinkTiming:
        return commands.measureLinkTiming();
    case Op::StrikeSetting:
        return commands.strikeSetting(CommandSet::kStrikeU, parameter);
    case Op::Reconnect: // what "Тест" and the port menu do before greeting
        commands.exchange().setLinkActive(true);
        commands.exchange().setLinkError(false);
        return;
    case Op::Count:
        break;
    }
}

} // namespace
} // namespace zuk::fuzz

void zuk::fuzz::testOneInput(FuzzInput& input) {
    const int commandCount = 1 + input.byte() % 8;
    std::vector<std::pair<Op, quint8>> script;
    for (int k = 0; k < commandCount; ++k) {
        const Op op = Op(input.byte() % int(Op::Count));
        script.emplace_back(op, input.byte());
    }
    const quint8 failure = input.byte();
    const qint64 failWritesFrom = failure >= 0xF0 ? (failure - 0xEF) * 40 : 0;

    VirtualClock clock;
    test::RecordingScreen screen;
    Texts texts;
    AnswerStream* line = nullptr;
    SerialPort port([&](const QString&) -> std::unique_ptr<ByteTransport> {
        auto stream = std::make_unique<AnswerStream>(input, clock, failWritesFrom);
        line = stream.get();
        return stream;
    });
    require(port.openPort() && line != nullptr, "the line opens");
    MenuStates menus(screen);
    CommandExchange exchange(port, screen, menus, clock, texts);
    CommandSet commands(exchange);

    const qint64 answers = qint64(input.left());
    for (const auto& [op, parameter] : script) {
        const bool linkBefore = exchange.linkActive();
        const qsizetype messagesBefore = screen.messages.size();
        const qint64 writesBefore = line->writes;
        run(op, parameter, commands);
        require(exchange.sequence() >= 0 && exchange.sequence() <= 15,
                "the sequence number stays within 0..15");
        require(line->reads <= 2 * answers + kSilentReadsPerCommand * qint64(script.size()),
                "no read loop outlives the device's answers by more than its time-outs",
                QStringLiteral("%1 reads for %2 answers, command %3 (%4), %5 ms")
                    .arg(line->reads)
                    .arg(answers)
                    .arg(int(op))
                    .arg(parameter)
                    .arg(clock.monotonicMs()));
        if (linkBefore && !exchange.linkActive())
            require(screen.messages.size() > messagesBefore, "a link lost is told",
                    QStringLiteral("command %1").arg(int(op)));
        if (!linkBefore && keepsQuietWithoutLink(op))
            require(line->writes == writesBefore, "a command without the link sends nothing",
                    QStringLiteral("command %1").arg(int(op)));
    }
    return;
}
