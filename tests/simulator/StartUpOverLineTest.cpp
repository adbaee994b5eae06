// The program's whole start-up against the simulated engraver: built in ("sim", virtual time)
// and through a real pseudo-terminal served by zuk-devsim (real time, about a second).
#include "app/PortOpener.h"
#include "app/Program.h"
#include "simulator/Devsim.h"
#include "simulator/Reports.h"
#include "simulator/SimTransport.h"
#include "support/RecordingScreen.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zuk::sim::test {
namespace {

// Zuk.ini with the defaults and the given port name on line 11.
void writeConfiguration(const QString& dir, const QString& portName) {
    QFile file(dir + QStringLiteral("/Zuk.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Group\r\nKnKHel4-14\r\nKnKHel3-10\r\nKnKHel2-5\r\nKnKHel1-2\r\nInd  \r\n"
               "KnKHel4-14\r\nKnKHel3-10\r\nKnKHel2-5\r\nKnKHel1-2\r\n" +
               portName.toLocal8Bit() + "\r\n1930\r\n2330\r\n0\r\n12\r\n8\r\n1\r\n");
}

TEST(StartUpOverLine, BuiltInEngraverIsGreetedProgrammedAndHomedOnVirtualTime) {
    QTemporaryDir dir;
    writeConfiguration(dir.path(), QStringLiteral("sim"));
    VirtualClock clock;
    auto engraver = makeEngraver();
    zuk::test::RecordingScreen screen;
    Program program(
        screen, clock,
        [&](const QString& name) -> std::unique_ptr<ByteTransport> {
            return isBuiltInPortName(name) ? openBuiltInEngraver(engraver, clock) : nullptr;
        },
        ProgramDir(dir.path()));
    program.formCreate();
    EXPECT_TRUE(screen.messages.isEmpty()) << screen.messages.join('|').toStdString();
    EXPECT_TRUE(program.exchange.linkActive());
    EXPECT_EQ(program.commands.motorParameter60, 16);
    EXPECT_GT(program.commands.linkDelayMs, 0);
    const QJsonObject summary = summaryJson(*engraver);
    EXPECT_EQ(summary["protocol_violations"].toInt(), 0);
    EXPECT_EQ(summary["resynchronisations"].toInt(), 0);
    EXPECT_EQ(summary["commands"].toObject()["Hi"].toInt(), 102);
    EXPECT_EQ(summary["commands"].toObject()["Reset eror"].toInt(), 1);

    program.formClose();
    EXPECT_EQ(summaryJson(*engraver)["commands"].toObject()["Off"].toInt(), 1);
    EXPECT_EQ(summaryJson(*engraver)["protocol_violations"].toInt(), 0);
}

TEST(StartUpOverLine, StartUpThroughAPseudoTerminalIsWhatTheDeviceExpects) {
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ttyENGRAVER"));
    Devsim devsim;
    ASSERT_TRUE(
        devsim.start({"--link", link, "--speed", "20", "--json", dir.filePath("summary.json")}))
        << devsim.errors().toStdString();
    writeConfiguration(dir.path(), link);

    SystemClock clock;
    zuk::test::RecordingScreen screen;
    Program program(screen, clock, systemTransports(clock), ProgramDir(dir.path()));
    program.formCreate();
    EXPECT_TRUE(screen.messages.isEmpty()) << screen.messages.join('|').toStdString();
    EXPECT_TRUE(program.exchange.linkActive());
    program.formClose();

    ASSERT_EQ(devsim.stop(), 0) << devsim.errors().toStdString();
    const QJsonObject summary = readJson(dir.filePath("summary.json"));
    EXPECT_EQ(summary["protocol_violations"].toInt(), 0)
        << QJsonDocument(summary).toJson().toStdString();
    EXPECT_EQ(summary["resynchronisations"].toInt(), 0);
    const QJsonObject commands = summary["commands"].toObject();
    EXPECT_EQ(commands["Hi"].toInt(), 102);
    EXPECT_EQ(commands["ProgX_Motor"].toInt(), 1);
    EXPECT_EQ(commands["ProgY_Motor"].toInt(), 1);
    EXPECT_EQ(commands["Reset eror"].toInt(), 1);
    EXPECT_EQ(commands["EndPrint"].toInt(), 1);
    EXPECT_EQ(commands["Off"].toInt(), 1);
}

} // namespace
} // namespace zuk::sim::test
