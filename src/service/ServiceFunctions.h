#pragma once

namespace zuk {

class Program;

// "Тест": reopens the port, greets the device, reports whether it is ready with its
// identification text, and offers an unfinished job.
void testDevice(Program& program);

// "Разогрев": one warm-up series of 20 steps of three warm-up strokes, with progress.
void warmUpSeries(Program& program);

// "Self Testing" switched on or off: on, testing.txt is created anew and failed exchanges
// are logged into it.
void switchSelfTesting(Program& program, bool on);

} // namespace zuk
