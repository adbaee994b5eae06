#pragma once

#include "support/ProgramRun.h"

namespace zuk::test {

// What one run of the zuk-batch tool left: its exit status and both output streams.
using BatchRun = ProgramRun;

// Runs the zuk-batch built with the tests (a test folder that uses it has the tool as a build
// dependency) and waits for it, for a minute at most.
inline BatchRun runBatch(const QStringList& args) {
    return runProgram(QStringLiteral(ZUK_BINARY_DIR "/zuk-batch"), args);
}

} // namespace zuk::test
