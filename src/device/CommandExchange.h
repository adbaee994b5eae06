#pragma once

#include "device/ExchangeLog.h"
#include "device/SerialPort.h"
#include "device/TestingLog.h"

#include <QString>

#include <array>

namespace zuk {

class Clock;
class MenuStates;
class Screen;
class Texts;

// The command that the next send puts on the line: four bytes, the name shown in the
// exchange log and in messages, and the end time-out of a long command.
struct CurrentCommand {
    std::array<quint8, 4> bytes{};
    QString name;
    qint32 endTimeoutMs = 0;
};

// The framed exchange with the engraving device. Every command goes out as a five-byte frame
// (four bytes and a check byte that carries the 4-bit sequence number), is acknowledged and
// confirmed, and is then waited for. A missing or wrong answer starts a resynchronisation
// burst with odd parity. Failures never reach the caller as exceptions: they clear the
// link-active flag, switch the window to the link lost state and tell the operator.
//
// A misbehaving device cannot keep any loop here going: refusals of one frame, rounds of a
// completion wait and attempts of a greeting are all bounded, and reaching a bound is a
// failed command ("Ошибка команды " and the command name, link lost).
class CommandExchange {
public:
    // Answer kinds; the low nibble of every answer byte is a sequence number.
    static constexpr int kAccepted = 0xA0;
    static constexpr int kRefused = 0x90;
    static constexpr int kCompleted = 0x50;
    static constexpr int kDataTaken = 0x60;
    static constexpr int kAwaitingConfirmation = 0x20;
    static constexpr quint8 kResyncConfirmation = 0x03;
    static constexpr quint8 kConfirmationMask = 0x22;
    static constexpr std::array<quint8, 6> kResyncBurst{0x81, 0x81, 0x18, 0x18, 0x88, 0x0F};

    // Bounds on loops a device could keep going.
    static constexpr int kMaxRefusals = 16;
    static constexpr int kMaxGreetingAttempts = 16;
    static constexpr int kMinWaitRounds = 16;
    static constexpr int kMaxLongWaitBursts = 4;

    CommandExchange(SerialPort& port, Screen& screen, MenuStates& menus, Clock& clock,
                    const Texts& texts);

    static int next(int sequence) { return (sequence + 1) & 0x0F; }

    // Full send of the current command, with a new log line. The answer byte, 0 on failure.
    int send();
    // A further frame of the current command (print line data); no new log line.
    int sendFollowOn();
    // Waits for 0x50 + s after a short command; the last answer, or -1.
    int endWait();
    // Waits for 0x60 + s after a data frame; the last answer, or -1.
    int dataWait();
    // Waits for the completion of a long command, bounded by its end time-out. A completion
    // that does not come in time is asked for with a resynchronisation before the command
    // counts as failed.
    void longEndWait();
    // The "Hi" exchange that checks the link and synchronises the sequence number.
    void greeting();
    // Reads one answer; on a mismatch resynchronises and returns what that yields.
    int getAnswer(int expected);
    // The odd-parity burst; the byte that answered it, or -1.
    int resynchronise();
    // Asks with the burst for a completion that did not come in time (a missed answer); the
    // byte that answered the burst, or -1.
    int askForCompletion();
    // An answer came, but not the one expected (a garbled completion): counted with the
    // missed ones.
    void countMissedAnswer();
    // The burst's answer says that the command has completed: the device gives the completion
    // it held back (0x50 + s), or, idle, refuses at its next number (0x90 + next(s)).
    bool completedMeanwhile(int burstAnswer) const {
        return burstAnswer == kCompleted + sequence_ || burstAnswer == kRefused + next(sequence_);
    }

    // Link failure: clears the link-active flag (and sets the link-error flag when asked),
    // enters the link lost state and shows the message.
    void failLink(bool setLinkError, const QString& message);

    CurrentCommand& command() { return command_; }
    const CurrentCommand& command() const { return command_; }
    void setCommand(std::array<quint8, 4> bytes, const QString& name, qint32 endTimeoutMs);
    void setCommandBytes(std::array<quint8, 4> bytes) { command_.bytes = bytes; }
    // The five bytes that a send of the current command writes.
    QByteArray frame() const;

    int sequence() const { return sequence_; }
    void setSequence(int sequence) { sequence_ = sequence & 0x0F; }
    void advanceSequence() { sequence_ = next(sequence_); }

    bool linkActive() const { return linkActive_; }
    void setLinkActive(bool active) { linkActive_ = active; }
    bool linkError() const { return linkError_; }
    void setLinkError(bool error) { linkError_ = error; }

    // Completion and data waits that ended without the device's answer (-1), counted since
    // start-up: the command may or may not have been carried out.
    int unansweredWaits() const { return unansweredWaits_; }
    // Answers that did not come as expected, counted since start-up: lost or garbled bytes
    // (whether or not a resynchronisation repaired them) and completions of long commands that
    // never came. A refusal, which only asks for the frame again, is not one of them.
    int missedAnswers() const { return missedAnswers_; }
    // The name of the command whose answer was missed last.
    const QString& lastMissedCommand() const { return lastMissedCommand_; }

    ExchangeLog& log() { return log_; }
    quint16 errorCount() const { return errorCount_; }
    // Counts one more error and shows the count.
    void countError();

    // Self-testing: failed answers dump the exchange log into testing.txt.
    bool startSelfTesting(const QString& testingFilePath);
    void setSelfTesting(bool on) { selfTesting_ = on; }
    bool selfTesting() const { return selfTesting_; }
    void closeTestingLog() { testingLog_.close(); }

    SerialPort& port() { return port_; }
    Screen& screen() { return screen_; }
    MenuStates& menus() { return menus_; }
    Clock& clock() { return clock_; }
    const Texts& texts() const { return texts_; }

private:
    enum class LongWaitSilence { Completed, WaitAgain, Failed };

    int transmit(bool followOn);
    int waitForAnswer(int kind);
    bool printLineCompletedMeanwhile(int answer) const;
    void longCommandAnswered(quint8 b);
    LongWaitSilence silenceAfterLongCommand(int& bursts);
    void dumpLog();
    void greetingSucceeded();

    SerialPort& port_;
    Screen& screen_;
    MenuStates& menus_;
    Clock& clock_;
    const Texts& texts_;

    int sequence_ = 0;
    bool linkActive_ = true;
    bool linkError_ = false;
    CurrentCommand command_;
    ExchangeLog log_;
    quint16 errorCount_ = 0;
    int unansweredWaits_ = 0;
    int missedAnswers_ = 0;
    QString lastMissedCommand_;
    bool selfTesting_ = false;
    TestingLog testingLog_;
};

} // namespace zuk
