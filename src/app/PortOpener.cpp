#include "app/PortOpener.h"

#include "device/QtSerialTransport.h"
#include "device/SerialPort.h"
#include "simulator/SimTransport.h"

namespace zuk {

TransportFactory systemTransports(Clock& clock, const sim::SimOptions& simulator) {
    return systemTransports(clock, sim::makeEngraver(simulator));
}

TransportFactory systemTransports(Clock& clock, std::shared_ptr<sim::Engraver> engraver) {
    return [&clock, engraver = std::move(engraver)](
               const QString& portName) -> std::unique_ptr<ByteTransport> {
        if (sim::isBuiltInPortName(portName))
            return sim::openBuiltInEngraver(engraver, clock);
        return QtSerialTransport::open(devicePathForPort(portName));
    };
}

} // namespace zuk
