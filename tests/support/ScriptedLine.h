#pragma once

#include "app/Clock.h"
#include "device/ByteTransport.h"

#include <QByteArray>

#include <deque>
#include <memory>
#include <vector>

namespace zuk::test {

// A serial line whose device side is a script: each read takes the next scripted answer
// (a byte at once, or silence for the whole read time on the virtual clock). Everything the
// host writes is recorded with its parity, and every read records the time limit it asked.
class ScriptedLine {
public:
    static constexpr int kSilence = -1;

    struct Written {
        quint8 byte;
        Parity parity;
    };

    explicit ScriptedLine(VirtualClock& clock) : clock_(clock) {}

    // Queues answers for the coming reads; kSilence makes a read time out.
    void answer(std::initializer_list<int> bytes) { answers_.insert(answers_.end(), bytes); }
    void answerRepeatedly(int byte, int times) { answers_.insert(answers_.end(), times, byte); }
    // Writes fail from the given write number on (0 = the first write).
    void failWritesFrom(int writeNumber) { failWritesFrom_ = writeNumber; }
    // A factory for the serial port: every open gets a line on this script, unless opening
    // is made to fail.
    TransportFactory factory();
    void failOpening(bool fail) { failOpening_ = fail; }

    const std::vector<Written>& written() const { return written_; }
    QByteArray writtenBytes() const;
    // The bytes written since the last call.
    QByteArray takeWritten();
    const std::vector<int>& readTimeouts() const { return readTimeouts_; }
    std::size_t pendingAnswers() const { return answers_.size(); }
    Parity parity() const { return parity_; }
    int opens() const { return opens_; }

private:
    class Transport;

    VirtualClock& clock_;
    std::deque<int> answers_;
    std::vector<Written> written_;
    std::vector<int> readTimeouts_;
    Parity parity_ = Parity::Even;
    int failWritesFrom_ = -1;
    bool failOpening_ = false;
    int opens_ = 0;
    std::size_t taken_ = 0;
};

// A silent read in a script of answers, short enough to line up with the bytes around it.
inline constexpr int S = ScriptedLine::kSilence;

} // namespace zuk::test
