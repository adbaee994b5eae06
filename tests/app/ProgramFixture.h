#pragma once

#include "app/Program.h"
#include "support/RecordingScreen.h"
#include "support/ScriptedLine.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zuk::test {

// The program in a fresh program directory, on a scripted line and virtual time.
class ProgramFixture : public ::testing::Test {
protected:
    // Answers a greeting, a confirmed command and its completion at the current count.
    void answerCommands(int count) {
        for (int i = 0; i < count; ++i, ++sequence_)
            line.answer({0xA0 + (sequence_ & 15), 0x50 + (sequence_ & 15)});
    }
    // The four command bytes of every frame written, in order (confirmations skipped).
    QList<QByteArray> commandsWritten() const {
        QList<QByteArray> frames;
        const QByteArray bytes = line.writtenBytes();
        for (qsizetype i = 0; i + 5 <= bytes.size(); i += 6)
            frames << bytes.mid(i, 4).toHex();
        return frames;
    }

    QTemporaryDir dir;
    VirtualClock clock;
    ScriptedLine line{clock};
    RecordingScreen screen;
    Program program{screen, clock, line.factory(), ProgramDir(dir.path())};

private:
    int sequence_ = 0;
};

} // namespace zuk::test
