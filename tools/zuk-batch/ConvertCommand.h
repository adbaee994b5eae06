#pragma once

#include "Command.h"

namespace zuk::batch {

// zuk-batch convert PICTURE OUT.bmp [--variant combined|simple] [preparation...]
//                   [PICTURE2 OUT2.bmp ...]
// Prepares each picture with the same choices and converts it with the tables as they stand
// after start-up, the pattern positions carried from one picture to the next, and writes the
// converted picture. A picture that
// cannot be read or written is reported and skipped; the others are still converted.
int runConvert(const QStringList& args, Streams streams);

} // namespace zuk::batch
