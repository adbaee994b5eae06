#include "simulator/SimTransport.h"

#include <algorithm>

namespace zuk::sim {

SimTransport::SimTransport(std::shared_ptr<Engraver> engraver, Clock& clock)
    : engraver_(std::move(engraver)), clock_(clock) {}

bool SimTransport::setParity(Parity parity) {
    parity_ = parity;
    return true;
}

bool SimTransport::writeByte(quint8 byte) {
    engraver_->receive(byte, parity_, clock_.monotonicMs());
    return true;
}

std::optional<quint8> SimTransport::readByte(int timeoutMs) {
    const qint64 deadline = clock_.monotonicMs() + std::max(timeoutMs, 0);
    std::optional<quint8> answer;
    if (const std::optional<qint64> due = engraver_->firstAnswerDue(deadline)) {
        sleepUntil(*due);
        answer = engraver_->takeAnswer(std::max(*due, clock_.monotonicMs()));
    } else {
        sleepUntil(deadline);
    }
    if (waitHook_)
        waitHook_();
    return answer;
}

// Nothing reaches the engraver while the host waits for it, so the answer due stays due.
void SimTransport::sleepUntil(qint64 atMs) {
    if (!waitHook_) {
        clock_.sleepUntil(atMs);
        return;
    }
    while (clock_.monotonicMs() < atMs) {
        clock_.sleepUntil(std::min(atMs, clock_.monotonicMs() + kWaitSliceMs));
        waitHook_();
    }
}

std::shared_ptr<Engraver> makeEngraver(const SimOptions& options) {
    return std::make_shared<Engraver>(options);
}

std::unique_ptr<ByteTransport> openBuiltInEngraver(std::shared_ptr<Engraver> engraver,
                                                   Clock& clock) {
    return std::make_unique<SimTransport>(std::move(engraver), clock);
}

std::unique_ptr<ByteTransport> openBuiltInEngraver(Clock& clock, const SimOptions& options) {
    return openBuiltInEngraver(makeEngraver(options), clock);
}

} // namespace zuk::sim
