#pragma once

#include "device/ByteTransport.h"

namespace zuk {

class Clock;

// How the program opens its port by name: "sim" is the built-in simulated engraver on the
// given clock; "com1".."com8" and device paths are real serial lines.
TransportFactory systemTransports(Clock& clock);

} // namespace zuk
