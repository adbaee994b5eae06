#pragma once

// The simulated engraver: the device's end of the serial line.
//
// The engraver is fed the host's bytes one at a time, each with the parity it was written
// with and the clock time it arrived (receive), and produces answer bytes that fall due at
// modelled times (firstAnswerDue / takeAnswer). It never looks at a clock itself: time moves
// only through the times it is given, so it runs the same on a virtual clock in tests, on
// the program's clock behind the port name "sim" (SimTransport) and on the wall clock in
// zuk-devsim.
//
// Protocol, as the device keeps it:
// - A frame is four bytes and a check byte (the four XOR-ed with the device's sequence number
//   s). A good frame is answered 0xA0 + s and waits for the confirmation s XOR 0x22; a bad one
//   is refused with 0x90 + s, which names the device's own number (the greeting adopts it).
// - After the confirmation the command runs for its modelled duration and completes with
//   0x50 + s (a print-line data frame with 0x60 + s); s then advances, except after "Off".
//   Print lines take their data frames after the header's completion and engrave when the
//   last one is in; "SetStrike" takes eight profile frames, each a full command; "How" sends
//   five data bytes, each echoed, "Monitor" four, each answered 0x0A, "R.E." one.
// - Resynchronisation: a byte with odd parity belongs to a burst. The device answers a burst
//   byte at once, and the host stops its burst at the first answer:
//     * waiting for a confirmation: 0x20 + s; the host's 0x03 then confirms the command,
//       except for a greeting, which the host sends anew, so 0x03 drops it;
//     * busy with a command: 0x20 + s (the 0x03 that follows is taken and the command goes
//       on); when the command is already finished and its completion held back (below), the
//       completion 0x50 + s itself is the answer;
//     * idle: 0x90 + s. A host that lost a completion sees 0x90 + next(s) and leaves its
//       wait in step; a host whose frame never arrived whole sees 0x90 + s and repeats it;
//     * sending the data bytes of "How" or "Monitor": 0x90 + s as when idle (the host lost
//       the completion that came before them), and the data byte it waits for goes out again.
//   A burst also discards a partly received frame.
// - Completions of commands that the host waits for with one 500 ms read at a time (every
//   command except moves, homing, the warm-up stroke and motor programming) are sent by
//   themselves only within 400 ms of the last byte exchanged. A later completion is held back
//   and given as the answer to the host's next burst (or sent anyway after 2 s without one),
//   so it can never cross the burst that the host sends when its read runs out, and host and
//   device cannot slip out of step.
// - Bytes that break these rules are protocol violations: recorded with a description, never
//   silently taken. The device then does what keeps a correct host able to recover. Among
//   them: a bad check byte (or a frame at another sequence number, except a greeting), a
//   wrong confirmation, a data frame outside a print line, a move count FFFF (a move of 0
//   steps wrapped), a cell struck twice in one pass, a strike with the needle raised or
//   without a strike profile, a warm-up stroke with the needle down, a print line or
//   "SetStrike" cut off by a command, a wrong report reply, a byte while busy, a frame left
//   incomplete for more than 100 ms.
// - The machine: "Left" and "StepUp" make the column and the row count grow. A print line
//   left to right strikes the cell under the head and steps on, right to left it steps
//   first, so a line of n dots from column c covers c .. c+n-1 forwards and c-1 .. c-n
//   backwards, and leaves the head at c + n or c - n. Durations follow the program's job
//   estimate (a step is F x P x 24.375 us, a strike is weighted by the loaded profile), a
//   print line never takes more than 18 s and homing never more than 9 s.
// - Fault injection (SimOptions::faults) drops or inverts chosen answer bytes, refuses chosen
//   frames, falls silent after a number of commands and loses power during a print line;
//   restart() brings the power back with the head where it stopped.

#include "device/ByteTransport.h"
#include "simulator/DeviceCommands.h"
#include "simulator/Machine.h"
#include "simulator/Plate.h"
#include "simulator/SimOptions.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace zuk::sim {

struct Violation {
    qint64 atMs = 0;
    QString description;
    // True when an injected fault came before it and may have caused it.
    bool afterInjectedFault = false;
};

struct EngraverCounters {
    std::array<int, kCommandKindCount> commands{}; // carried out, by kind
    int frames = 0;                                // whole frames received
    int refusedBadCheck = 0;                       // refused for their check byte
    int dataFrames = 0;                            // print-line data frames taken
    int profileFrames = 0;                         // "SetStrike" profile frames taken
    int resynchronisations = 0;                    // bursts
    int burstAnswersWaiting = 0;                   // 0x20 + s
    int burstAnswersRefusal = 0;                   // 0x90 + s
    int burstAnswersCompletion = 0;                // 0x50 + s
    int answerBytes = 0;                           // bytes the device sent, dropped ones included
    int droppedAnswerBytes = 0;
    int corruptedAnswerBytes = 0;
    int refusedOnPurpose = 0;
    int printLines = 0;   // print lines fully engraved
    int ignoredBytes = 0; // arrived while silent or without power
    int violationCount = 0;
    std::vector<Violation> violations; // the first kMaxViolationsKept
    int commandCount(CommandKind kind) const { return commands[static_cast<int>(kind)]; }
};

// How a parity-less line (a pseudo-terminal) should take a byte of the burst's values.
enum class ByteRole { Line, Burst, Ambiguous };

class Engraver {
public:
    static constexpr int kMaxViolationsKept = 1000;
    static constexpr qint64 kUnsolicitedWindowMs = 400;
    static constexpr qint64 kHeldFallbackMs = 2000;
    static constexpr qint64 kFrameGapMs = 100;

    explicit Engraver(SimOptions options = {});

    // --- The line ---
    void receive(quint8 byte, Parity parity, qint64 atMs);
    // Runs the device up to the first answer due at or before limitMs and returns its time.
    std::optional<qint64> firstAnswerDue(qint64 limitMs);
    // The first answer if it is due by atMs (the device is run up to atMs first).
    std::optional<quint8> takeAnswer(qint64 atMs);
    // Runs the device's own timed events up to atMs.
    void advanceTo(qint64 atMs);
    // When something happens next without input: an answer falls due or a command ends.
    std::optional<qint64> nextWakeMs() const;
    // For a line without parity: whether this byte, arriving now, can only be a burst byte,
    // can only be part of a frame or a reply, or could be either (the first byte of a print
    // data frame; the bytes that follow decide).
    ByteRole roleWithoutParity(quint8 byte) const;

    // --- Power ---
    bool poweredOn() const { return powered_; }
    bool silent() const { return silent_; }
    // Power comes back: everything returns to its power-on state except the head position
    // (and the plate and the counters, which are the observer's).
    void restart(qint64 atMs);

    // --- What the device holds ---
    quint8 sequenceNumber() const { return seq_; }
    const MachineState& machine() const { return machine_; }
    const Plate& plate() const { return plate_; }
    const EngraverCounters& counters() const { return counters_; }
    // Sum of the modelled durations of every command carried out (before any speed-up).
    qint64 modelledDeviceTimeMs() const { return modelledUs_ / 1000; }
    qint64 modelledDeviceTimeUs() const { return modelledUs_; }
    const SimOptions& options() const { return options_; }
    // Violations not preceded by an injected fault.
    std::vector<Violation> unexplainedViolations() const;

    // Receives a line of text for every notable event (for zuk-devsim's log).
    void setTrace(std::function<void(qint64 atMs, const QString& what)> trace) {
        trace_ = std::move(trace);
    }

private:
    enum class Phase { Idle, AwaitConfirm, Busy, Exchange };
    enum class FrameRole { Command, PrintData, ProfileData, StrayData };

    struct PendingFrame {
        FrameRole role = FrameRole::Command;
        DeviceCommand command;
    };
    // A command under way. Its effects apply when its time is up; its completion byte may be
    // held back for the host's next burst.
    struct Work {
        qint64 doneAt = 0;
        quint8 answerKind = 0x50;
        bool advances = true; // "Off" leaves the sequence number as it was
        bool answers = true;  // a power failure never answers
        bool holdable = true; // the host waits with single reads and bursts
        std::function<void()> effects;
        std::function<void(qint64)> afterAnswer;
        bool done = false;
        bool held = false;
        qint64 releaseAt = 0;
    };
    // The data bytes of "How" or "Monitor", each waiting for the host's reply.
    struct Exchange {
        std::vector<quint8> bytes;
        bool echoed = true; // How: echo; Monitor: 0x0A
        int index = 0;
        std::vector<quint8> delivered; // as the host received them
    };
    struct PrintContext {
        bool forward = true;
        int dots = 0;
        int framesExpected = 0;
        int framesTaken = 0;
        QByteArray codes; // one dot code 0..9 per byte
    };
    struct Output {
        qint64 due = 0;
        quint8 byte = 0;
    };

    // Protocol (Engraver.cpp)
    void onBurstByte(quint8 byte, qint64 t);
    void onLineByte(quint8 byte, qint64 t);
    void onBurstAcknowledged(qint64 t);
    void onConfirmationByte(quint8 byte, qint64 t);
    void assemble(quint8 byte, qint64 t);
    void onFrame(qint64 t);
    bool refuseForCheckByte(const FrameBytes& bytes, quint8 check, qint64 t);
    PendingFrame classify(const FrameBytes& bytes);
    void confirm(qint64 t);
    void answerBurst(quint8 code, qint64 t);
    std::optional<quint8> sendAnswer(quint8 byte, qint64 due);
    std::optional<qint64> nextInternalEvent() const;
    void runInternalEvents(qint64 t);
    void startWork(Work work, qint64 modelledUs, qint64 t);
    void finishWork(qint64 t);
    void releaseCompletion(qint64 t);
    qint64 lastExchangeMs() const { return std::max(lastInputAt_, lastOutputDue_); }
    void clearProtocolState();
    void goSilent(qint64 t);
    void powerFail(qint64 t);
    void powerOn(qint64 t);
    void violation(const QString& description);
    void noteFault(const QString& what);
    void trace(const QString& what) const;

    // Commands (EngraverCommands.cpp)
    void startFrame(const PendingFrame& frame, qint64 t);
    void startCommand(const DeviceCommand& command, qint64 t);
    void startShort(qint64 t, std::function<void()> effects = {},
                    std::function<void(qint64)> afterAnswer = {});
    void startMove(const DeviceCommand& command, qint64 t);
    void beginExchange(std::vector<quint8> bytes, bool echoed, qint64 t);
    void sendExchangeByte(qint64 due);
    void onExchangeReply(quint8 byte, qint64 t);
    std::vector<quint8> positionReport() const;
    void beginPrintLine(const DeviceCommand& command, qint64 t);
    void takePrintData(const FrameBytes& bytes, qint64 t);
    void startEngraving(qint64 t);
    std::vector<qint64> dotDurationsUs(const PrintContext& line) const;
    void engrave(const PrintContext& line, int dots);
    void takeProfileData(const FrameBytes& bytes, qint64 t);

    SimOptions options_;
    MachineState machine_;
    Plate plate_;
    EngraverCounters counters_;
    qint64 modelledUs_ = 0;

    // Protocol state
    quint8 seq_ = 0;
    Phase phase_ = Phase::Idle;
    QByteArray frame_;
    qint64 lastFrameByteAt_ = 0;
    PendingFrame pending_;
    bool awaitingBurstAck_ = false;
    bool inBurst_ = false;
    int burstIndex_ = 0;
    std::optional<Work> work_;
    std::optional<Exchange> exchange_;
    std::optional<PrintContext> print_;
    std::optional<QByteArray> profileLoad_;
    std::deque<Output> outputs_;
    qint64 now_ = 0;
    qint64 lastInputAt_ = 0;
    qint64 lastOutputDue_ = 0;

    // Power, silence, faults
    bool powered_ = true;
    std::optional<qint64> powerBackAt_;
    bool silent_ = false;
    bool silenceUsed_ = false;
    std::optional<qint64> silentUntil_;
    bool powerLossUsed_ = false;
    int goodFrames_ = 0;
    int commandsCarriedOut_ = 0;
    bool afterFault_ = false;

    std::function<void(qint64, const QString&)> trace_;
};

} // namespace zuk::sim
