#pragma once

namespace zuk {

class Program;

// The serial line went away by itself (the device's end hung up, its adapter was unplugged),
// told by the port between two handlers. The port is closed, the keep-alive greetings stop,
// the operator is told once, and the window shows the state without a device, where "Тест"
// opens the port again. A run in progress or paused by STOP ends in the fault stop with the
// job kept (the window then hides the abort panel). Nothing happens when the port open now
// has not gone away (it was closed or opened anew since).
void closeLostPort(Program& program);

} // namespace zuk
