#pragma once

#include "testplate/TestPlate.h"

#include <QString>

namespace zuk {

// What the test plate's window shows: the plate as planned (patches, jobs, lines and the
// estimate) and where its run stands.
QString plateSummaryText(const TestPlate& plate, const PlateProgress& whole, qint64 estimate);
QString plateProgressText(const PlateProgress& progress);

} // namespace zuk
