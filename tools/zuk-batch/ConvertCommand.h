#pragma once

#include "Command.h"

namespace zuk::batch {

// zuk-batch convert IN.bmp OUT.bmp [--variant combined|simple] [IN2.bmp OUT2.bmp ...]
// Converts each picture with the tables as they stand after start-up, the pattern positions
// carried from one picture to the next, and writes the converted picture. A picture that
// cannot be read or written is reported and skipped; the others are still converted.
int runConvert(const QStringList& args, Streams streams);

} // namespace zuk::batch
