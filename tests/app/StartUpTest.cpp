#include "app/ProgramFixture.h"

#include "run/RecoveryFile.h"

#include <QDir>

namespace zuk::test {
namespace {

using StartUpTest = ProgramFixture;

TEST_F(StartUpTest, SilentDeviceShowsThreeMessagesInOrderOnVirtualTime) {
    program.formCreate();
    EXPECT_EQ(screen.messages,
              (QStringList{"Устройство не отвечает Hi_Test", "Не отвечает драйвер двигателя X ",
                           "Не отвечает драйвер двигателя Y "}));
    EXPECT_EQ(screen.messageKinds, std::vector<MessageKind>(3, MessageKind::Error));
    EXPECT_EQ(screen.menuState, MenuState::LinkLost);
    EXPECT_FALSE(program.exchange.linkActive());
    EXPECT_FALSE(program.timers.timer4);
    EXPECT_EQ(program.commands.linkDelayMs, 400);
    EXPECT_EQ(clock.monotonicMs(), 3500);
}

TEST_F(StartUpTest, WithoutConfigurationWritesDefaultsAndOpensCom1) {
    program.formCreate();
    EXPECT_TRUE(QFile::exists(dir.filePath("Zuk.ini")));
    EXPECT_EQ(program.port.portName(), "com1");
    EXPECT_EQ(line.opens(), 1);
    EXPECT_EQ(program.settings.checkedPort, 1);
}

TEST_F(StartUpTest, AnsweringDeviceIsGreetedProgrammedTimedAndHomed) {
    answerCommands(1 + 2 + 101 + 1);
    program.formCreate();
    const QList<QByteArray> frames = commandsWritten();
    ASSERT_EQ(frames.size(), 105);
    EXPECT_EQ(frames[0], "1b010000");
    EXPECT_EQ(frames[1], "1b406010");
    EXPECT_EQ(frames[2], "1b416010");
    for (int i = 3; i < 104; ++i)
        EXPECT_EQ(frames[i], "1b010000");
    EXPECT_EQ(frames[104], "1b000000");
    EXPECT_TRUE(screen.messages.isEmpty());
    EXPECT_TRUE(program.exchange.linkActive());
    EXPECT_EQ(program.commands.motorParameter60, 16);
    EXPECT_TRUE(program.timers.timer4);
    EXPECT_EQ(program.exchange.command().endTimeoutMs, 2330 * 10 + 10000 + 1930 * 6);
    EXPECT_EQ(screen.caption, "ZUK-5.6");
    EXPECT_EQ(screen.fieldView.size(), QSize(1940, 2340));
}

TEST_F(StartUpTest, UnfinishedJobIsOfferedOnlyWhenTheDeviceAnswers) {
    RecoveryData job;
    job.pictureFile = "C:\\pictures\\портрет.bmp";
    job.columnOffset = -12;
    job.rowOffset = 40;
    ASSERT_TRUE(writeRecoveryFile(ProgramDir(dir.path()), job, RecoveryStage::JobStart).ok());

    program.formCreate(); // silent device
    EXPECT_TRUE(program.unfinishedJob);
    EXPECT_EQ(program.savedJob.columnOffset, -12);
    program.offerUnfinishedJob();
    EXPECT_FALSE(screen.events.contains("ask: recovery"));

    answerCommands(2);
    screen.recoveryAnswer = {false, 0};
    line.takeWritten();
    program.comPortClick(2);
    EXPECT_TRUE(screen.events.contains("ask: recovery"));
    // Ignored: the head that the start-up left where the job stopped goes home.
    const QByteArray sent = line.takeWritten();
    ASSERT_EQ(sent.size(), 12);
    EXPECT_EQ(sent.mid(6, 4).toHex(), "1b000000");
    EXPECT_TRUE(screen.messages.contains("Устройство готово к работе"));
    EXPECT_EQ(screen.messages.size(), 4) << screen.messages.join('|').toStdString();
    EXPECT_FALSE(program.unfinishedJob);
    EXPECT_TRUE(program.timers.timer3);
    program.timer3Timer();
    EXPECT_FALSE(program.timers.timer3);
    EXPECT_FALSE(QFile::exists(dir.filePath("ErorFile.txt")));
}

TEST_F(StartUpTest, ChoosingToFinishArmsTheResumption) {
    ASSERT_TRUE(
        writeRecoveryFile(ProgramDir(dir.path()), RecoveryData{}, RecoveryStage::JobStart).ok());
    answerCommands(104);
    program.formCreate();
    // With a job pending the head is not homed: the resumption asks where it stopped.
    EXPECT_EQ(commandsWritten().size(), 104);
    EXPECT_NE(commandsWritten().last(), "1b000000");
    EXPECT_TRUE(screen.messages.isEmpty());
    screen.recoveryAnswer = {true, 2};
    program.offerUnfinishedJob();
    EXPECT_TRUE(program.timers.crush);
    EXPECT_EQ(program.resumeWarmUpCycles, 2);
    program.crushTimerTimer();
    EXPECT_FALSE(program.timers.crush);
}

TEST_F(StartUpTest, DamagedRecoveryFileIsReportedOnceAndKeptAside) {
    const auto putDamaged = [&](const QByteArray& bytes) {
        QFile file(dir.filePath("ErorFile.Txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    const auto bytesOf = [&](const QString& name) {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    };
    putDamaged("picture.bmp\r\nnot a number\r\n");
    program.formCreate();
    EXPECT_FALSE(program.unfinishedJob);
    ASSERT_GE(screen.messages.size(), 1);
    const QString keptAs = QDir::toNativeSeparators(dir.filePath("ErorFile.damaged.txt"));
    EXPECT_TRUE(screen.messages[0].startsWith("Файл восстановления \"ErorFile.txt\" повреждён"))
        << screen.messages[0].toStdString();
    EXPECT_TRUE(screen.messages[0].contains(keptAs)) << screen.messages[0].toStdString();
    EXPECT_FALSE(ProgramDir(dir.path()).exists("ErorFile.txt"));
    EXPECT_EQ(bytesOf("ErorFile.damaged.txt"), "picture.bmp\r\nnot a number\r\n");

    // The next start is clean; a file damaged again later does not replace the one kept.
    RecordingScreen nextScreen;
    Program next{nextScreen, clock, line.factory(), ProgramDir(dir.path())};
    next.formCreate();
    for (const QString& message : nextScreen.messages)
        EXPECT_FALSE(message.contains("ErorFile")) << message.toStdString();

    putDamaged("");
    RecordingScreen thirdScreen;
    Program third{thirdScreen, clock, line.factory(), ProgramDir(dir.path())};
    third.formCreate();
    ASSERT_GE(thirdScreen.messages.size(), 1);
    EXPECT_TRUE(thirdScreen.messages[0].contains("ErorFile.damaged-2.txt"));
    EXPECT_EQ(bytesOf("ErorFile.damaged.txt"), "picture.bmp\r\nnot a number\r\n");
    EXPECT_EQ(bytesOf("ErorFile.damaged-2.txt"), "");
}

using KeepAliveTest = ProgramFixture;

TEST_F(KeepAliveTest, TenGreetingsThenTheTimerStops) {
    answerCommands(105 + 10);
    program.formCreate();
    for (int i = 1; i <= 10; ++i) {
        ASSERT_TRUE(program.timers.timer4) << "before greeting " << i;
        program.timer4Timer();
    }
    EXPECT_FALSE(program.timers.timer4);
    EXPECT_EQ(program.keepAliveCount, 0);
    EXPECT_EQ(commandsWritten().size(), 115);
}

TEST_F(KeepAliveTest, AFailedGreetingStopsItAtOnce) {
    answerCommands(105);
    program.formCreate();
    program.timer4Timer();
    EXPECT_FALSE(program.timers.timer4);
    EXPECT_EQ(screen.messages, QStringList{"Устройство не отвечает Hi_Test"});
}

using ShutdownTest = ProgramFixture;

TEST_F(ShutdownTest, SendsEndPrintThenOffAndWritesTheConfiguration) {
    answerCommands(105 + 2);
    program.formCreate();
    QFile::remove(dir.filePath("Zuk.ini"));
    program.formClose();
    const QList<QByteArray> frames = commandsWritten();
    EXPECT_EQ(frames[105], "1b390000");
    EXPECT_EQ(frames[106], "1bfd0101");
    EXPECT_TRUE(QFile::exists(dir.filePath("Zuk.ini")));
}

TEST_F(ShutdownTest, SendsNothingWithTheLinkLost) {
    program.formCreate();
    const qsizetype before = line.writtenBytes().size();
    program.formClose();
    EXPECT_EQ(line.writtenBytes().size(), before);
}

using PortMenuTest = ProgramFixture;

TEST_F(PortMenuTest, ChoosingAPortWithTheDeviceOnItEnablesTheMenus) {
    program.formCreate();
    screen.clear();
    answerCommands(1);
    program.comPortClick(3);
    EXPECT_EQ(program.port.portName(), "com3");
    EXPECT_EQ(program.settings.portName, "com3");
    EXPECT_EQ(program.settings.checkedPort, 3);
    EXPECT_EQ(screen.messages, QStringList{"Устройство готово к работе"});
    EXPECT_EQ(screen.messageKinds, std::vector{MessageKind::Information});
    EXPECT_EQ(screen.menuState, MenuState::LinkUp);
    EXPECT_FALSE(program.exchange.linkError());
}

TEST_F(PortMenuTest, APortWithoutDeviceReportsBothFailures) {
    program.formCreate();
    screen.clear();
    program.comPortClick(8);
    EXPECT_EQ(screen.messages,
              (QStringList{"Устройство не отвечает Hi_Test", "Устройство не отвечает"}));
    EXPECT_EQ(screen.menuState, MenuState::LinkLost);
    EXPECT_TRUE(program.exchange.linkError());
}

TEST_F(PortMenuTest, APortThatCannotBeOpenedFailsTheGreetingWrite) {
    program.formCreate();
    screen.clear();
    line.failOpening(true);
    program.comPortClick(4);
    EXPECT_EQ(screen.messages, (QStringList{"Ошибка связи.", "Устройство не отвечает"}));
    EXPECT_EQ(screen.messageKinds, std::vector<MessageKind>(2, MessageKind::Error));
}

} // namespace
} // namespace zuk::test

namespace zuk::test {
namespace {

TEST_F(StartUpTest, ResolutionFromTheConfigurationReachesThePlacementAndBack) {
    ProgramDir files(dir.path());
    Settings stored;
    EngravingChoices storedChoices;
    storedChoices.resolutionIndex = 4;
    ASSERT_TRUE(saveConfiguration(files, stored, storedChoices).ok());
    program.formCreate();
    EXPECT_EQ(program.image.resolution(), 4);

    // A density chosen in the dialog is what the next save writes.
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::white);
    ASSERT_TRUE(picture.save(dir.filePath("white.bmp"), "BMP"));
    screen.openAnswer = dir.filePath("white.bmp");
    screen.resolutionAnswer = {7, 5};
    program.image.openClick();
    EXPECT_EQ(program.choices.resolutionIndex, 7);
    EXPECT_TRUE(program.pictureOpened);
}

} // namespace
} // namespace zuk::test
