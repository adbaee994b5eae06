#pragma once

#include "Command.h"

namespace zuk::batch {

// zuk-batch plan PICTURE --plan OUT.txt [--dump DUMP.txt] [--variant combined|simple]
//                [--mode double|single]
// Opens and converts the picture as a fresh program start would, then builds the engraving
// plan as "Работа" does and writes it (and the gray-grid dump) byte for byte as the program
// writes "123123123.txt" (and "123Bm.txt").
int runPlan(const QStringList& args, Streams streams);

} // namespace zuk::batch
