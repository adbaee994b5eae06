#include "fuzz/support/FuzzProgram.h"

#include "fuzz/support/FuzzSupport.h"

namespace zuk::fuzz {

namespace {

struct Shared {
    test::RecordingScreen screen;
    VirtualClock clock;
    TransportFactory line;
    Program program{screen, clock,
                    [this](const QString& name) { return line ? line(name) : nullptr; },
                    ScratchDir::dir()};
};

Shared& shared() {
    static Shared instance;
    return instance;
}

} // namespace

Program& FuzzProgram::start(TransportFactory line) {
    Shared& s = shared();
    s.line = std::move(line);
    s.screen = test::RecordingScreen();
    Program& program = s.program;
    program.port.closePort();
    program.exchange.setSequence(0);
    program.exchange.setLinkError(false);
    program.timers = {};
    program.formCreate();
    return program;
}

test::RecordingScreen& FuzzProgram::screen() {
    return shared().screen;
}

VirtualClock& FuzzProgram::clock() {
    return shared().clock;
}

} // namespace zuk::fuzz
