#pragma once

#include "Arguments.h"
#include "BatchJob.h"

#include <QDir>
#include <QString>

namespace zuk::batch {

// Where the job runs: the options engrave, resume and frame share.
struct JobPlace {
    QString directory = QDir::currentPath();
    LineChoice line;
};

// Takes one of the options of where a job runs (--port, --dir, --virtual-time, --sim-speed);
// false when the next argument is none of them.
bool placeOption(ArgumentReader& reader, JobPlace& place, bool& simSpeedGiven);
// After the last argument: a port given, the built-in engraver's options only with it.
void checkPlace(const JobPlace& place, bool simSpeedGiven, ArgumentReader& reader);

} // namespace zuk::batch
