#include "device/ExchangeFixture.h"

#include <QStringEncoder>
#include <QTemporaryDir>

namespace zuk::test {
namespace {

using GreetingTest = ExchangeFixture;

TEST_F(GreetingTest, AtSequenceZeroWritesTheHiFrameAndConfirms) {
    line.answer({0xA0, 0x50});
    exchange.greeting();
    EXPECT_EQ(line.writtenBytes(), hexBytes("1b0100001a22"));
    EXPECT_TRUE(exchange.linkActive());
    EXPECT_EQ(exchange.sequence(), 1);
    EXPECT_EQ(screen.fields[Field::Edit5], "1");
    EXPECT_EQ(screen.menuState, MenuState::LinkUp);
    EXPECT_TRUE(screen.messages.isEmpty());
}

TEST_F(GreetingTest, RefusalRepeatsTheSameFrameAndOtherNumberIsAdopted) {
    // Every wrong answer costs a burst; its answer is what the host acts on.
    line.answer({0x90, 0x90, 0x95, 0x95, 0xA5, 0x55});
    exchange.greeting();
    // Refused at 0: the same five bytes again; then the device names its number 5.
    EXPECT_EQ(line.writtenBytes(), hexBytes("1b0100001a81"
                                            "1b0100001a81"
                                            "1b0100001f"
                                            "27"));
    EXPECT_EQ(exchange.sequence(), 6);
    EXPECT_TRUE(exchange.linkActive());
    EXPECT_EQ(exchange.log().currentLine(), "0; Hi; A0; 90; <>==>; 90; Hi; A0; 95; <>==>; 95; "
                                            "Hi; A5; A5; OK; 55; 55; OK; ");
}

TEST_F(GreetingTest, RefusalOfCompletionNamingTheNextNumberIsAdopted) {
    line.answer({0xA0, 0x91, 0x91, 0xA1, 0x51});
    exchange.greeting();
    EXPECT_EQ(exchange.sequence(), 2);
    EXPECT_EQ(line.writtenBytes().right(6), hexBytes("1b0100001b23"));
}

TEST_F(GreetingTest, SilentDeviceTakesSevenReadsOnVirtualTime) {
    exchange.greeting();
    EXPECT_EQ(line.writtenBytes(), hexBytes("1b0100001a"
                                            "818118188 80f"));
    EXPECT_EQ(line.readTimeouts(), std::vector<int>(7, 500));
    EXPECT_EQ(clock.monotonicMs(), 3500);
    EXPECT_FALSE(exchange.linkActive());
    EXPECT_FALSE(exchange.linkError()); // the greeting leaves that flag to its callers
    EXPECT_EQ(screen.messages, QStringList{"Устройство не отвечает Hi_Test"});
    EXPECT_EQ(screen.menuState, MenuState::LinkLost);
    EXPECT_EQ(screen.beeps, 1);
}

TEST_F(GreetingTest, AnswerFFAndWriteFailureHaveTheirOwnMessages) {
    line.answer({0x33, 0xFF});
    exchange.greeting();
    EXPECT_EQ(screen.messages, QStringList{"Устройство не отвечает Hi"});
    EXPECT_FALSE(exchange.linkActive());

    exchange.setLinkActive(true);
    line.failWritesFrom(static_cast<int>(line.written().size()));
    exchange.greeting();
    EXPECT_EQ(screen.messages.last(), "Ошибка связи.");
    EXPECT_TRUE(exchange.log().currentLine().contains("Ошибка связи.; "));

    texts.setLanguageLoaded(true);
    texts.setLanguageText(9002, "Link error");
    exchange.greeting();
    EXPECT_EQ(screen.messages.last(), "Link error");
}

TEST_F(GreetingTest, FailedWriteShowsTheMessageBeforeTheLinkGoesDown) {
    line.failWritesFrom(0);
    exchange.greeting();
    EXPECT_EQ(screen.events, (QStringList{"message: Ошибка связи.", "menu: link lost"}));
    EXPECT_FALSE(exchange.linkActive());
    EXPECT_FALSE(exchange.linkError());
}

TEST_F(GreetingTest, DeviceRefusingForeverIsBounded) {
    line.answerRepeatedly(0x90, 1000);
    exchange.greeting();
    EXPECT_FALSE(exchange.linkActive());
    EXPECT_EQ(screen.messages, QStringList{"Ошибка команды Hi"});
    EXPECT_EQ(line.writtenBytes().size(), 6 * CommandExchange::kMaxGreetingAttempts);
}

using ResynchroniseTest = ExchangeFixture;

TEST_F(ResynchroniseTest, BurstGoesOutWithOddParityAndConfirmationWithEven) {
    exchange.setSequence(3);
    line.answer({S, S, 0x23});
    EXPECT_EQ(exchange.resynchronise(), 0x23);
    EXPECT_EQ(line.writtenBytes(), hexBytes("81811803"));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(line.written()[i].parity, Parity::Odd);
    EXPECT_EQ(line.written()[3].parity, Parity::Even);
    EXPECT_EQ(line.parity(), Parity::Even);
}

TEST_F(ResynchroniseTest, AnotherByteIsReturnedWithoutConfirmation) {
    line.answer({0x57});
    EXPECT_EQ(exchange.resynchronise(), 0x57);
    EXPECT_EQ(line.writtenBytes(), hexBytes("81"));
}

using SendTest = ExchangeFixture;

TEST_F(SendTest, RefusedFrameIsRepeatedUnchangedThenConfirmed) {
    exchange.setSequence(2);
    exchange.setCommand({0x1B, 0x10, 0x00, 0xFF}, "StepUp", 1000);
    line.answer({0x92, 0x92, 0xA2});
    EXPECT_EQ(exchange.send(), 0xA2);
    EXPECT_EQ(line.writtenBytes(), hexBytes("1b1000fff6"
                                            "81"
                                            "1b1000fff6"
                                            "20"));
    EXPECT_TRUE(exchange.linkActive());
    EXPECT_EQ(exchange.sequence(), 2);
}

TEST_F(SendTest, UnexpectedAnswerIsTakenAsAcceptedForTheWaitToDecide) {
    line.answer({0x44, 0x50});
    exchange.setCommand({0x1B, 0xFF, 0x01, 0x01}, "Up", 100);
    EXPECT_EQ(exchange.send(), 0x50);
    EXPECT_TRUE(exchange.linkActive());
}

TEST_F(SendTest, RefusingEveryFrameIsAFailedCommand) {
    exchange.setCommand({0x1B, 0xFF, 0x01, 0x01}, "Up", 100);
    line.answerRepeatedly(0x90, 1000);
    EXPECT_EQ(exchange.send(), 0);
    EXPECT_EQ(line.writtenBytes().size(), 6 * CommandExchange::kMaxRefusals);
    EXPECT_FALSE(exchange.linkActive());
    EXPECT_TRUE(exchange.linkError());
    EXPECT_EQ(screen.messages, QStringList{"Ошибка команды Up"});
}

using EndWaitTest = ExchangeFixture;

TEST_F(EndWaitTest, RefusalRepeatsTheWholeCommandOnANewLogLine) {
    exchange.setSequence(15);
    exchange.setCommand({0x1B, 0xFF, 0x01, 0x01}, "Up", 100);
    line.answer({0xAF, 0x9F, 0x9F, 0xAF, 0x5F});
    exchange.send();
    const int lineBefore = exchange.log().index();
    EXPECT_EQ(exchange.endWait(), 0x5F);
    EXPECT_EQ(line.writtenBytes(), hexBytes("1bff0101eb2d"
                                            "81"
                                            "1bff0101eb2d"));
    EXPECT_EQ(exchange.log().index(), lineBefore + 1);
    EXPECT_EQ(exchange.sequence(), 0); // 15 advances to 0
}

TEST_F(EndWaitTest, RefusalNamingTheNextNumberEndsTheWait) {
    exchange.setSequence(4);
    exchange.setCommand({0x1B, 0xFF, 0x01, 0x01}, "Up", 100);
    line.answer({0x95, 0x95});
    EXPECT_EQ(exchange.endWait(), 0x95);
    EXPECT_EQ(exchange.sequence(), 5);
    EXPECT_EQ(line.writtenBytes(), hexBytes("81"));
}

TEST_F(EndWaitTest, OtherBytesAreReadAgainAndEndlessGarbageIsBounded) {
    exchange.setCommand({0x1B, 0x39, 0x00, 0x00}, "EndPrint", 1000);
    line.answer({0x33, 0x34, 0x50});
    EXPECT_EQ(exchange.endWait(), 0x50);
    EXPECT_TRUE(exchange.linkActive());

    line.answerRepeatedly(0x77, 10000);
    EXPECT_EQ(exchange.endWait(), -1);
    EXPECT_FALSE(exchange.linkActive());
    EXPECT_TRUE(exchange.linkError());
    EXPECT_EQ(screen.messages, QStringList{"Ошибка команды EndPrint"});
    EXPECT_GT(line.pendingAnswers(), 9000u);
}

TEST_F(EndWaitTest, DeviceThatNeverAnswersEndsTheWaitAndAdvances) {
    exchange.setSequence(7);
    EXPECT_EQ(exchange.endWait(), -1);
    EXPECT_EQ(exchange.sequence(), 8);
    EXPECT_EQ(clock.monotonicMs(), 3500);
}

TEST_F(EndWaitTest, WaitsDoNothingWhileTheLinkIsInactive) {
    exchange.setLinkActive(false);
    EXPECT_EQ(exchange.endWait(), -1);
    EXPECT_EQ(exchange.dataWait(), -1);
    exchange.longEndWait();
    EXPECT_EQ(exchange.sendFollowOn(), 0);
    EXPECT_TRUE(line.readTimeouts().empty());
    EXPECT_TRUE(line.writtenBytes().isEmpty());
    EXPECT_EQ(exchange.sequence(), 0);
}

TEST_F(EndWaitTest, DataWaitExpectsDataTakenAndWritesNoMarker) {
    exchange.setSequence(1);
    line.answer({0x61});
    EXPECT_EQ(exchange.dataWait(), 0x61);
    EXPECT_EQ(exchange.sequence(), 2);
}

TEST_F(EndWaitTest, ALostDataAnswerOfAPrintLineThatCompletedEndsTheDataWaitInStep) {
    // The device took the last data frame, engraved and completed: its completion came in
    // place of the lost answer, or the burst found it idle two numbers on.
    for (int burstAnswer : {0x52, 0x93}) {
        exchange.setSequence(1);
        line.answer({S, burstAnswer, S, 0x93});
        EXPECT_EQ(exchange.dataWait(), burstAnswer);
        EXPECT_EQ(exchange.sequence(), 2);
        // The line's end wait finds the device idle at its next number and leaves in step.
        EXPECT_EQ(exchange.endWait(), 0x93);
        EXPECT_EQ(exchange.sequence(), 3);
    }
    EXPECT_EQ(exchange.unansweredWaits(), 0);
}

using LongEndWaitTest = ExchangeFixture;

TEST_F(LongEndWaitTest, CompletionRefusalAndOtherBytesAllAdvance) {
    exchange.setCommand({0x1B, 0x10, 0x00, 0x00}, "StepUp", 3760);
    exchange.log().beginLine(0);
    line.answer({S, S, 0x50});
    exchange.longEndWait();
    EXPECT_EQ(exchange.sequence(), 1);
    EXPECT_TRUE(exchange.log().currentLine().endsWith("0; 0; 50;  Ok ; "));
    line.answer({0x91});
    exchange.longEndWait();
    EXPECT_EQ(exchange.sequence(), 2);
    line.answer({0x07});
    exchange.longEndWait();
    EXPECT_EQ(exchange.sequence(), 3);
    EXPECT_TRUE(screen.messages.isEmpty());
}

// Past the end time-out in silence, the burst asks the device what became of the command.
struct SilentEnd {
    const char* what;
    std::vector<int> afterTimeOut; // the burst's answers and what follows
    bool completed;
    int framesSent; // the command's frames on the line (two: sent again)
};

class LongEndWaitSilence : public ExchangeFixture,
                           public ::testing::WithParamInterface<SilentEnd> {};

TEST_P(LongEndWaitSilence, TheBurstTellsWhetherTheCommandCompleted) {
    const SilentEnd& c = GetParam();
    exchange.setCommand({0x1B, 0x11, 0x00, 0x00}, "StepDown", 1760);
    // The deadline is checked before each read: 0, 500, 1000, 1500 are within, 2000 is not.
    line.answerRepeatedly(S, 5);
    for (int b : c.afterTimeOut)
        line.answer({b});
    const int missedBefore = exchange.missedAnswers();
    exchange.longEndWait();
    EXPECT_EQ(exchange.linkActive(), c.completed);
    EXPECT_EQ(exchange.linkError(), !c.completed);
    EXPECT_EQ(exchange.sequence(), c.completed ? 1 : 0);
    EXPECT_EQ(screen.messages,
              c.completed ? QStringList{} : QStringList{"Устройство не отвечает StepDown"});
    EXPECT_GT(exchange.missedAnswers(), missedBefore);
    EXPECT_EQ(line.writtenBytes().count(hexBytes("1b1100000a")), c.framesSent);
}

INSTANTIATE_TEST_SUITE_P(
    , LongEndWaitSilence,
    ::testing::Values(SilentEnd{"CompletionHeldBack", {0x50}, true, 0},
                      SilentEnd{"CompletionLostDeviceIdle", {0x91}, true, 0},
                      SilentEnd{"StillBusyThenCompletes", {0x20, S, 0x50}, true, 0},
                      SilentEnd{"GarbledAnswerAskedAgain", {0x6E, 0x91}, true, 0},
                      SilentEnd{"NeverTakenSentAgain", {0x90, 0xA0, 0x50}, true, 1},
                      SilentEnd{"GarbledEveryTime", {0x6E, 0x6E, 0x6E, 0x6E, 0x91}, false, 0},
                      SilentEnd{"Silent", {}, false, 0}),
    [](const ::testing::TestParamInfo<SilentEnd>& info) { return std::string(info.param.what); });

TEST_F(LongEndWaitTest, WaitsLongerThan65535MillisecondsWithoutOverflow) {
    exchange.setCommand({0x1B, 0x00, 0x00, 0x00}, "Reset eror", 80000);
    line.answerRepeatedly(S, 140); // 70 s of silence
    line.answer({0x50});
    exchange.longEndWait();
    EXPECT_TRUE(exchange.linkActive());
    EXPECT_EQ(exchange.sequence(), 1);
    EXPECT_EQ(clock.monotonicMs(), 70000);
}

// The rows of the failure table: flags, menu state and message.
using FailureTableTest = ExchangeFixture;

TEST_F(FailureTableTest, SendWriteFailure) {
    texts.setLanguageLoaded(true);
    texts.setLanguageText(9001, "Port fault");
    line.failWritesFrom(0);
    exchange.setCommand({0x1B, 0x37, 0x00, 0x00}, "Begin print", 1);
    EXPECT_EQ(exchange.send(), 0);
    EXPECT_FALSE(exchange.linkActive());
    EXPECT_TRUE(exchange.linkError());
    EXPECT_EQ(screen.events, (QStringList{"cursor: 0", "menu: link lost", "message: Port fault"}));
}

TEST_F(FailureTableTest, FollowOnWriteFailureAlwaysShowsTheFixedText) {
    texts.setLanguageLoaded(true);
    texts.setLanguageText(9001, "Port fault");
    line.failWritesFrom(0);
    EXPECT_EQ(exchange.sendFollowOn(), 0);
    EXPECT_TRUE(exchange.linkError());
    EXPECT_EQ(screen.messages, QStringList{"Проверьте исправность порта связи"});
}

TEST_F(FailureTableTest, SendWithoutAnswer) {
    exchange.setCommand({0x1B, 0x10, 0x00, 0x00}, "StepUp", 3760);
    EXPECT_EQ(exchange.send(), 0);
    EXPECT_FALSE(exchange.linkActive());
    EXPECT_TRUE(exchange.linkError());
    EXPECT_EQ(screen.menuState, MenuState::LinkLost);
    EXPECT_EQ(screen.messages, QStringList{"Ошибка команды StepUp"});
}

TEST_F(FailureTableTest, FollowOnWithoutAnswerAlsoSetsTheLinkError) {
    // A device dying between the data frames of a print line must stop the run.
    exchange.setCommand({0x12, 0x30, 0x00, 0x00}, "PrintLine", 20000);
    EXPECT_EQ(exchange.sendFollowOn(), 0);
    EXPECT_FALSE(exchange.linkActive());
    EXPECT_TRUE(exchange.linkError());
    EXPECT_EQ(screen.messages, QStringList{"Ошибка команды PrintLine"});
}

TEST_F(FailureTableTest, SendClearsAnEarlierLinkError) {
    exchange.setLinkError(true);
    line.answer({0xA0});
    exchange.send();
    EXPECT_FALSE(exchange.linkError());
}

using ExchangeLogTest = ExchangeFixture;

TEST_F(ExchangeLogTest, HexHasUpperCaseDigitsAndNoLeadingZeros) {
    EXPECT_EQ(logHex(0x0F), "F");
    EXPECT_EQ(logHex(0xA3), "A3");
    EXPECT_EQ(logHex(0), "0");
}

TEST_F(ExchangeLogTest, RingWrapsFromTenToOneAndListsOldestFirst) {
    ExchangeLog log;
    for (int i = 0; i < 12; ++i) {
        log.beginLine(i);
        log.append(QString("c%1").arg(i));
    }
    EXPECT_EQ(log.index(), 2);
    const QStringList lines = log.oldestFirst();
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines.first(), "2; c2; ");
    EXPECT_EQ(lines.last(), "B; c11; ");
}

TEST_F(ExchangeLogTest, DumpWritesTheRecordOnlyWhileSelfTesting) {
    QTemporaryDir dir;
    const QString path = dir.filePath("testing.txt");
    exchange.setCommand({0x1B, 0xFF, 0x01, 0x01}, "Up", 100);
    line.answer({0x33, S, S, S, S, S, S});
    exchange.send(); // a wrong answer, no dump: self-testing is off
    EXPECT_EQ(exchange.errorCount(), 0);
    EXPECT_FALSE(QFile::exists(path));

    ASSERT_TRUE(exchange.startSelfTesting(path));
    exchange.setLinkActive(true);
    line.answer({0x33, 0xA0});
    exchange.send();
    EXPECT_EQ(exchange.errorCount(), 1);
    EXPECT_EQ(screen.fields[Field::ErorCounter], "1");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_GE(lines.size(), 11);
    EXPECT_EQ(lines[0], QStringEncoder("windows-1251").encode(QString("Ошибка 0\r")));
    EXPECT_EQ(lines[10], "0; Up; A0; 33; <>==>; A0; \r");
}

} // namespace
} // namespace zuk::test
