#include "EngraverMeter.h"

#include <ctime>

namespace zuk::batch {

namespace {

qint64 nanoseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// Both clocks of one end of a metered call. The processor time is the thread's: the time the
// process waits (for the disk, for other processes on the machine) is not the engraver's.
struct Stamp {
    qint64 cpuNs = nanoseconds(CLOCK_THREAD_CPUTIME_ID);
    qint64 wallNs = nanoseconds(CLOCK_MONOTONIC);
};

// The processor time of one stamp. A metered call takes two: about one stamp's worth falls
// inside its measured span, the other outside it.
qint64 stampCostNs() {
    constexpr int kStamps = 20000;
    const Stamp first;
    for (int k = 0; k < kStamps; ++k) {
        [[maybe_unused]] const Stamp stamp;
    }
    const Stamp last;
    return (last.cpuNs - first.cpuNs) / (kStamps + 1);
}

class MeteredLine final : public ByteTransport {
public:
    MeteredLine(std::unique_ptr<ByteTransport> inner, EngraverMeter& meter)
        : inner_(std::move(inner)), meter_(meter) {}

    bool setParity(Parity parity) override {
        return metered([&] { return inner_->setParity(parity); });
    }
    bool writeByte(quint8 byte) override {
        return metered([&] { return inner_->writeByte(byte); });
    }
    bool writeBytes(QByteArrayView bytes) override {
        return metered([&] { return inner_->writeBytes(bytes); });
    }
    std::optional<quint8> readByte(int timeoutMs) override {
        return metered([&] { return inner_->readByte(timeoutMs); });
    }

private:
    template <typename F> auto metered(F&& call) -> decltype(call()) {
        const Stamp start;
        auto result = call();
        // cppcheck-suppress unassignedVariable ; its members' initialisers read the clocks
        const Stamp end;
        meter_.cpuNs += end.cpuNs - start.cpuNs;
        meter_.wallNs += end.wallNs - start.wallNs;
        ++meter_.calls;
        return result;
    }

    std::unique_ptr<ByteTransport> inner_;
    EngraverMeter& meter_;
};

} // namespace

qint64 processCpuNs() {
    return nanoseconds(CLOCK_PROCESS_CPUTIME_ID);
}

qint64 EngraverMeter::cpuSince(const EngraverMeter& before) const {
    return cpuNs - before.cpuNs + (calls - before.calls) * stampOutsideNs;
}

std::unique_ptr<ByteTransport> meteredLine(std::unique_ptr<ByteTransport> inner,
                                           EngraverMeter& meter) {
    meter.stampOutsideNs = stampCostNs();
    return std::make_unique<MeteredLine>(std::move(inner), meter);
}

} // namespace zuk::batch
