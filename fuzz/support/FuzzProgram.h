#pragma once

#include "app/Clock.h"
#include "app/Program.h"
#include "support/RecordingScreen.h"

namespace zuk::fuzz {

// The program the targets start for every input. It is built once per process (a program's
// working-field view alone is 18 MB before the configuration is read) and started anew for
// each input by its own start-up, which reads the configuration and the recovery file of the
// scratch directory, reopens the port and repaints the view.
class FuzzProgram {
public:
    // Starts the program in the (fresh) scratch directory with `line` behind every port it
    // opens: the exchange as a new program has it, the screen cleared, then formCreate().
    static Program& start(TransportFactory line);
    static test::RecordingScreen& screen();
    static VirtualClock& clock();
};

} // namespace zuk::fuzz
