#pragma once

#include "device/ByteTransport.h"
#include "simulator/SimOptions.h"

namespace zuk {

class Clock;

// How the program opens its port by name: "sim" is the built-in simulated engraver on the
// given clock (one device for the whole run, so it keeps its state when the port is closed
// and opened again); "com1".."com8" and device paths are real serial lines.
TransportFactory systemTransports(Clock& clock, const sim::SimOptions& simulator = {});

} // namespace zuk
