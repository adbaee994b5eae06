#pragma once

#include "app/Clock.h"
#include "app/MenuStates.h"
#include "app/Texts.h"
#include "device/CommandExchange.h"
#include "device/SerialPort.h"
#include "support/RecordingScreen.h"
#include "support/ScriptedLine.h"

#include <gtest/gtest.h>

namespace zuk::test {

inline QByteArray hexBytes(const char* hex) {
    return QByteArray::fromHex(hex);
}

// The exchange on a scripted line, a recording screen and virtual time.
class ExchangeFixture : public ::testing::Test {
protected:
    ExchangeFixture() { port.openPort(); }

    VirtualClock clock;
    ScriptedLine line{clock};
    RecordingScreen screen;
    Texts texts;
    SerialPort port{line.factory()};
    MenuStates menus{screen};
    CommandExchange exchange{port, screen, menus, clock, texts};
};

} // namespace zuk::test
