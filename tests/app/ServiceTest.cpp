#include "app/ProgramFixture.h"

#include "service/ServiceFunctions.h"

namespace zuk::test {
namespace {

using ServiceTest = ProgramFixture;

TEST_F(ServiceTest, TestEntryReportsReadinessAndTheDeviceText) {
    program.formCreate();
    screen.clear();
    const QByteArray text = "ENGRAVER-SIM 5.6 NO 0000000012345";
    line.answer({0xA0, 0x50});
    for (int i = 0; i < 33; ++i)
        line.answer({0xA0 + ((i + 1) & 15), text[i], 0x50 + ((i + 1) & 15)});
    testDevice(program);
    EXPECT_EQ(screen.messages, (QStringList{"Устройство готово к работе",
                                            "Найдено устройство  " + QString::fromLatin1(text)}));
    EXPECT_EQ(screen.messageKinds, std::vector<MessageKind>(2, MessageKind::Information));
    EXPECT_EQ(line.opens(), 2);
}

TEST_F(ServiceTest, TestEntryWithASilentDeviceSetsTheLinkError) {
    program.formCreate();
    screen.clear();
    testDevice(program);
    EXPECT_EQ(screen.messages, QStringList{"Устройство не отвечает Hi_Test"});
    EXPECT_EQ(screen.messageKinds, std::vector{MessageKind::Error});
    EXPECT_TRUE(program.exchange.linkError());
    EXPECT_EQ(screen.menuState, MenuState::LinkLost);
}

TEST_F(ServiceTest, WarmUpSendsSixtyStrokesAndCountsToNinetyFive) {
    answerCommands(105);
    program.formCreate();
    for (int i = 0; i < 60; ++i) {
        const int s = (105 + i) & 15;
        line.answer({0xA0 + s, 0x50 + s});
    }
    screen.clear();
    warmUpSeries(program);
    QStringList statuses;
    for (const QString& e : screen.events)
        if (e.startsWith("status: "))
            statuses << e.mid(8);
    ASSERT_EQ(statuses.size(), 21);
    EXPECT_EQ(statuses.first(), "Разогрев головки - 0");
    EXPECT_EQ(statuses[19], "Разогрев головки - 95");
    EXPECT_EQ(statuses.last(), "Разогрев головки - 95");
    EXPECT_EQ(screen.gaugeProgress, 0);
    EXPECT_EQ(commandsWritten().size(), 105 + 60);
    EXPECT_EQ(commandsWritten().last(), "1b030101");
}

TEST_F(ServiceTest, WarmUpWithTheLinkErrorSetOnlyRunsTheGauge) {
    program.formCreate();
    program.exchange.setLinkError(true);
    screen.clear();
    const qsizetype before = line.writtenBytes().size();
    warmUpSeries(program);
    EXPECT_EQ(line.writtenBytes().size(), before);
    EXPECT_EQ(screen.events.filter("status: "), QStringList{"status: Разогрев головки - "});
}

TEST_F(ServiceTest, SelfTestingTruncatesTheLogEachTimeItIsSwitchedOn) {
    switchSelfTesting(program, true);
    QFile log(dir.filePath("testing.txt"));
    ASSERT_TRUE(log.exists());
    EXPECT_TRUE(program.exchange.selfTesting());
    switchSelfTesting(program, false);
    EXPECT_FALSE(program.exchange.selfTesting());
    switchSelfTesting(program, true);
    EXPECT_EQ(log.size(), 0);
}

} // namespace
} // namespace zuk::test
