#pragma once

#include "Command.h"

namespace zuk::batch {

// zuk-batch frame PICTURE --port PORT [...]: "Обвести рамку" for the picture placed as
// engrave places it.
int runFrame(const QStringList& args, Streams streams);

const char* frameUsage();
extern const char* const kFrameDetails;

} // namespace zuk::batch
