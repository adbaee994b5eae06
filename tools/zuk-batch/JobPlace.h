#pragma once

#include "Arguments.h"
#include "BatchJob.h"

#include <QDir>
#include <QString>

namespace zuk::batch {

// Where a job runs: the options every command that runs a job on a device shares (--port,
// --dir, --virtual-time, --sim-speed).
struct JobPlace {
    QString directory = QDir::currentPath();
    LineChoice line;
    bool simSpeedGiven = false;
};

// Takes one of the place's options; false when the next argument is none of them.
bool placeOption(ArgumentReader& reader, JobPlace& place);
// After the last argument: the port given, the virtual time and the speed-up only for the
// built-in engraver and not together. Mistakes go to the reader.
void checkPlace(const JobPlace& place, ArgumentReader& reader);
// --plate PNG: only for the built-in engraver, made absolute. Mistakes go to the reader.
void checkPlatePicture(const JobPlace& place, QString& platePng, ArgumentReader& reader);

// The exit status of a run's end: 0 finished, 3 interrupted and kept, 1 otherwise.
int exitStatus(RunEnd end);
// The start-up before a new job; false (told why, the program shut down) when the device does
// not answer or an unfinished job waits in the program directory.
bool startUpForNewJob(BatchJob& batch, const char* command);
// Ends the command before a job ran: the program shuts down as the window's close does.
int endBeforeTheJob(BatchJob& batch, int status);

} // namespace zuk::batch
