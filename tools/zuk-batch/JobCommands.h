#pragma once

#include "Command.h"

namespace zuk::batch {

// zuk-batch engrave PICTURE --port PORT [...]: a whole job as the operator does it in the
// window, from the start-up to the shutdown.
int runEngrave(const QStringList& args, Streams streams);
// zuk-batch resume --port PORT [...]: the unfinished job of the program directory finished.
int runResume(const QStringList& args, Streams streams);

const char* engraveUsage();
const char* engraveDetails();
extern const char* const kResumeUsage;
extern const char* const kResumeDetails;

} // namespace zuk::batch
