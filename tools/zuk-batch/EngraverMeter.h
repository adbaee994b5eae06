#pragma once

#include "device/ByteTransport.h"

#include <QtGlobal>

#include <memory>

namespace zuk::batch {

// Processor time of the whole process so far, in nanoseconds.
qint64 processCpuNs();

// What the built-in engraver took inside the calls on its line: processor time of the calling
// thread and real time. On virtual time the engraver never sleeps, so its share is its own
// processing, which is not the host's. Reading the clocks costs processor time outside the
// measured spans too; `stampOutsideNs` (measured when the line opens) lets that be taken off
// as well.
struct EngraverMeter {
    qint64 cpuNs = 0;
    qint64 wallNs = 0;
    qint64 calls = 0;
    qint64 stampOutsideNs = 0; // a metered call's clock reads outside its measured span

    // The processor time that the engraver and its metering took since `before`.
    qint64 cpuSince(const EngraverMeter& before) const;
    qint64 wallSince(const EngraverMeter& before) const { return wallNs - before.wallNs; }
};

// The line to the built-in engraver with every call metered into `meter`.
std::unique_ptr<ByteTransport> meteredLine(std::unique_ptr<ByteTransport> inner,
                                           EngraverMeter& meter);

} // namespace zuk::batch
