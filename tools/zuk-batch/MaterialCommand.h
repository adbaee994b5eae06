#pragma once

#include "Command.h"

namespace zuk::batch {

// zuk-batch material list|save NAME|delete NAME [--dir DIR]: the material profiles of the
// program directory, as the properties panel's "Материал" keeps them.
int runMaterial(const QStringList& args, Streams streams);

const char* materialUsage();
const char* materialDetails();

} // namespace zuk::batch
