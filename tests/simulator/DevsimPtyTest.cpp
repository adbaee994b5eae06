// zuk-devsim end to end: the program's exchange on its QSerialPort line, through a real
// pseudo-terminal, in real time (a second or two).
#include "app/Clock.h"
#include "app/MenuStates.h"
#include "app/Texts.h"
#include "device/CommandExchange.h"
#include "device/CommandSet.h"
#include "device/QtSerialTransport.h"
#include "device/SerialPort.h"
#include "simulator/Devsim.h"
#include "simulator/Machine.h"
#include "support/RecordingScreen.h"

#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zuk::sim::test {

TEST(DevsimOverPseudoTerminal, ProgramsExchangeRunsCommandsAndTheReportsAreWritten) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("ttyENGRAVER"));
    Devsim devsim;
    // The 5th byte the device sends (the acceptance of the third command) is lost, so the
    // host's odd-parity burst has to be recognised on the parity-less terminal.
    ASSERT_TRUE(
        devsim.start({"--link", link, "--drop-answer", "5", "--state", dir.filePath("head.json"),
                      "--png", dir.filePath("plate.png"), "--csv", dir.filePath("strikes.csv"),
                      "--json", dir.filePath("summary.json")}))
        << devsim.errors().toStdString();
    EXPECT_TRUE(devsim.terminal().startsWith(QStringLiteral("/dev/")));
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), devsim.terminal());

    SystemClock clock;
    zuk::test::RecordingScreen screen;
    Texts texts;
    SerialPort port([](const QString& path) -> std::unique_ptr<ByteTransport> {
        return QtSerialTransport::open(path);
    });
    port.setPortName(link);
    ASSERT_TRUE(port.openPort());
    MenuStates menus(screen);
    CommandExchange exchange(port, screen, menus, clock, texts);
    CommandSet commands(exchange);

    commands.greeting();
    ASSERT_TRUE(exchange.linkActive()) << screen.messages.join('|').toStdString();
    commands.needleDown(1);
    commands.left(50); // its acceptance is the lost byte
    commands.setStrike({8, 16, 24, 32});
    commands.beginPrint();
    ASSERT_TRUE(commands.printLine(CommandSet::Direction::Forward, QStringLiteral("1234")));
    ASSERT_TRUE(commands.how());
    EXPECT_EQ(commands.reportedColumn, 54);
    // 45 of the strongest dots take about 0.7 s: the completion wait resynchronises once
    // while the device is busy, through the terminal's missing parity.
    commands.setStrike({200, 200, 200, 200});
    commands.stepUp(2);
    ASSERT_TRUE(commands.printLine(CommandSet::Direction::Backward, QString(45, QChar('4'))));
    commands.stepDown(2);
    EXPECT_EQ(commands.deviceText(), QString::fromLatin1(defaultIdentification()));
    commands.endPrint();
    EXPECT_TRUE(exchange.linkActive());
    EXPECT_TRUE(screen.messages.isEmpty()) << screen.messages.join('|').toStdString();
    EXPECT_GE(screen.beeps, 2); // the lost byte and the long line
    EXPECT_LE(screen.beeps, 3);
    port.closePort();

    ASSERT_EQ(devsim.stop(), 0) << devsim.errors().toStdString();
    EXPECT_FALSE(QFileInfo::exists(link));
    const QJsonObject summary = readJson(dir.filePath("summary.json"));
    EXPECT_EQ(summary["strikes"].toInt(), 49);
    EXPECT_EQ(summary["resynchronisations"].toInt(), screen.beeps);
    EXPECT_EQ(summary["burst_answers"].toObject()["waiting_0x20"].toInt(), screen.beeps);
    EXPECT_EQ(summary["protocol_violations"].toInt(), 0)
        << QJsonDocument(summary).toJson().toStdString();
    EXPECT_EQ(summary["commands"].toObject()["R.E."].toInt(), 33);
    EXPECT_EQ(summary["commands"].toObject()["Left"].toInt(), 1);
    const QImage plate(dir.filePath("plate.png"));
    EXPECT_EQ(plate.size(), QSize(54, 2));
    EXPECT_EQ(qGray(plate.pixel(53, 0)), 255);
    EXPECT_EQ(qGray(plate.pixel(9, 1)), 255); // the backward line from column 54: 53 .. 9
    EXPECT_EQ(qGray(plate.pixel(8, 1)), 0);
    QFile csv(dir.filePath("strikes.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count('\n'), 50);
    EXPECT_EQ(readJson(dir.filePath("head.json"))["column"].toInt(), 9);
}

TEST(DevsimOverPseudoTerminal, HeadPositionFromTheStateFileAndTheIdentificationText) {
    QTemporaryDir dir;
    const QString state = dir.filePath(QStringLiteral("head.json"));
    QFile file(state);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\"column\": 321, \"row_steps\": 42}");
    file.close();
    Devsim devsim;
    ASSERT_TRUE(devsim.start({"--state", state, "--id", QStringLiteral("Гравёр №7")}))
        << devsim.errors().toStdString();
    SystemClock clock;
    zuk::test::RecordingScreen screen;
    Texts texts;
    SerialPort port([](const QString& path) -> std::unique_ptr<ByteTransport> {
        return QtSerialTransport::open(path);
    });
    port.setPortName(devsim.terminal());
    ASSERT_TRUE(port.openPort());
    MenuStates menus(screen);
    CommandExchange exchange(port, screen, menus, clock, texts);
    CommandSet commands(exchange);
    commands.greeting();
    ASSERT_TRUE(commands.how());
    EXPECT_EQ(commands.reportedColumn, 321);
    EXPECT_EQ(commands.reportedRow, 21);
    EXPECT_EQ(commands.deviceText(),
              QStringLiteral("Гравёр №7").leftJustified(33, QLatin1Char(' ')));
    port.closePort();
    EXPECT_EQ(devsim.stop(), 0);
}

TEST(DevsimOverPseudoTerminal, HelpDocumentsEveryOptionAndBadOptionsAreRefused) {
    QProcess help;
    help.start(QStringLiteral(ZUK_BINARY_DIR "/zuk-devsim"), {QStringLiteral("--help")});
    ASSERT_TRUE(help.waitForFinished(5000));
    EXPECT_EQ(help.exitCode(), 0);
    const QString text = QString::fromLocal8Bit(help.readAllStandardOutput());
    for (const char* option :
         {"--link", "--speed", "--id", "--drop-answer", "--corrupt-answer", "--refuse-frame",
          "--silent-after", "--silent-for", "--power-loss-after-lines", "--power-loss-after-dots",
          "--power-back-after", "--state", "--png", "--csv", "--json", "--trace", "parity"})
        EXPECT_TRUE(text.contains(QLatin1String(option))) << option;

    QProcess bad;
    bad.start(QStringLiteral(ZUK_BINARY_DIR "/zuk-devsim"),
              {QStringLiteral("--drop-answer"), QStringLiteral("x")});
    ASSERT_TRUE(bad.waitForFinished(5000));
    EXPECT_EQ(bad.exitCode(), 2);
    EXPECT_TRUE(QString::fromLocal8Bit(bad.readAllStandardError())
                    .contains(QLatin1String("--drop-answer")));
}

} // namespace zuk::sim::test
