// The plate picture, the strike list, the summary and the head state file.
#include "simulator/Reports.h"
#include "ScriptedHost.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zuk::sim::test {

namespace {

// Two passes: row 0 struck "1234" forward, then row 1 (two motor steps) "43" backward.
void engraveSample(ScriptedHost& host) {
    const int levels[4] = {8, 16, 24, 32};
    host.command(QByteArray::fromHex("1BFE0101"));
    host.setStrike(strikeProfileFor(12, levels));
    host.command(QByteArray::fromHex("1B370000"));
    host.printLine(true, "1234");
    host.command(QByteArray::fromHex("1B370000"));
    host.longCommand(QByteArray::fromHex("1B100001"), 4000);
    host.printLine(false, "43");
}

} // namespace

TEST(EngraverReports, PlatePictureShowsEachLevelAsItsGreyOnBlack) {
    ScriptedHost host;
    engraveSample(host);
    const QImage image = renderPlate(host.engraver().plate());
    ASSERT_EQ(image.size(), QSize(4, 2));
    EXPECT_EQ(qGray(image.pixel(0, 0)), 64);
    EXPECT_EQ(qGray(image.pixel(1, 0)), 128);
    EXPECT_EQ(qGray(image.pixel(2, 0)), 192);
    EXPECT_EQ(qGray(image.pixel(3, 0)), 255);
    EXPECT_EQ(qGray(image.pixel(3, 1)), 255); // backward from column 4: cells 3 and 2
    EXPECT_EQ(qGray(image.pixel(2, 1)), 192);
    EXPECT_EQ(qGray(image.pixel(0, 1)), 0);
    const QImage secondPass = renderPlate(host.engraver().plate(), QSize(10, 5), 2);
    EXPECT_EQ(secondPass.size(), QSize(10, 5));
    EXPECT_EQ(qGray(secondPass.pixel(0, 0)), 0);
    EXPECT_EQ(qGray(secondPass.pixel(3, 1)), 255);
}

TEST(EngraverReports, StrikesCsvListsEveryStrikeInOrder) {
    ScriptedHost host;
    engraveSample(host);
    const QStringList lines = strikesCsv(host.engraver().plate()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0], QStringLiteral("index,pass,column,row_steps,level,force"));
    EXPECT_EQ(lines[1], QStringLiteral("1,1,0,0,1,8"));
    EXPECT_EQ(lines[4], QStringLiteral("4,1,3,0,4,32"));
    EXPECT_EQ(lines[5], QStringLiteral("5,2,3,2,4,32"));
    EXPECT_EQ(lines[6], QStringLiteral("6,2,2,2,3,24"));
}

TEST(EngraverReports, SummaryCountsCommandsStrikesResynchronisationsAndViolations) {
    ScriptedHost host;
    engraveSample(host);
    host.write({0x1B, 0xFF, 0x01, 0x01, 0x00}); // bad check byte
    host.expectRead(0x90 + host.s);
    host.write({0x81}, Parity::Odd);
    host.expectRead(0x90 + host.s);
    const QJsonObject json = summaryJson(host.engraver());
    const QJsonObject commands = json["commands"].toObject();
    EXPECT_EQ(commands["Begin print"].toInt(), 2);
    EXPECT_EQ(commands["PrintLine forward"].toInt(), 1);
    EXPECT_EQ(commands["PrintLine backward"].toInt(), 1);
    EXPECT_EQ(commands["SetStrike"].toInt(), 1);
    EXPECT_EQ(json["strikes"].toInt(), 6);
    const QJsonArray passes = json["strikes_by_pass"].toArray();
    ASSERT_EQ(passes.size(), 2);
    EXPECT_EQ(passes[0].toObject()["level_1"].toInt(), 1);
    EXPECT_EQ(passes[1].toObject()["level_4"].toInt(), 1);
    EXPECT_EQ(json["resynchronisations"].toInt(), 1);
    EXPECT_EQ(json["protocol_violations"].toInt(), 1);
    EXPECT_TRUE(json["violations"].toArray()[0].toObject()["description"].toString().contains(
        "bad check byte"));
    EXPECT_GT(json["modelled_device_time_ms"].toInteger(), 0);
    EXPECT_EQ(json["machine"].toObject()["head_column"].toInt(), 2);
}

TEST(EngraverReports, FilesAreWrittenAndHeadStateReadsBack) {
    ScriptedHost host;
    engraveSample(host);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString error;
    ASSERT_TRUE(writePlatePng(host.engraver().plate(), dir.filePath("plate.png"), &error))
        << error.toStdString();
    ASSERT_TRUE(writeStrikesCsv(host.engraver().plate(), dir.filePath("strikes.csv"), &error));
    ASSERT_TRUE(writeSummaryJson(host.engraver(), dir.filePath("summary.json"), &error));
    EXPECT_EQ(QImage(dir.filePath("plate.png")).size(), QSize(4, 2));
    QFile json(dir.filePath("summary.json"));
    ASSERT_TRUE(json.open(QIODevice::ReadOnly));
    EXPECT_EQ(QJsonDocument::fromJson(json.readAll()).object()["strikes"].toInt(), 6);

    ASSERT_TRUE(writeHeadState(HeadPosition{123, -6}, dir.filePath("head.json"), &error));
    EXPECT_EQ(readHeadState(dir.filePath("head.json"), &error), (HeadPosition{123, -6}));
    EXPECT_FALSE(writeSummaryJson(host.engraver(), dir.filePath("missing/summary.json"), &error));
    EXPECT_TRUE(error.contains("missing/summary.json"));
}

TEST(EngraverReports, UnreadableHeadStateIsReportedNotGuessed) {
    QTemporaryDir dir;
    QString error;
    EXPECT_EQ(readHeadState(dir.filePath("none.json"), &error), std::nullopt);
    EXPECT_TRUE(error.contains("none.json"));
    QFile bad(dir.filePath("bad.json"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("{\"column\": 5}");
    bad.close();
    EXPECT_EQ(readHeadState(dir.filePath("bad.json"), &error), std::nullopt);
    EXPECT_TRUE(error.contains("no head position"));
}

} // namespace zuk::sim::test
