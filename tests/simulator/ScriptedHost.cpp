#include "ScriptedHost.h"

#include <gtest/gtest.h>

namespace zuk::sim::test {

QByteArray packDots(const QByteArray& digits) {
    QByteArray padded = digits;
    while (padded.size() % 8 != 0)
        padded.append('0');
    QByteArray packed;
    for (int i = 0; i < padded.size(); i += 2)
        packed.append(static_cast<char>((padded[i] - '0') * 16 + (padded[i + 1] - '0')));
    return packed;
}

QByteArray strikeProfileFor(int s, const int levels[4]) {
    QByteArray bytes;
    auto add = [&bytes](std::initializer_list<int> values) {
        for (int v : values)
            bytes.append(static_cast<char>(v));
    };
    for (int i = 0; i < 4; ++i) {
        const int l = levels[i];
        if (2 * l <= s)
            add({0x08, (s - 2 * l) / 2, 0x07, l / 2, 0x05, l / 2, 0x01, l / 2});
        else if (l <= s)
            add({0x07, (2 * l - s) / 2, 0x08, (s - l) / 2, 0x05, l / 2, 0x01, l / 2});
        else
            add({0x07, l / 2, 0x05, (l - s) / 2, 0x08, s / 2, 0x01, l / 2});
    }
    return bytes;
}

ScriptedHost::ScriptedHost(const SimOptions& options)
    : device(makeEngraver(options)), line(device, clock) {}

void ScriptedHost::write(std::initializer_list<int> bytes, Parity parity) {
    line.setParity(parity);
    for (int b : bytes)
        line.writeByte(static_cast<quint8>(b));
    line.setParity(Parity::Even);
}

void ScriptedHost::writeBytes(const QByteArray& bytes, Parity parity) {
    line.setParity(parity);
    for (char b : bytes)
        line.writeByte(static_cast<quint8>(b));
    line.setParity(Parity::Even);
}

QByteArray ScriptedHost::frame(const QByteArray& fourBytes, quint8 seq) {
    quint8 check = seq;
    for (char b : fourBytes)
        check ^= static_cast<quint8>(b);
    return fourBytes + QByteArray(1, static_cast<char>(check));
}

void ScriptedHost::expectRead(int expected, int timeoutMs) {
    const std::optional<quint8> got = read(timeoutMs);
    ASSERT_TRUE(got.has_value()) << "expected " << std::hex << expected << " at " << std::dec
                                 << clock.monotonicMs() << " ms, got nothing";
    EXPECT_EQ(*got, expected) << std::hex << "expected " << expected << ", got " << int(*got);
}

void ScriptedHost::expectSilence(int timeoutMs) {
    const std::optional<quint8> got = read(timeoutMs);
    EXPECT_FALSE(got.has_value()) << std::hex << "unexpected byte " << int(got.value_or(0));
}

std::optional<quint8> ScriptedHost::sendAndConfirm(const QByteArray& fourBytes) {
    writeFrame(fourBytes);
    const std::optional<quint8> answer = read();
    EXPECT_EQ(answer, std::optional<quint8>(0xA0 + s))
        << "acceptance of " << fourBytes.toHex().constData();
    if (answer == 0xA0 + s)
        write({s ^ 0x22});
    return answer;
}

void ScriptedHost::command(const QByteArray& fourBytes) {
    sendAndConfirm(fourBytes);
    expectRead(0x50 + s);
    s = next(s);
}

void ScriptedHost::longCommand(const QByteArray& fourBytes, int timeoutMs) {
    sendAndConfirm(fourBytes);
    const qint64 start = clock.monotonicMs();
    std::optional<quint8> answer;
    while (!answer && clock.monotonicMs() - start <= timeoutMs)
        answer = read();
    EXPECT_EQ(answer, std::optional<quint8>(0x50 + s))
        << "completion of " << fourBytes.toHex().constData();
    EXPECT_LE(clock.monotonicMs() - start, timeoutMs);
    s = next(s);
}

std::optional<quint8> ScriptedHost::burst() {
    static const quint8 kBurst[] = {0x81, 0x81, 0x18, 0x18, 0x88, 0x0F};
    for (quint8 b : kBurst) {
        write({b}, Parity::Odd);
        if (const std::optional<quint8> answer = read()) {
            if (*answer == 0x20 + s)
                write({0x03});
            return answer;
        }
    }
    return std::nullopt;
}

std::optional<quint8> ScriptedHost::endWait(quint8 kind, int* bursts) {
    std::optional<quint8> r;
    for (int round = 0; round < 1000; ++round) {
        r = read();
        if (r == kind + s)
            break;
        if (bursts)
            ++*bursts;
        r = burst();
        if (!r || r == kind + s || r == 0x90 + next(s))
            break;
    }
    s = next(s);
    return r;
}

std::optional<quint8> ScriptedHost::hostCommand(const QByteArray& fourBytes, int* bursts) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        writeFrame(fourBytes);
        std::optional<quint8> r = read();
        if (r != 0xA0 + s) {
            if (bursts)
                ++*bursts;
            r = burst();
        }
        if (!r)
            return r;
        if (r == 0x90 + s)
            continue;
        if (r == 0xA0 + s)
            write({s ^ 0x22});
        return endWait(0x50, bursts);
    }
    return std::nullopt;
}

void ScriptedHost::expectEndWait(quint8 kind, int* bursts) {
    const quint8 expected = kind + s;
    EXPECT_EQ(endWait(kind, bursts), std::optional<quint8>(expected));
}

void ScriptedHost::printLine(bool forward, const QByteArray& digits, int* bursts) {
    const int n = static_cast<int>(digits.size());
    if (!forward && n % 256 == 0)
        greet();
    QByteArray header = QByteArray::fromHex(forward ? "1B21" : "1B20");
    header.append(static_cast<char>((n >> 8) & 0xFF));
    header.append(static_cast<char>(n & 0xFF));
    sendAndConfirm(header);
    expectEndWait(0x50, bursts);
    const QByteArray packed = packDots(digits);
    for (int i = 0; i < packed.size(); i += 4) {
        sendAndConfirm(packed.mid(i, 4));
        expectEndWait(0x60, bursts);
    }
    expectEndWait(0x50, bursts);
}

void ScriptedHost::setStrike(const QByteArray& thirtyTwoBytes) {
    command(QByteArray::fromHex("1B440101"));
    for (int i = 0; i < 32; i += 4)
        command(thirtyTwoBytes.mid(i, 4));
}

QByteArray ScriptedHost::how() {
    command(QByteArray::fromHex("1B360000"));
    QByteArray bytes;
    for (int i = 0; i < 4; ++i) {
        const std::optional<quint8> b = read();
        EXPECT_TRUE(b.has_value()) << "How byte " << i + 1;
        bytes.append(static_cast<char>(b.value_or(0)));
        write({b.value_or(0)});
    }
    const std::optional<quint8> fifth = read();
    EXPECT_TRUE(fifth.has_value()) << "How byte 5";
    write({static_cast<quint8>(bytes[3])}); // answered with the fourth byte, as the host does
    expectRead(0x50 + s);
    s = next(s);
    return bytes;
}

QByteArray ScriptedHost::monitor() {
    command(QByteArray::fromHex("1B300000"));
    QByteArray bytes;
    for (int i = 0; i < 4; ++i) {
        bytes.append(static_cast<char>(read().value_or(0)));
        write({0x0A});
    }
    expectRead(0x50 + s);
    s = next(s);
    return bytes;
}

quint8 ScriptedHost::readMemory(quint8 address) {
    QByteArray bytes = QByteArray::fromHex("1B580000");
    bytes[2] = static_cast<char>(address);
    sendAndConfirm(bytes);
    const std::optional<quint8> data = read();
    EXPECT_TRUE(data.has_value());
    expectRead(0x50 + s);
    s = next(s);
    return data.value_or(0);
}

bool hasViolation(const Engraver& e, const QString& part) {
    for (const Violation& v : e.counters().violations)
        if (v.description.contains(part))
            return true;
    return false;
}

} // namespace zuk::sim::test
