#include "JobPlace.h"

#include "simulator/SimTransport.h"

namespace zuk::batch {

bool placeOption(ArgumentReader& reader, JobPlace& place, bool& simSpeedGiven) {
    QString value;
    if (reader.option("port", value)) {
        place.line.port = value;
    } else if (reader.option("dir", value)) {
        place.directory = value;
    } else if (reader.flag("virtual-time")) {
        place.line.virtualTime = true;
    } else if (reader.option("sim-speed", value)) {
        bool ok = false;
        place.line.simSpeed = value.toDouble(&ok);
        simSpeedGiven = true;
        if (!ok || !(place.line.simSpeed > 0))
            reader.mistake(
                QStringLiteral("--sim-speed takes a factor above 0, not \"%1\"").arg(value));
    } else {
        return false;
    }
    return true;
}

void checkPlace(const JobPlace& place, bool simSpeedGiven, ArgumentReader& reader) {
    if (reader.failed())
        return;
    if (place.line.port.isEmpty()) {
        reader.mistake(QStringLiteral("--port PORT is required"));
        return;
    }
    const bool builtIn = sim::isBuiltInPortName(place.line.port);
    if ((place.line.virtualTime || simSpeedGiven) && !builtIn)
        reader.mistake(QStringLiteral("--virtual-time and --sim-speed are for --port sim only"));
    else if (place.line.virtualTime && simSpeedGiven)
        reader.mistake(QStringLiteral("--virtual-time and --sim-speed exclude each other"));
}

} // namespace zuk::batch
