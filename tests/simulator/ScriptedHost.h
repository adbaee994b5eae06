#pragma once

// A host written byte by byte from the line protocol, for driving the simulated engraver in
// tests. It keeps its own sequence number and checks every answer with gtest expectations.

#include "app/Clock.h"
#include "simulator/Engraver.h"
#include "simulator/SimTransport.h"

#include <QByteArray>
#include <QString>

#include <initializer_list>
#include <memory>
#include <optional>

namespace zuk::sim::test {

inline quint8 next(quint8 s) {
    return static_cast<quint8>((s + 1) & 0x0F);
}

// Digits "0".."9" packed two per byte, padded with "0" to whole data frames of four bytes.
QByteArray packDots(const QByteArray& digits);

class ScriptedHost {
public:
    explicit ScriptedHost(const SimOptions& options = {});

    VirtualClock clock;
    std::shared_ptr<Engraver> device;
    SimTransport line;
    quint8 s = 0;

    Engraver& engraver() { return *device; }

    void write(std::initializer_list<int> bytes, Parity parity = Parity::Even);
    void writeBytes(const QByteArray& bytes, Parity parity = Parity::Even);
    // The five bytes of a frame at the host's sequence number (or at `seq`).
    static QByteArray frame(const QByteArray& fourBytes, quint8 seq);
    void writeFrame(const QByteArray& fourBytes) { writeBytes(frame(fourBytes, s)); }
    std::optional<quint8> read(int timeoutMs = 500) { return line.readByte(timeoutMs); }
    // Reads one byte and expects it to be `expected`.
    void expectRead(int expected, int timeoutMs = 500);
    void expectSilence(int timeoutMs = 500);

    // Frame, 0xA0 + s, confirmation. Returns the answer byte read.
    std::optional<quint8> sendAndConfirm(const QByteArray& fourBytes);
    // A whole short command: frame, acceptance, confirmation, completion 0x50 + s in one read.
    void command(const QByteArray& fourBytes);
    // A whole long command: the completion may take up to timeoutMs of reads.
    void longCommand(const QByteArray& fourBytes, int timeoutMs);
    void greet() { command(QByteArray::fromHex("1B010000")); }

    // The burst with odd parity, one read after each byte, as the host resynchronises; writes
    // 0x03 when the answer is 0x20 + s. Returns the first answer or nothing.
    std::optional<quint8> burst();
    // The host's completion wait: one read, a burst when it fails, until 0x50 + s (or 0x90 +
    // next(s)) arrives. Advances s. Returns the last answer and counts the bursts sent.
    std::optional<quint8> endWait(quint8 kind = 0x50, int* bursts = nullptr);
    void expectEndWait(quint8 kind, int* bursts = nullptr);

    // A command as the host's exchange sends it: the frame, the answer read once and a burst
    // when it is wrong, the frame again after 0x90 + s, the confirmation, then endWait().
    // Returns the answer that ended the wait.
    std::optional<quint8> hostCommand(const QByteArray& fourBytes, int* bursts = nullptr);

    // A print line: header (with a greeting first for 1B 20 when n is a multiple of 256 as
    // the host does), completion, data frames answered 0x60 + s, final completion.
    void printLine(bool forward, const QByteArray& digits, int* bursts = nullptr);
    // SetStrike with the 32 profile bytes: header and eight frames, each a full command.
    void setStrike(const QByteArray& thirtyTwoBytes);
    // "How": returns the four position bytes.
    QByteArray how();
    QByteArray monitor();
    quint8 readMemory(quint8 address);
};

// The profile bytes the program sends for four levels at S = step factor x timing.
QByteArray strikeProfileFor(int s, const int levels[4]);

// Whether the engraver counted a protocol violation whose description contains `part`.
bool hasViolation(const Engraver& e, const QString& part);

} // namespace zuk::sim::test
