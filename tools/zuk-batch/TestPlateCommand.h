#pragma once

#include "Command.h"

namespace zuk::batch {

// zuk-batch test-plate --forces FROM,TO,STEP --port PORT [...]: the force test plate struck
// as the window strikes it, one small job of up to four patches after another.
int runTestPlate(const QStringList& args, Streams streams);

extern const char* const kTestPlateUsage;
extern const char* const kTestPlateDetails;

} // namespace zuk::batch
