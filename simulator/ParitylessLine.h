#pragma once

#include "simulator/Engraver.h"

#include <optional>

namespace zuk::sim {

// Feeds an engraver from a line that carries no parity, such as a pseudo-terminal.
//
// The host marks its resynchronisation burst (81 81 18 18 88 0F) with odd parity; without
// parity the burst is recognised by its bytes where the device's state rules out a frame or
// a reply: waiting for a confirmation (those are 20..2F), busy with a command, waiting for a
// report reply other than that byte, or at the start of a frame that must begin with 1B
// (a command) or a phase code (a strike profile frame). 0F can never begin print data.
//
// The one ambiguous place is the first byte of a print-line data frame, where 81, 18 and 88
// are valid dot codes. The host writes a frame's five bytes back to back but waits for an
// answer after each burst byte, so such a byte is held: when another byte follows within
// kHoldMs it begins a frame, otherwise it is taken as a burst byte when the hold runs out.
class ParitylessLine {
public:
    static constexpr qint64 kHoldMs = 40;

    explicit ParitylessLine(Engraver& engraver) : engraver_(engraver) {}

    void receive(quint8 byte, qint64 atMs);
    // Settles a held byte whose hold has run out; call before reading answers.
    void advanceTo(qint64 atMs);
    // The engraver's next event, or the end of a hold, whichever comes first.
    std::optional<qint64> nextWakeMs() const;

private:
    struct Held {
        quint8 byte;
        qint64 atMs;
    };

    Engraver& engraver_;
    std::optional<Held> held_;
};

} // namespace zuk::sim
