#pragma once

// The built-in line to a simulated engraver.
//
// Wiring the port name "sim" (done by the program's port code, not here):
//
//     auto engraver = zuk::sim::makeEngraver(options);      // one device for the whole run
//     TransportFactory factory = [engraver, &clock, real](const QString& name) {
//         if (zuk::sim::isBuiltInPortName(name))
//             return zuk::sim::openBuiltInEngraver(engraver, clock);
//         return real(name);
//     };
//
// The engraver outlives the lines opened to it, as a real device outlives the port being
// closed and opened again. Tests keep the shared_ptr to look at the engraver's state;
// openBuiltInEngraver(clock, options) is the short form for a fresh device nobody else sees.
//
// The line and the host share one Clock. readByte(timeout) returns the next answer byte that
// falls due within the timeout, after sleeping the clock until it is due; otherwise it sleeps
// the clock for the whole timeout and returns nothing. On a VirtualClock a 3.5 s silence
// therefore costs no real time; on the program's SystemClock the device's modelled durations
// pass in real time, divided by SimOptions::speed.

#include "app/Clock.h"
#include "device/ByteTransport.h"
#include "simulator/Engraver.h"
#include "simulator/SimOptions.h"

#include <memory>

namespace zuk::sim {

class SimTransport final : public ByteTransport {
public:
    SimTransport(std::shared_ptr<Engraver> engraver, Clock& clock);

    bool setParity(Parity parity) override;
    bool writeByte(quint8 byte) override;
    std::optional<quint8> readByte(int timeoutMs) override;
    void setWaitHook(const std::function<void()>& hook) override { waitHook_ = hook; }

    Engraver& engraver() { return *engraver_; }

private:
    std::shared_ptr<Engraver> engraver_;
    // Sleeps the clock until `atMs`, in slices with the wait hook between them when one is set.
    void sleepUntil(qint64 atMs);

    Clock& clock_;
    Parity parity_ = Parity::Even;
    std::function<void()> waitHook_;
};

// The port name that selects the built-in engraver.
inline bool isBuiltInPortName(const QString& portName) {
    return portName == QLatin1String("sim");
}

std::shared_ptr<Engraver> makeEngraver(const SimOptions& options = {});
// A line to an engraver that already exists (and keeps its state between lines).
std::unique_ptr<ByteTransport> openBuiltInEngraver(std::shared_ptr<Engraver> engraver,
                                                   Clock& clock);
// A line to a new engraver of its own.
std::unique_ptr<ByteTransport> openBuiltInEngraver(Clock& clock, const SimOptions& options = {});

} // namespace zuk::sim
