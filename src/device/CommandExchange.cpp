#include "device/CommandExchange.h"

#include "app/Clock.h"
#include "app/MenuStates.h"
#include "app/Screen.h"
#include "app/Texts.h"

#include <cstdlib>

namespace zuk {

namespace {
const QString kPortFault = QStringLiteral("Проверьте исправность порта связи");
const QString kLinkFault = QStringLiteral("Ошибка связи.");
const QString kCommandFailed = QStringLiteral("Ошибка команды ");
const QString kNoAnswer = QStringLiteral("Устройство не отвечает ");
const QString kGreetingName = QStringLiteral("Hi");
constexpr int kPortFaultText = 9001;
constexpr int kLinkFaultText = 9002;
constexpr std::array<quint8, 4> kGreetingBytes{0x1B, 0x01, 0x00, 0x00};
} // namespace

CommandExchange::CommandExchange(SerialPort& port, Screen& screen, MenuStates& menus, Clock& clock,
                                 const Texts& texts)
    : port_(port), screen_(screen), menus_(menus), clock_(clock), texts_(texts) {}

void CommandExchange::setCommand(std::array<quint8, 4> bytes, const QString& name,
                                 qint32 endTimeoutMs) {
    command_.bytes = bytes;
    command_.name = name;
    command_.endTimeoutMs = endTimeoutMs;
}

QByteArray CommandExchange::frame() const {
    QByteArray frame;
    quint8 check = static_cast<quint8>(sequence_);
    for (quint8 b : command_.bytes) {
        frame.append(static_cast<char>(b));
        check ^= b;
    }
    frame.append(static_cast<char>(check));
    return frame;
}

void CommandExchange::failLink(bool setLinkError, const QString& message) {
    linkActive_ = false;
    if (setLinkError)
        linkError_ = true;
    menus_.linkLost();
    screen_.showMessage(MessageKind::Error, message);
}

int CommandExchange::send() {
    linkError_ = false;
    log_.beginLine(sequence_);
    log_.append(command_.name);
    return transmit(false);
}

int CommandExchange::sendFollowOn() {
    if (!linkActive_)
        return 0;
    return transmit(true);
}

int CommandExchange::transmit(bool followOn) {
    for (int refusals = 0;; ++refusals) {
        if (!port_.writeBytes(frame())) {
            screen_.setCursor(CursorShape::Default);
            failLink(true, followOn ? kPortFault : texts_.language(kPortFaultText, kPortFault));
            return 0;
        }
        const int answer = getAnswer(kAccepted + sequence_);
        if (answer == kAccepted + sequence_) {
            port_.writeByte(static_cast<quint8>(sequence_ ^ kConfirmationMask));
            linkActive_ = true;
            return answer;
        }
        // A device that dies between the frames of one command must stop the run too, so
        // a missing answer always sets the link-error flag.
        if (answer == -1 || (answer == kRefused + sequence_ && refusals + 1 >= kMaxRefusals)) {
            failLink(true, kCommandFailed + command_.name);
            return 0;
        }
        if (answer == kRefused + sequence_)
            continue;
        linkActive_ = true;
        return answer;
    }
}

int CommandExchange::endWait() {
    if (!linkActive_)
        return -1;
    log_.append(QStringLiteral("  EndComand  "));
    return waitForAnswer(kCompleted);
}

int CommandExchange::dataWait() {
    if (!linkActive_)
        return -1;
    return waitForAnswer(kDataTaken);
}

int CommandExchange::waitForAnswer(int kind) {
    // A slow completion costs one read and one burst per round; the bound leaves room for
    // the longest end time-out of a command.
    const int maxRounds = kMinWaitRounds + command_.endTimeoutMs / SerialPort::kReadTimeoutMs;
    int answer = -1;
    for (int round = 1;; ++round) {
        answer = getAnswer(kind + sequence_);
        if (answer < 0 || answer == kind + sequence_ || answer == kRefused + next(sequence_))
            break;
        if (kind == kDataTaken && printLineCompletedMeanwhile(answer))
            break;
        if (round >= maxRounds) {
            failLink(true, kCommandFailed + command_.name);
            answer = -1;
            break;
        }
        if (answer == kRefused + sequence_) {
            send();
            if (!linkActive_) {
                answer = -1;
                break;
            }
        }
    }
    if (answer < 0)
        ++unansweredWaits_;
    advanceSequence();
    return answer;
}

// The answer to a data frame of a print line (0x60 + s) was lost, and the device, which had
// all the line's data, engraved it and completed: its completion (0x50 + next(s)) came
// instead, or the burst found it idle two numbers on (0x90 + next(next(s))). The data was
// taken; the line's end wait then finds the device idle and leaves in step.
bool CommandExchange::printLineCompletedMeanwhile(int answer) const {
    return answer == kCompleted + next(sequence_) || answer == kRefused + next(next(sequence_));
}

void CommandExchange::longEndWait() {
    if (!linkActive_)
        return;
    log_.append(QStringLiteral("  LongEndComand  "));
    qint64 start = clock_.monotonicMs();
    int bursts = 0;
    for (;;) {
        const qint64 elapsedMs = clock_.monotonicMs() - start;
        quint8 b = 0;
        const bool arrived = port_.readByte(b);
        log_.appendByte(b);
        if (arrived) {
            longCommandAnswered(b);
            return;
        }
        if (elapsedMs <= command_.endTimeoutMs)
            continue;
        switch (silenceAfterLongCommand(bursts)) {
        case LongWaitSilence::Completed:
            return;
        case LongWaitSilence::WaitAgain:
            start = clock_.monotonicMs();
            continue;
        case LongWaitSilence::Failed:
            // A command sent again that failed has told the operator already.
            if (linkActive_) {
                log_.append(kNoAnswer);
                failLink(true, kNoAnswer + command_.name);
            }
            return;
        }
    }
}

void CommandExchange::longCommandAnswered(quint8 b) {
    if (b == kCompleted + sequence_) {
        log_.append(QStringLiteral(" Ok "));
        screen_.setCursor(CursorShape::Default);
    } else if (b == kRefused + sequence_) {
        log_.append(QStringLiteral(" False "));
    } else {
        // Any other byte ends the wait as if the command had completed; it is not the answer
        // expected.
        countMissedAnswer();
    }
    advanceSequence();
}

// The end time-out of a long command passed without a byte. A lost completion is not yet a
// failed command: the burst asks the device, at most kMaxLongWaitBursts times in one wait.
// - Completed: its completion held back (0x50 + s), or sent and lost, so that idle it refuses
//   the burst at its next number (0x90 + next(s)).
// - Waiting for a confirmation or still busy (0x20 + s, which the burst has just confirmed):
//   one more end time-out.
// - Idle at the same number (0x90 + s): it never took the command (a refusal whose burst
//   answer came garbled was taken for an acceptance); the command goes out again.
// - A garbled answer: asked again. Silence: the command failed.
CommandExchange::LongWaitSilence CommandExchange::silenceAfterLongCommand(int& bursts) {
    while (++bursts <= kMaxLongWaitBursts) {
        const int answer = askForCompletion();
        if (completedMeanwhile(answer)) {
            longCommandAnswered(static_cast<quint8>(kCompleted + sequence_));
            return LongWaitSilence::Completed;
        }
        if (answer < 0)
            break;
        if (answer == kAwaitingConfirmation + sequence_)
            return LongWaitSilence::WaitAgain;
        if (answer == kRefused + sequence_) {
            send();
            return linkActive_ ? LongWaitSilence::WaitAgain : LongWaitSilence::Failed;
        }
    }
    return LongWaitSilence::Failed;
}

void CommandExchange::greeting() {
    log_.beginLine(sequence_);
    // Only the command bytes: a nameless command sent after the greeting keeps the name of
    // the command before it.
    command_.bytes = kGreetingBytes;
    for (int attempt = 1;; ++attempt) {
        if (attempt > kMaxGreetingAttempts) {
            failLink(false, kCommandFailed + kGreetingName);
            return;
        }
        log_.append(kGreetingName);
        if (!port_.writeBytes(frame())) {
            // The message comes first here, then the link is taken down.
            screen_.showMessage(MessageKind::Error, texts_.language(kLinkFaultText, kLinkFault));
            log_.append(kLinkFault);
            linkActive_ = false;
            menus_.linkLost();
            return;
        }
        const int answer = getAnswer(kAccepted + sequence_);
        if (answer == 0xFF) {
            failLink(false, QStringLiteral("Устройство не отвечает Hi"));
            return;
        }
        if (answer == kAccepted + sequence_) {
            port_.writeByte(static_cast<quint8>(sequence_ ^ kConfirmationMask));
            const int completion = getAnswer(kCompleted + sequence_);
            if (completion < 0 || completion == kCompleted + sequence_) {
                greetingSucceeded();
                return;
            }
            if (completion == kRefused + next(sequence_))
                setSequence(completion);
            continue;
        }
        if (answer == -1) {
            failLink(false, QStringLiteral("Устройство не отвечает Hi_Test"));
            return;
        }
        // A refusal that names another number tells the device's own sequence number.
        if ((answer & 0xF0) == kRefused)
            setSequence(answer);
    }
}

void CommandExchange::greetingSucceeded() {
    linkActive_ = true;
    menus_.linkUp();
    advanceSequence();
    screen_.setField(Field::Edit5, QString::number(sequence_));
}

int CommandExchange::getAnswer(int expected) {
    quint8 b = 0;
    const bool arrived = port_.readByte(b);
    log_.appendByte(expected);
    log_.appendByte(b);
    if (arrived && b == expected) {
        log_.append(QStringLiteral("OK"));
        return b;
    }
    if (!arrived || b != kRefused + sequence_)
        countMissedAnswer();
    const int answer = resynchronise();
    log_.append(arrived ? QStringLiteral("<>==>") : QStringLiteral("Not Answer==>"));
    log_.appendByte(std::abs(answer));
    dumpLog();
    return answer;
}

int CommandExchange::resynchronise() {
    screen_.beep();
    port_.setOddParity();
    quint8 b = 0;
    bool arrived = false;
    for (quint8 burstByte : kResyncBurst) {
        port_.writeByte(burstByte);
        if ((arrived = port_.readByte(b)))
            break;
    }
    port_.setEvenParity();
    if (!arrived)
        return -1;
    if (b == kAwaitingConfirmation + sequence_ && !port_.writeByte(kResyncConfirmation))
        return -1;
    return b;
}

void CommandExchange::countMissedAnswer() {
    ++missedAnswers_;
    lastMissedCommand_ = command_.name;
}

int CommandExchange::askForCompletion() {
    countMissedAnswer();
    const int answer = resynchronise();
    log_.append(QStringLiteral("Not Answer==>"));
    log_.appendByte(std::abs(answer));
    dumpLog();
    return answer;
}

void CommandExchange::countError() {
    ++errorCount_;
    screen_.setField(Field::ErorCounter, QString::number(errorCount_));
}

bool CommandExchange::startSelfTesting(const QString& testingFilePath) {
    selfTesting_ = true;
    return testingLog_.open(testingFilePath);
}

void CommandExchange::dumpLog() {
    if (!selfTesting_)
        return;
    QStringList record{QStringLiteral("Ошибка ") + QString::number(errorCount_)};
    record += log_.oldestFirst();
    testingLog_.append(record);
    countError();
}

} // namespace zuk
