#include "simulator/ParitylessLine.h"

namespace zuk::sim {

void ParitylessLine::advanceTo(qint64 atMs) {
    if (held_ && atMs >= held_->atMs + kHoldMs) {
        const Held held = *held_;
        held_.reset();
        engraver_.receive(held.byte, Parity::Odd, held.atMs + kHoldMs);
    }
    engraver_.advanceTo(atMs);
}

void ParitylessLine::receive(quint8 byte, qint64 atMs) {
    if (held_ && atMs < held_->atMs + kHoldMs) {
        // A byte right behind the held one: the held byte began a frame.
        const Held held = *held_;
        held_.reset();
        engraver_.receive(held.byte, Parity::Even, held.atMs);
    }
    advanceTo(atMs);
    switch (engraver_.roleWithoutParity(byte)) {
    case ByteRole::Line:
        engraver_.receive(byte, Parity::Even, atMs);
        break;
    case ByteRole::Burst:
        engraver_.receive(byte, Parity::Odd, atMs);
        break;
    case ByteRole::Ambiguous:
        held_ = Held{byte, atMs};
        break;
    }
}

std::optional<qint64> ParitylessLine::nextWakeMs() const {
    std::optional<qint64> next = engraver_.nextWakeMs();
    if (held_) {
        const qint64 end = held_->atMs + kHoldMs;
        next = next ? std::min(*next, end) : end;
    }
    return next;
}

} // namespace zuk::sim
