#include "simulator/Engraver.h"

#include <algorithm>
#include <limits>

namespace zuk::sim {

namespace {

constexpr quint8 kAccepted = 0xA0;
constexpr quint8 kRefused = 0x90;
constexpr quint8 kWaitingForConfirmation = 0x20;
constexpr quint8 kBurstAcknowledge = 0x03;
constexpr quint8 kConfirmationMask = 0x22;
constexpr std::array<quint8, 6> kBurst = {0x81, 0x81, 0x18, 0x18, 0x88, 0x0F};

quint8 nextSeq(quint8 s) {
    return static_cast<quint8>((s + 1) & 0x0F);
}

bool isBurstValue(quint8 byte) {
    return std::find(kBurst.begin(), kBurst.end(), byte) != kBurst.end();
}

} // namespace

Engraver::Engraver(SimOptions options)
    : options_(std::move(options)),
      machine_(MachineState::poweredOn(options_.identification, options_.startPosition)) {}

// --- Time ---

std::optional<qint64> Engraver::nextInternalEvent() const {
    std::optional<qint64> next;
    auto consider = [&next](qint64 t) { next = next ? std::min(*next, t) : t; };
    if (!powered_) {
        if (powerBackAt_)
            consider(*powerBackAt_);
        return next;
    }
    if (silent_ && silentUntil_)
        consider(*silentUntil_);
    if (work_ && !work_->done)
        consider(work_->doneAt);
    if (work_ && work_->held)
        consider(work_->releaseAt);
    return next;
}

void Engraver::runInternalEvents(qint64 t) {
    now_ = std::max(now_, t);
    if (!powered_) {
        if (powerBackAt_ && *powerBackAt_ <= t)
            powerOn(*powerBackAt_);
        return;
    }
    if (silent_ && silentUntil_ && *silentUntil_ <= t) {
        silent_ = false;
        silentUntil_.reset();
        trace(QStringLiteral("the device answers again"));
    }
    if (work_ && !work_->done && work_->doneAt <= t)
        finishWork(work_->doneAt);
    else if (work_ && work_->held && work_->releaseAt <= t)
        releaseCompletion(work_->releaseAt);
}

void Engraver::advanceTo(qint64 atMs) {
    while (const std::optional<qint64> next = nextInternalEvent()) {
        if (*next > atMs)
            break;
        runInternalEvents(*next);
    }
    now_ = std::max(now_, atMs);
}

std::optional<qint64> Engraver::firstAnswerDue(qint64 limitMs) {
    for (;;) {
        const qint64 answerDue =
            outputs_.empty() ? std::numeric_limits<qint64>::max() : outputs_.front().due;
        const std::optional<qint64> event = nextInternalEvent();
        if (!event || *event > limitMs || *event > answerDue)
            break;
        runInternalEvents(*event);
    }
    if (!outputs_.empty() && outputs_.front().due <= limitMs)
        return outputs_.front().due;
    return std::nullopt;
}

std::optional<quint8> Engraver::takeAnswer(qint64 atMs) {
    advanceTo(atMs);
    if (outputs_.empty() || outputs_.front().due > atMs)
        return std::nullopt;
    const quint8 byte = outputs_.front().byte;
    outputs_.pop_front();
    return byte;
}

std::optional<qint64> Engraver::nextWakeMs() const {
    std::optional<qint64> next = nextInternalEvent();
    if (!outputs_.empty())
        next = next ? std::min(*next, outputs_.front().due) : outputs_.front().due;
    return next;
}

// --- Bytes in ---

void Engraver::receive(quint8 byte, Parity parity, qint64 atMs) {
    advanceTo(atMs);
    lastInputAt_ = atMs;
    if (!powered_ || silent_) {
        ++counters_.ignoredBytes;
        return;
    }
    if (parity == Parity::Odd)
        onBurstByte(byte, atMs);
    else
        onLineByte(byte, atMs);
}

ByteRole Engraver::roleWithoutParity(quint8 byte) const {
    if (!isBurstValue(byte) || !powered_ || silent_)
        return ByteRole::Line;
    switch (phase_) {
    case Phase::AwaitConfirm: // confirmations are 0x20..0x2F, 0x03 is not a burst value
    case Phase::Busy:
        return ByteRole::Burst;
    case Phase::Exchange: {
        const bool echoExpected = exchange_->echoed && !exchange_->delivered.empty() &&
                                  (byte == exchange_->delivered.back() ||
                                   (exchange_->index == 4 && byte == exchange_->delivered[3]));
        return echoExpected ? ByteRole::Line : ByteRole::Burst;
    }
    case Phase::Idle:
        break;
    }
    if (!frame_.isEmpty())
        return ByteRole::Line;
    if (print_ && isPrintData({byte, 0, 0, 0}))
        return ByteRole::Ambiguous;
    // A command frame starts with 1B, a profile frame with a phase code: neither is a burst value.
    return ByteRole::Burst;
}

void Engraver::onBurstByte(quint8 byte, qint64 t) {
    if (!inBurst_) {
        inBurst_ = true;
        burstIndex_ = 0;
        ++counters_.resynchronisations;
        trace(QStringLiteral("resynchronisation burst"));
    }
    const quint8 expected = kBurst[static_cast<size_t>(burstIndex_) % kBurst.size()];
    if (byte != expected)
        violation(QStringLiteral("byte %1 in a resynchronisation burst where %2 belongs")
                      .arg(hexByte(byte), hexByte(expected)));
    ++burstIndex_;
    if (!frame_.isEmpty()) {
        violation(QStringLiteral("incomplete frame %1 cut off by a resynchronisation burst")
                      .arg(hexBytes(frame_)));
        frame_.clear();
    }
    switch (phase_) {
    case Phase::Idle:
        answerBurst(kRefused + seq_, t);
        break;
    case Phase::AwaitConfirm:
        awaitingBurstAck_ = true;
        answerBurst(kWaitingForConfirmation + seq_, t);
        break;
    case Phase::Busy:
        if (work_->held) {
            ++counters_.burstAnswersCompletion;
            inBurst_ = false;
            releaseCompletion(t + timing::kAnswerLatencyMs);
        } else {
            awaitingBurstAck_ = true;
            answerBurst(kWaitingForConfirmation + seq_, t);
        }
        break;
    case Phase::Exchange:
        // The host missed the completion before the report and took the first report byte
        // for a wrong answer: 0x90 + s (s has already advanced) ends its wait in step, and
        // the report byte it will read next goes out again.
        // A report byte not yet on the line is taken back, so that the burst's answer
        // comes first.
        std::erase_if(outputs_, [t](const Output& o) { return o.due > t; });
        answerBurst(kRefused + seq_, t);
        exchange_->delivered.pop_back();
        sendExchangeByte(t + 2 * timing::kAnswerLatencyMs);
        break;
    }
}

void Engraver::answerBurst(quint8 code, qint64 t) {
    inBurst_ = false;
    if ((code & 0xF0) == kWaitingForConfirmation)
        ++counters_.burstAnswersWaiting;
    else
        ++counters_.burstAnswersRefusal;
    sendAnswer(code, t + timing::kAnswerLatencyMs);
}

void Engraver::onLineByte(quint8 byte, qint64 t) {
    inBurst_ = false;
    if (awaitingBurstAck_) {
        awaitingBurstAck_ = false;
        if (byte == kBurstAcknowledge) {
            onBurstAcknowledged(t);
            return;
        }
        const bool newGreeting = phase_ == Phase::AwaitConfirm &&
                                 pending_.command.kind == CommandKind::Greeting &&
                                 byte == kCommandLead;
        if (!newGreeting)
            violation(QStringLiteral("byte %1 where 03 belongs after the answer to a burst")
                          .arg(hexByte(byte)));
    }
    switch (phase_) {
    case Phase::AwaitConfirm:
        onConfirmationByte(byte, t);
        break;
    case Phase::Busy:
        violation(QStringLiteral("byte %1 while the device is busy").arg(hexByte(byte)));
        break;
    case Phase::Exchange:
        onExchangeReply(byte, t);
        break;
    case Phase::Idle:
        assemble(byte, t);
        break;
    }
}

void Engraver::onBurstAcknowledged(qint64 t) {
    if (phase_ != Phase::AwaitConfirm)
        return;
    if (pending_.role == FrameRole::Command && pending_.command.kind == CommandKind::Greeting) {
        // The host answers a resynchronised greeting by greeting again.
        phase_ = Phase::Idle;
        trace(QStringLiteral("greeting dropped after a burst; the host greets anew"));
        return;
    }
    confirm(t);
}

void Engraver::onConfirmationByte(quint8 byte, qint64 t) {
    const quint8 expected = seq_ ^ kConfirmationMask;
    if (byte == expected) {
        afterFault_ = false;
        confirm(t);
        return;
    }
    const bool greetingAgain = pending_.role == FrameRole::Command &&
                               pending_.command.kind == CommandKind::Greeting &&
                               byte == kCommandLead;
    if (!greetingAgain)
        violation(QStringLiteral("confirmation %1 where %2 belongs; %3 not carried out")
                      .arg(hexByte(byte), hexByte(expected),
                           pending_.role == FrameRole::Command ? commandName(pending_.command.kind)
                                                               : QStringLiteral("frame")));
    phase_ = Phase::Idle;
    assemble(byte, t);
}

void Engraver::assemble(quint8 byte, qint64 t) {
    if (!frame_.isEmpty() && t - lastFrameByteAt_ > kFrameGapMs) {
        violation(
            QStringLiteral("incomplete frame %1 dropped after a pause").arg(hexBytes(frame_)));
        frame_.clear();
    }
    frame_.append(static_cast<char>(byte));
    lastFrameByteAt_ = t;
    if (frame_.size() == 5)
        onFrame(t);
}

void Engraver::onFrame(qint64 t) {
    const FrameBytes bytes = {static_cast<quint8>(frame_[0]), static_cast<quint8>(frame_[1]),
                              static_cast<quint8>(frame_[2]), static_cast<quint8>(frame_[3])};
    const quint8 check = static_cast<quint8>(frame_[4]);
    frame_.clear();
    ++counters_.frames;
    const int silentAfter = options_.faults.silentAfterCommands;
    if (silentAfter > 0 && !silenceUsed_ && commandsCarriedOut_ >= silentAfter) {
        goSilent(t);
        return;
    }
    if (refuseForCheckByte(bytes, check, t))
        return;
    ++goodFrames_;
    if (options_.faults.refuseFrames.count(goodFrames_)) {
        ++counters_.refusedOnPurpose;
        noteFault(QStringLiteral("frame %1 refused on purpose").arg(goodFrames_));
        sendAnswer(kRefused + seq_, t + timing::kAnswerLatencyMs);
        return;
    }
    pending_ = classify(bytes);
    phase_ = Phase::AwaitConfirm;
    sendAnswer(kAccepted + seq_, t + timing::kAnswerLatencyMs);
}

bool Engraver::refuseForCheckByte(const FrameBytes& bytes, quint8 check, qint64 t) {
    const quint8 contents = bytes[0] ^ bytes[1] ^ bytes[2] ^ bytes[3];
    if (check == (contents ^ seq_))
        return false;
    ++counters_.refusedBadCheck;
    const int hostSeq = contents ^ check;
    const DeviceCommand command = decodeCommand(bytes);
    const bool greeting =
        command.kind == CommandKind::Greeting && operandProblem(command).isEmpty();
    const QString frame = hexBytes(QByteArray(reinterpret_cast<const char*>(bytes.data()), 4));
    if (greeting && hostSeq <= 0x0F)
        trace(
            QStringLiteral("greeting at sequence number %1, device at %2").arg(hostSeq).arg(seq_));
    else if (hostSeq <= 0x0F)
        violation(QStringLiteral("frame %1 sent at sequence number %2 while the device is at %3")
                      .arg(frame)
                      .arg(hostSeq)
                      .arg(seq_));
    else
        violation(QStringLiteral("bad check byte %1 in frame %2 (expected %3)")
                      .arg(hexByte(check), frame, hexByte(contents ^ seq_)));
    sendAnswer(kRefused + seq_, t + timing::kAnswerLatencyMs);
    return true;
}

Engraver::PendingFrame Engraver::classify(const FrameBytes& bytes) {
    PendingFrame frame;
    frame.command = decodeCommand(bytes);
    if (print_) {
        if (isPrintData(bytes)) {
            frame.role = FrameRole::PrintData;
            return frame;
        }
        violation(QStringLiteral("print line abandoned after %1 of %2 data frames")
                      .arg(print_->framesTaken)
                      .arg(print_->framesExpected));
        print_.reset();
    }
    if (profileLoad_) {
        if (isProfileData(bytes)) {
            frame.role = FrameRole::ProfileData;
            return frame;
        }
        violation(QStringLiteral("SetStrike abandoned after %1 of 8 profile frames")
                      .arg(profileLoad_->size() / 4));
        profileLoad_.reset();
    }
    if (bytes[0] == kCommandLead) {
        frame.role = FrameRole::Command;
        return frame;
    }
    frame.role = FrameRole::StrayData;
    violation(QStringLiteral("data frame %1 outside a print line")
                  .arg(hexBytes(QByteArray(reinterpret_cast<const char*>(bytes.data()), 4))));
    return frame;
}

void Engraver::confirm(qint64 t) {
    phase_ = Phase::Busy;
    startFrame(pending_, t);
}

// --- Commands under way ---

void Engraver::startWork(Work work, qint64 modelledUs, qint64 t) {
    modelledUs_ += modelledUs;
    const double scaledMs = double(modelledUs) / 1000.0 / std::max(options_.speed, 1e-6);
    work.doneAt = t + std::max<qint64>(timing::kAnswerLatencyMs, qint64(scaledMs + 0.999));
    work_ = std::move(work);
    phase_ = Phase::Busy;
}

void Engraver::finishWork(qint64 t) {
    work_->done = true;
    if (const std::function<void()> effects = std::move(work_->effects))
        effects();
    if (!work_)
        return; // the power failed during the command
    Work& work = *work_;
    if (!work.answers) {
        work_.reset();
        phase_ = Phase::Idle;
        return;
    }
    if (work.holdable && t - lastExchangeMs() > kUnsolicitedWindowMs) {
        work.held = true;
        work.releaseAt = t + kHeldFallbackMs;
        return;
    }
    releaseCompletion(t);
}

void Engraver::releaseCompletion(qint64 t) {
    Work work = std::move(*work_);
    work_.reset();
    phase_ = Phase::Idle;
    sendAnswer(work.answerKind + seq_, t);
    if (work.advances)
        seq_ = nextSeq(seq_);
    if (work.afterAnswer)
        work.afterAnswer(t);
}

// --- Bytes out ---

std::optional<quint8> Engraver::sendAnswer(quint8 byte, qint64 due) {
    const int number = ++counters_.answerBytes;
    lastOutputDue_ = std::max(lastOutputDue_, due);
    if (options_.faults.dropAnswerBytes.count(number)) {
        ++counters_.droppedAnswerBytes;
        noteFault(QStringLiteral("answer byte %1 (%2) dropped").arg(number).arg(hexByte(byte)));
        return std::nullopt;
    }
    if (options_.faults.corruptAnswerBytes.count(number)) {
        ++counters_.corruptedAnswerBytes;
        noteFault(QStringLiteral("answer byte %1 (%2) inverted").arg(number).arg(hexByte(byte)));
        byte = static_cast<quint8>(~byte);
    }
    auto at = std::upper_bound(outputs_.begin(), outputs_.end(), due,
                               [](qint64 d, const Output& o) { return d < o.due; });
    outputs_.insert(at, Output{due, byte});
    return byte;
}

// --- Power and silence ---

void Engraver::clearProtocolState() {
    phase_ = Phase::Idle;
    frame_.clear();
    pending_ = {};
    awaitingBurstAck_ = false;
    inBurst_ = false;
    work_.reset();
    exchange_.reset();
    print_.reset();
    profileLoad_.reset();
}

void Engraver::goSilent(qint64 t) {
    silent_ = true;
    silenceUsed_ = true;
    if (options_.faults.silentForMs > 0)
        silentUntil_ = t + options_.faults.silentForMs;
    clearProtocolState();
    noteFault(QStringLiteral("the device falls silent after %1 commands").arg(commandsCarriedOut_));
}

void Engraver::powerFail(qint64 t) {
    powered_ = false;
    clearProtocolState();
    std::erase_if(outputs_, [t](const Output& o) { return o.due > t; });
    if (options_.faults.powerBackAfterMs > 0)
        powerBackAt_ = t + options_.faults.powerBackAfterMs;
    noteFault(QStringLiteral("power failure at column %1, row step %2")
                  .arg(machine_.head.column)
                  .arg(machine_.head.rowSteps));
}

void Engraver::powerOn(qint64 t) {
    now_ = std::max(now_, t);
    const HeadPosition head = machine_.head;
    machine_ = MachineState::poweredOn(options_.identification, head);
    clearProtocolState();
    outputs_.clear();
    seq_ = 0;
    powered_ = true;
    powerBackAt_.reset();
    silent_ = false;
    silentUntil_.reset();
    trace(QStringLiteral("power on"));
}

void Engraver::restart(qint64 atMs) {
    advanceTo(atMs);
    powerOn(atMs);
}

// --- Records ---

void Engraver::violation(const QString& description) {
    ++counters_.violationCount;
    if (counters_.violations.size() < kMaxViolationsKept)
        counters_.violations.push_back({now_, description, afterFault_});
    trace(QStringLiteral("PROTOCOL VIOLATION: ") + description);
}

void Engraver::noteFault(const QString& what) {
    afterFault_ = true;
    trace(QStringLiteral("injected fault: ") + what);
}

void Engraver::trace(const QString& what) const {
    if (trace_)
        trace_(now_, what);
}

std::vector<Violation> Engraver::unexplainedViolations() const {
    std::vector<Violation> found;
    for (const Violation& v : counters_.violations)
        if (!v.afterInjectedFault)
            found.push_back(v);
    return found;
}

} // namespace zuk::sim
