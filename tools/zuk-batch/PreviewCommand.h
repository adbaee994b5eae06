#pragma once

#include "Command.h"

namespace zuk::batch {

// zuk-batch preview PICTURE --out PLATE.png [...]: the job engrave would run, run instead on a
// simulated engraver of its own; the plate as a PNG, the estimate and the modelled time.
int runPreview(const QStringList& args, Streams streams);

const char* previewUsage();
const char* previewDetails();

} // namespace zuk::batch
