#include "app/PortOpener.h"

#include "device/QtSerialTransport.h"
#include "device/SerialPort.h"

namespace zuk {

TransportFactory systemTransports(Clock& clock) {
    (void)clock;
    return [](const QString& portName) -> std::unique_ptr<ByteTransport> {
        return QtSerialTransport::open(devicePathForPort(portName));
    };
}

} // namespace zuk
