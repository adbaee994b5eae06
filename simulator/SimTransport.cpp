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
    if (const std::optional<qint64> due = engraver_->firstAnswerDue(deadline)) {
        clock_.sleepUntil(*due);
        return engraver_->takeAnswer(std::max(*due, clock_.monotonicMs()));
    }
    clock_.sleepUntil(deadline);
    return std::nullopt;
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
