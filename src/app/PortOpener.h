#pragma once

#include "device/ByteTransport.h"
#include "simulator/SimOptions.h"

#include <memory>

namespace zuk {

class Clock;

namespace sim {
class Engraver;
}

// How the program opens its port by name: "sim" is the built-in simulated engraver on the
// given clock (one device for the whole run, so it keeps its state when the port is closed
// and opened again); "com1".."com8" and device paths are real serial lines.
TransportFactory systemTransports(Clock& clock, const sim::SimOptions& simulator = {});
// The same with the built-in engraver given, for a caller that looks at the device's state.
TransportFactory systemTransports(Clock& clock, std::shared_ptr<sim::Engraver> engraver);

} // namespace zuk
