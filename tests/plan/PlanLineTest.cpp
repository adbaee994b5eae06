#include "plan/PlanLine.h"
#include "plan/PlanReader.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zuk {
namespace {

TEST(PlanLine, KindIsTakenFromTheFirstFiveCharacters) {
    EXPECT_EQ(planLineKind("GoTo:      5    12"), PlanLineKind::GoTo);
    EXPECT_EQ(planLineKind("Down: "), PlanLineKind::Down);
    EXPECT_EQ(planLineKind("Up  : "), PlanLineKind::Up);
    EXPECT_EQ(planLineKind("Knock: 0120"), PlanLineKind::Knock);
    EXPECT_EQ(planLineKind("KBack: 4"), PlanLineKind::KBack);
    EXPECT_EQ(planLineKind("Up : "), PlanLineKind::Other); // one blank only
    EXPECT_EQ(planLineKind(""), PlanLineKind::Other);
    EXPECT_EQ(planLineKind("Knoc"), PlanLineKind::Other);
}

TEST(PlanLine, GoToNumbersAreRightAlignedInSixCharacters) {
    EXPECT_EQ(goToLine(5, 12), QByteArray("GoTo:      5    12"));
    EXPECT_EQ(goToLine(-3, 123456), QByteArray("GoTo:     -3123456"));
    EXPECT_EQ(planNumber(1234567), QByteArray("1234567")); // a longer number takes its room
    EXPECT_EQ(parseGoTo(goToLine(5, 12)), (PlanCell{5, 12}));
    EXPECT_EQ(parseGoTo(goToLine(-3, 123456)), (PlanCell{-3, 123456}));
}

TEST(PlanLine, DamagedGoToFieldsAreRefused) {
    EXPECT_FALSE(parseGoTo("GoTo: "));
    EXPECT_FALSE(parseGoTo("GoTo:      5"));
    EXPECT_FALSE(parseGoTo("GoTo:      5   1x2"));
    EXPECT_FALSE(parseGoTo("GoTo:           12"));
    EXPECT_FALSE(parseGoTo("GoTo:   5      12")); // a blank after the number
}

TEST(PlanLine, StrikeDigitsAndTrailingZeros) {
    EXPECT_EQ(strikeDigits("Knock: 0001200"), QByteArrayView("0001200"));
    EXPECT_EQ(withoutTrailingZeros(strikeDigits("Knock: 0001200")), QByteArrayView("00012"));
    EXPECT_TRUE(withoutTrailingZeros("0000").isEmpty());
    EXPECT_TRUE(strikeDigits("Knock: ").isEmpty());
    EXPECT_TRUE(allDigits("0123456789"));
    EXPECT_FALSE(allDigits("12a"));
}

TEST(PlanReader, ReadsLinesWithoutTheirEndsAndKnowsTheEnd) {
    QTemporaryDir dir;
    const QString path = dir.filePath("plan.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\r\nGoTo:      2     2\r\nDown: \r\nUp  : \r\n");
    file.close();

    PlanReader reader;
    ASSERT_TRUE(reader.open(path));
    EXPECT_EQ(reader.next(), QByteArray());
    EXPECT_EQ(reader.next(), QByteArray("GoTo:      2     2"));
    EXPECT_EQ(reader.next(), QByteArray("Down: "));
    EXPECT_FALSE(reader.atEnd());
    EXPECT_EQ(reader.next(), QByteArray("Up  : "));
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.linesRead(), 4);
    ASSERT_TRUE(reader.rewind());
    EXPECT_EQ(reader.linesRead(), 0);
    EXPECT_FALSE(reader.atEnd());
}

TEST(PlanReader, AMissingFileIsNamedInTheError) {
    QTemporaryDir dir;
    PlanReader reader;
    EXPECT_FALSE(reader.open(dir.filePath("123123123.txt")));
    EXPECT_TRUE(reader.error().contains("123123123.txt"));
    EXPECT_TRUE(reader.atEnd());
}

} // namespace
} // namespace zuk
