#include "device/CommandSet.h"

#include "app/Clock.h"
#include "app/MenuStates.h"
#include "app/Screen.h"

#include <QStringDecoder>

#include <algorithm>
#include <limits>

namespace zuk {

namespace {

constexpr quint8 kCommand = 0x1B;
constexpr int kDataAttempts = 10; // reads of 500 ms or writes for one "How" data byte
const QString kDeviceSilent = QStringLiteral("Устройство не отвечает");

qint32 clampToInt32(qint64 value) {
    return static_cast<qint32>(std::clamp<qint64>(value, std::numeric_limits<qint32>::min(),
                                                  std::numeric_limits<qint32>::max()));
}

quint8 highByte(int count) {
    return static_cast<quint8>((count >> 8) & 0xFF);
}
quint8 lowByte(int count) {
    return static_cast<quint8>(count & 0xFF);
}

} // namespace

qint32 CommandSet::verticalMoveTimeout(qint64 steps) const {
    const qint64 travel = qint64{stepTimeFactor} * 3 * motorParameter60 * steps / 100;
    return clampToInt32(travel + linkDelayMs + 3000);
}

qint32 CommandSet::horizontalMoveTimeout(qint64 steps) const {
    const qint64 travel = steps * motorParameter60 * stepTimeFactor * 3 / 100;
    return clampToInt32(travel + linkDelayMs + 1000);
}

void CommandSet::resetError(int fieldWidth, int fieldHeight) {
    if (!exchange_.linkActive())
        return;
    const qint32 timeout = clampToInt32(qint64{fieldHeight} * 10 + 10000 + qint64{fieldWidth} * 6);
    exchange_.setCommand({kCommand, 0x00, 0x00, 0x00}, QStringLiteral("Reset eror"), timeout);
    exchange_.screen().setField(Field::Edit5, QString::number(timeout));
    exchange_.screen().setField(Field::Edit6,
                                QStringLiteral("%1 %2").arg(fieldHeight).arg(fieldWidth));
    exchange_.screen().setCursor(CursorShape::Busy);
    exchange_.send();
    position = {};
    headPositionUnknown = false;
    exchange_.longEndWait();
}

void CommandSet::move(quint8 code, qint64 steps, const QString& name, bool vertical) {
    while (steps > 0 && exchange_.linkActive()) {
        const int chunk = static_cast<int>(std::min<qint64>(steps, kMaxMoveSteps));
        const int sent = chunk - 1;
        const qint32 timeout = vertical ? verticalMoveTimeout(chunk) : horizontalMoveTimeout(chunk);
        exchange_.setCommand({kCommand, code, highByte(sent), lowByte(sent)}, name, timeout);
        exchange_.screen().setCursor(CursorShape::Busy);
        exchange_.send();
        exchange_.longEndWait();
        steps -= chunk;
    }
}

void CommandSet::stepUp(qint64 steps) {
    move(0x10, steps, QStringLiteral("StepUp"), true);
}
void CommandSet::stepDown(qint64 steps) {
    move(0x11, steps, QStringLiteral("StepDown"), true);
}
void CommandSet::left(qint64 columns) {
    move(0x12, columns, QStringLiteral("Left"), false);
}
void CommandSet::right(qint64 columns) {
    move(0x13, columns, QStringLiteral("Right"), false);
}

void CommandSet::shortCommand(std::array<quint8, 4> bytes, const QString& name, qint32 timeoutMs) {
    exchange_.setCommand(bytes, name, timeoutMs);
    exchange_.send();
    exchange_.endWait();
}

void CommandSet::needleUp() {
    if (exchange_.linkActive())
        shortCommand({kCommand, 0xFF, 0x01, 0x01}, QStringLiteral("Up"), 100);
}

void CommandSet::needleDown(quint8 mode) {
    if (exchange_.linkActive())
        shortCommand({kCommand, 0xFE, mode, mode}, QStringLiteral("Put"), 100);
}

void CommandSet::off() {
    if (!exchange_.linkActive())
        return;
    shortCommand({kCommand, 0xFD, 0x01, 0x01}, QStringLiteral("Off"), 1000);
    exchange_.setSequence(exchange_.sequence() + 15);
}

void CommandSet::warmUpStroke() {
    if (!exchange_.linkActive())
        return;
    // The stroke has no name of its own: the log keeps the name of the command before.
    exchange_.setCommand({kCommand, 0x03, 0x01, 0x01}, exchange_.command().name, 5000);
    exchange_.send();
    exchange_.longEndWait();
}

bool CommandSet::progXMotor(quint8 parameter, quint8 value) {
    return programMotor(0x40, QStringLiteral("ProgX_Motor"), kDeviceSilent + "ProgX_Motor",
                        parameter, value);
}

bool CommandSet::progYMotor(quint8 parameter, quint8 value) {
    return programMotor(0x41, QStringLiteral("ProgY_Motor"), kDeviceSilent + " ProgY_Motor",
                        parameter, value);
}

bool CommandSet::programMotor(quint8 code, const QString& name, const QString& silentMessage,
                              quint8 parameter, quint8 value) {
    if (!exchange_.linkActive())
        return false;
    exchange_.setCommand({kCommand, code, parameter, value}, name, 100);
    exchange_.send();
    const bool taken = exchange_.linkActive();
    // The driver's completion is read directly, without the end wait; it is read also after
    // a failed send, so that a driver that stays silent is named.
    quint8 answer = 0;
    if (!exchange_.port().readByte(answer) && !(taken && completionAskedFor(answer))) {
        exchange_.failLink(false, silentMessage);
        return false;
    }
    // A byte after a frame the device never took does not bring the link back.
    if (!taken)
        return false;
    // The driver took the setting: the mirror follows it, also when the completion byte is
    // not the expected one, so that move time-outs and strike profiles use what the device
    // applied.
    if (parameter == kResolutionParameter)
        motorParameter60 = value;
    else if (parameter == kStepTimeParameter)
        stepTimeFactor = value;
    const bool confirmed = answer == CommandExchange::kCompleted + exchange_.sequence();
    if (!confirmed)
        exchange_.countMissedAnswer();
    exchange_.setLinkActive(true);
    exchange_.menus().linkUp();
    exchange_.advanceSequence();
    return confirmed;
}

// A motor setting the device took but whose completion did not come: the burst asks for it.
// The device has completed (the answer is then the completion), or it was still waiting for
// the confirmation, which the burst has just given: its completion is read once more.
bool CommandSet::completionAskedFor(quint8& answer) {
    const int burstAnswer = exchange_.askForCompletion();
    if (exchange_.completedMeanwhile(burstAnswer)) {
        answer = static_cast<quint8>(CommandExchange::kCompleted + exchange_.sequence());
        return true;
    }
    return burstAnswer == CommandExchange::kAwaitingConfirmation + exchange_.sequence() &&
           exchange_.port().readByte(answer);
}

StrikeProfile computeStrikeProfile(const StrikeLevels& levels, quint8 stepTimeFactor,
                                   quint8 motorParameter60, qint32 strikeU, qint32 strikeT) {
    StrikeProfile profile;
    const qint64 s = qint64{stepTimeFactor} * motorParameter60;
    profile.stepDuration = clampToInt32(static_cast<qint64>(s * 2.4375 + 30));
    const qint64 u = strikeU;
    const qint64 t = strikeT;
    const std::array<quint8, 4> inDeviceOrder{levels.level8, levels.level16, levels.level24,
                                              levels.level32};
    for (int level = 0; level < 4; ++level) {
        const qint64 l = inDeviceOrder[level];
        std::array<qint64, 8> values;
        if (2 * l <= s)
            values = {8, (s - 2 * l) / 2, 7, l / 2, 5, l / 2, 1, l / 2};
        else if (l <= s)
            values = {7, (2 * l - s) / 2, 8, (s - l) / 2, 5, l / 2, 1, l / 2};
        else
            values = {7, l / 2, 5, (l - s) / 2, 8, s / 2, 1, l / 2};
        // Each phase is a code and a byte of length: code 8 runs on the T timing, the others
        // on U, and the final phase (code 1) counts twice. A length that does not fit a byte
        // is limited to 255, and the time follows the bytes actually sent.
        qint64 d = 0;
        for (int k = 0; k < 8; k += 2) {
            const qint64 code = values[k];
            const qint64 length = std::clamp<qint64>(values[k + 1], 0, 255);
            profile.clamped = profile.clamped || length != values[k + 1];
            profile.bytes[level * 8 + k] = static_cast<quint8>(code);
            profile.bytes[level * 8 + k + 1] = static_cast<quint8>(length);
            d += length * (code == 8 ? t : u) * (code == 1 ? 2 : 1);
        }
        profile.strikeDurations[level] =
            clampToInt32(static_cast<qint64>(static_cast<double>(d) * 100 * 0.001085) + 130);
    }
    return profile;
}

void CommandSet::setStrike(const StrikeLevels& levels) {
    if (!exchange_.linkActive())
        return;
    shortCommand({kCommand, 0x44, 0x01, 0x01}, QStringLiteral("SetStrike"), 1000);
    const StrikeProfile profile =
        computeStrikeProfile(levels, stepTimeFactor, motorParameter60, strikeU, strikeT);
    stepDuration = profile.stepDuration;
    strikeDurations = profile.strikeDurations;
    if (profile.clamped)
        exchange_.screen().showMessage(
            MessageKind::Warning,
            QStringLiteral("SetStrike: длительность фазы удара ограничена значением 255"));
    for (int frame = 0; frame < 8; ++frame) {
        const auto* b = &profile.bytes[frame * 4];
        shortCommand({b[0], b[1], b[2], b[3]}, QStringLiteral("SetStrike"), 1000);
    }
}

void CommandSet::strikeSetting(quint8 key, quint8 value) {
    if (!exchange_.linkActive())
        return;
    exchange_.setCommand({kCommand, 0xA5, key, value}, exchange_.command().name, 1000);
    exchange_.send();
    exchange_.endWait();
    if (key == kStrikeU)
        strikeU = value;
    else if (key == kStrikeT)
        strikeT = value;
}

bool CommandSet::readByteWithin(quint8& byte, int attempts) {
    for (int i = 0; i < attempts; ++i)
        if (exchange_.port().readByte(byte))
            return true;
    return false;
}

bool CommandSet::writeByteWithin(quint8 byte, int attempts) {
    for (int i = 0; i < attempts; ++i)
        if (exchange_.port().writeByte(byte))
            return true;
    return false;
}

bool CommandSet::readHowData(std::array<quint8, 4>& data) {
    for (quint8& b : data)
        if (!readByteWithin(b, kDataAttempts) || !writeByteWithin(b, kDataAttempts))
            return false;
    quint8 fifth = 0;
    return readByteWithin(fifth, kDataAttempts) && writeByteWithin(data[3], kDataAttempts);
}

bool CommandSet::how() {
    if (!exchange_.linkActive())
        return false;
    shortCommand({kCommand, 0x36, 0x00, 0x00}, QStringLiteral("How"), 1000);
    if (!exchange_.linkActive())
        return false;
    // The data bytes are waited for at most kDataAttempts reads each: a device that stops
    // answering here must not hang the program.
    std::array<quint8, 4> data{};
    if (!readHowData(data)) {
        exchange_.failLink(true, kDeviceSilent + QStringLiteral(" How"));
        return false;
    }
    exchange_.endWait();
    reportedRow = static_cast<quint16>((data[0] * 256 + data[1]) / 2);
    reportedColumn = static_cast<quint16>(data[2] * 256 + data[3]);
    exchange_.screen().setField(Field::Edit3, QString::number(reportedRow));
    exchange_.screen().setField(Field::Edit4, QString::number(reportedColumn));
    return exchange_.linkActive();
}

void CommandSet::monitor(bool showRealPosition) {
    if (!exchange_.linkActive())
        return;
    shortCommand({kCommand, 0x30, 0x00, 0x00}, QStringLiteral("Monitor"), 100);
    if (!exchange_.linkActive())
        return;
    std::array<quint8, 4> data{};
    for (quint8& b : data) {
        exchange_.port().readByte(b);
        exchange_.port().writeByte(0x0A);
    }
    if (showRealPosition) {
        shownRealPosition = PlanPosition{(data[0] * 256 + data[1]) / 2, data[2] * 256 + data[3]};
        exchange_.screen().setField(Field::RealPosY, QString::number(shownRealPosition->row));
        exchange_.screen().setField(Field::RealPosX, QString::number(shownRealPosition->column));
    }
    exchange_.endWait();
}

void CommandSet::beginPrint() {
    // Sent even while the link is down; its wait then returns at once.
    exchange_.setCommand({kCommand, 0x37, 0x00, 0x00}, QStringLiteral("Begin print"), 1);
    exchange_.send();
    exchange_.endWait();
}

void CommandSet::endPrint() {
    if (exchange_.linkActive())
        shortCommand({kCommand, 0x39, 0x00, 0x00}, QStringLiteral("EndPrint"), 1000);
}

QByteArray packPrintDigits(const QString& digits) {
    QString padded = digits;
    while (padded.size() % 8 != 0)
        padded += QLatin1Char('0');
    QByteArray packed;
    for (qsizetype i = 0; i < padded.size(); i += 2) {
        const int high = padded[i].unicode() - '0';
        const int low = padded[i + 1].unicode() - '0';
        packed.append(static_cast<char>(high * 16 + low));
    }
    return packed;
}

bool CommandSet::printLine(Direction direction, const QString& digits) {
    Screen& screen = exchange_.screen();
    const bool valid =
        digits.size() <= kMaxPrintDots && std::all_of(digits.begin(), digits.end(), [](QChar c) {
            return c >= QLatin1Char('0') && c <= QLatin1Char('9');
        });
    if (!valid || !exchange_.linkActive()) {
        screen.setCursor(CursorShape::Arrow);
        return false;
    }
    const int n = static_cast<int>(digits.size());
    const bool forward = direction == Direction::Forward;
    if (!forward && lowByte(n) == 0) {
        exchange_.greeting();
        // The greeting leaves the link-error flag alone; a line that could not be sent must
        // stop the run as a silent data frame does.
        if (!exchange_.linkActive())
            exchange_.setLinkError(true);
    }
    if (!exchange_.linkActive()) {
        screen.setCursor(CursorShape::Arrow);
        return false;
    }
    exchange_.setCommand(
        {kCommand, static_cast<quint8>(forward ? 0x21 : 0x20), highByte(n), lowByte(n)},
        QStringLiteral("PrintLine"), 20000);
    exchange_.send();
    exchange_.endWait();
    screen.setCursor(CursorShape::Busy);
    position.column += forward ? n : -n;
    const QByteArray packed = packPrintDigits(digits);
    for (qsizetype i = 0; i < packed.size(); i += 4) {
        exchange_.setCommandBytes(
            {static_cast<quint8>(packed[i]), static_cast<quint8>(packed[i + 1]),
             static_cast<quint8>(packed[i + 2]), static_cast<quint8>(packed[i + 3])});
        exchange_.sendFollowOn();
        exchange_.dataWait();
        screen.setCursor(CursorShape::Busy);
    }
    screen.setCursor(CursorShape::Hourglass);
    exchange_.endWait();
    screen.setCursor(CursorShape::Arrow);
    return true;
}

int CommandSet::readMemory(quint8 address) {
    if (!exchange_.linkActive())
        return -1;
    exchange_.setCommand({kCommand, 0x58, address, 0x00}, QStringLiteral("R.E."), 1000);
    exchange_.send();
    quint8 b = 0;
    const bool arrived = exchange_.linkActive() && exchange_.port().readByte(b);
    exchange_.endWait();
    return arrived ? b : -1;
}

bool CommandSet::setStepTime(quint8 value) {
    const bool x = progXMotor(kStepTimeParameter, value);
    const bool y = progYMotor(kStepTimeParameter, value);
    stepTimeFactor = value;
    return x && y;
}

bool CommandSet::setResolutionSteps(int resolutionIndex) {
    const int value = resolutionIndex + 16;
    if (value < 0 || value > 255)
        return false;
    progXMotor(kResolutionParameter, static_cast<quint8>(value));
    return progYMotor(kResolutionParameter, static_cast<quint8>(value));
}

void CommandSet::measureLinkTiming() {
    linkDelayMs = 0;
    if (exchange_.linkActive()) {
        const qint64 start = exchange_.clock().monotonicMs();
        // A device that stops answering ends the measurement: one failure message, not a
        // hundred.
        for (int i = 0; i < 101 && exchange_.linkActive(); ++i)
            exchange_.greeting();
        linkDelayMs = clampToInt32(exchange_.clock().monotonicMs() - start);
    }
    if (linkDelayMs == 0)
        linkDelayMs = 400;
}

QString CommandSet::deviceText() {
    QByteArray bytes;
    for (int address = 80; address <= 112; ++address) {
        const int b = readMemory(static_cast<quint8>(address));
        bytes.append(b < 0 ? '?' : static_cast<char>(b));
    }
    return QStringDecoder("windows-1251").decode(bytes);
}

} // namespace zuk
