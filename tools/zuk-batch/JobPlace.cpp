#include "JobPlace.h"

#include "simulator/SimTransport.h"

#include <QFileInfo>

namespace zuk::batch {

bool placeOption(ArgumentReader& reader, JobPlace& place) {
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
        place.simSpeedGiven = true;
        if (!ok || !(place.line.simSpeed > 0))
            reader.mistake(
                QStringLiteral("--sim-speed takes a factor above 0, not \"%1\"").arg(value));
    } else {
        return false;
    }
    return true;
}

void checkPlace(const JobPlace& place, ArgumentReader& reader) {
    if (reader.failed())
        return;
    if (place.line.port.isEmpty()) {
        reader.mistake(QStringLiteral("--port PORT is required"));
        return;
    }
    const bool builtIn = sim::isBuiltInPortName(place.line.port);
    if ((place.line.virtualTime || place.simSpeedGiven) && !builtIn)
        reader.mistake(QStringLiteral("--virtual-time and --sim-speed are for --port sim only"));
    else if (place.line.virtualTime && place.simSpeedGiven)
        reader.mistake(QStringLiteral("--virtual-time and --sim-speed exclude each other"));
}

void checkPlatePicture(const JobPlace& place, QString& platePng, ArgumentReader& reader) {
    if (reader.failed() || platePng.isEmpty())
        return;
    if (!sim::isBuiltInPortName(place.line.port))
        reader.mistake(QStringLiteral("--plate is for --port sim only"));
    else
        platePng = QFileInfo(platePng).absoluteFilePath();
}

int exitStatus(RunEnd end) {
    switch (end) {
    case RunEnd::Finished:
        return kExitOk;
    case RunEnd::Interrupted:
        return kExitInterrupted;
    case RunEnd::Failed:
        break;
    }
    return kExitFailed;
}

int endBeforeTheJob(BatchJob& batch, int status) {
    batch.shutDown();
    return status;
}

bool startUpForNewJob(BatchJob& batch, const char* command) {
    if (!batch.startUp()) {
        batch.shutDown();
        return false;
    }
    const Program& program = batch.program();
    if (!program.unfinishedJob)
        return true;
    batch.err() << "zuk-batch " << command << ": an unfinished job is waiting in "
                << QDir::toNativeSeparators(program.dir.directory())
                << ": finish it with zuk-batch resume first" << Qt::endl;
    batch.shutDown();
    return false;
}

} // namespace zuk::batch
