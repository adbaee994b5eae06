#include "app/Settings.h"
#include "TempProgramDir.h"

#include <QDir>

namespace zuk {
namespace {

using test::TempProgramDir;

// Everything Zuk.ini holds: the program's settings and the lasting engraving choices.
struct Configuration : Settings, EngravingChoices {};

const QByteArray kDefaultFirst13 = "Group\r\n"
                                   "KnKHel4-14\r\nKnKHel3-10\r\nKnKHel2-5\r\nKnKHel1-2\r\n"
                                   "Ind  \r\n"
                                   "KnKHel4-14\r\nKnKHel3-10\r\nKnKHel2-5\r\nKnKHel1-2\r\n"
                                   "com1\r\n1930\r\n2330\r\n";

QByteArray iniWith(const QByteArray& tail) {
    return "Ind  \r\nKnKHel4-100\r\nKnKHel3-84\r\nKnKHel2-48\r\nKnKHel1-45\r\n"
           "Group\r\nKnKHel4-30\r\nKnKHel3-24\r\nKnKHel2-13\r\nKnKHel1-10\r\n" +
           tail;
}

Configuration loaded(const TempProgramDir& temp, const QByteArray& ini) {
    temp.put("Zuk.ini", ini);
    Configuration settings;
    const ConfigurationLoad load = loadConfiguration(temp.dir(), settings, settings);
    EXPECT_TRUE(load.ok()) << load.error.toStdString();
    EXPECT_FALSE(load.wasMissing);
    return settings;
}

TEST(Settings, MissingFileGetsTheDefaultsWhileTheControlsKeepTheirDesign) {
    TempProgramDir temp;
    Configuration settings;
    settings.resolutionIndex = 4;

    const ConfigurationLoad load = loadConfiguration(temp.dir(), settings, settings);

    ASSERT_TRUE(load.ok()) << load.error.toStdString();
    EXPECT_TRUE(load.wasMissing);
    EXPECT_TRUE(settings.writeDefaults);
    EXPECT_EQ(temp.bytes("Zuk.ini"), kDefaultFirst13 + "4\r\n12\r\n8\r\n1\r\n");
    EXPECT_EQ(settings.first, (StrikeLevels{3, 3, 1, 1}));
    EXPECT_EQ(settings.second, (StrikeLevels{0, 3, 1, 1}));
    EXPECT_EQ(settings.firstMode, LevelMode::Group);
    EXPECT_EQ(settings.secondMode, LevelMode::Group);
    // The port the new file names and the menu shows checked is the one that is opened.
    EXPECT_EQ(settings.portName, "com1");
    EXPECT_EQ(settings.checkedPort, 1);
    EXPECT_EQ(settings.fieldWidth, 1930);
    EXPECT_EQ(settings.fieldHeight, 2330);
}

TEST(Settings, DefaultsAreWrittenAgainUntilTheFlagIsCleared) {
    TempProgramDir temp;
    Configuration settings;
    ASSERT_TRUE(loadConfiguration(temp.dir(), settings, settings).ok());
    settings.first = {100, 67, 34, 9};
    settings.firstMode = LevelMode::Individual;
    choosePort(settings, 3);
    settings.fieldWidth = 500;
    settings.portrait = false;

    ASSERT_TRUE(saveConfiguration(temp.dir(), settings, settings).ok());
    EXPECT_EQ(temp.bytes("Zuk.ini"), kDefaultFirst13 + "0\r\n12\r\n8\r\n0\r\n");
    EXPECT_EQ(settings.fieldWidth, 1930);

    settings.writeDefaults = false;
    settings.fieldWidth = 500;
    ASSERT_TRUE(saveConfiguration(temp.dir(), settings, settings).ok());
    EXPECT_EQ(temp.bytes("Zuk.ini"), "Ind  \r\nKnKHel4-100\r\nKnKHel3-67\r\nKnKHel2-34\r\n"
                                     "KnKHel1-9\r\nGroup\r\nKnKHel4-0\r\nKnKHel3-3\r\nKnKHel2-1\r\n"
                                     "KnKHel1-1\r\ncom3\r\n500\r\n2330\r\n0\r\n12\r\n8\r\n0\r\n");
}

TEST(Settings, RoundTrip) {
    TempProgramDir temp;
    Configuration saved;
    saved.firstMode = LevelMode::Individual;
    saved.first = {200, 134, 68, 18};
    saved.secondMode = LevelMode::Group;
    saved.second = {255, 0, 1, 2};
    choosePort(saved, 8);
    saved.fieldWidth = 1;
    saved.fieldHeight = 9999;
    saved.resolutionIndex = 8;
    saved.stepTimeFactor = 255;
    saved.edgeDots = 20;
    saved.portrait = false;
    ASSERT_TRUE(saveConfiguration(temp.dir(), saved, saved).ok());

    Configuration read;
    ASSERT_TRUE(loadConfiguration(temp.dir(), read, read).ok());
    EXPECT_EQ(read.firstMode, saved.firstMode);
    EXPECT_EQ(read.first, saved.first);
    EXPECT_EQ(read.secondMode, saved.secondMode);
    EXPECT_EQ(read.second, saved.second);
    EXPECT_EQ(read.portName, "com8");
    EXPECT_EQ(read.checkedPort, 8);
    EXPECT_EQ(read.fieldWidth, 1);
    EXPECT_EQ(read.fieldHeight, 9999);
    EXPECT_EQ(read.resolutionIndex, 8);
    EXPECT_EQ(read.stepTimeFactor, 255);
    EXPECT_EQ(read.edgeDots, 20);
    EXPECT_FALSE(read.portrait);
    EXPECT_FALSE(read.writeDefaults);
}

TEST(Settings, ModeLinesMustReadExactlyGroup) {
    TempProgramDir temp;
    const QByteArray tail = "com2\r\n1930\r\n2330\r\n3\r\n12\r\n8\r\n1\r\n";
    Configuration settings = loaded(temp, iniWith(tail));
    EXPECT_EQ(settings.firstMode, LevelMode::Individual);
    EXPECT_EQ(settings.first, (StrikeLevels{100, 84, 48, 45}));
    EXPECT_EQ(settings.secondMode, LevelMode::Group);
    EXPECT_EQ(settings.second, (StrikeLevels{30, 24, 13, 10}));
    EXPECT_EQ(settings.checkedPort, 2);

    QByteArray lower = iniWith(tail);
    lower.replace("Group", "group");
    EXPECT_EQ(loaded(temp, lower).secondMode, LevelMode::Individual);
}

TEST(Settings, FieldSidesBelowOneReadAs1000) {
    TempProgramDir temp;
    Configuration settings = loaded(temp, iniWith("com1\r\n0\r\n-7\r\n0\r\n0\r\n0\r\n0\r\n"));
    EXPECT_EQ(settings.fieldWidth, 1000);
    EXPECT_EQ(settings.fieldHeight, 1000);
    EXPECT_EQ(settings.stepTimeFactor, 12);
    EXPECT_EQ(settings.edgeDots, 8);
    EXPECT_FALSE(settings.portrait);
}

TEST(Settings, OutOfRangeValuesAreClampedNeverWrapped) {
    TempProgramDir temp;
    Configuration settings = loaded(temp, "Group\r\nKnKHel4-300\r\nKnKHel3--5\r\nKnKHel2-1000\r\n"
                                          "KnKHel1-256\r\nInd  \r\nKnKHel4-0\r\nKnKHel3-255\r\n"
                                          "KnKHel2-+7\r\nKnKHel1- 9\r\ncom1\r\n99999999999\r\n"
                                          "50000 pixels\r\n12\r\n999\r\n-3\r\n-1\r\n");
    EXPECT_EQ(settings.first, (StrikeLevels{255, 0, 100, 255})); // only characters 9 to 11 count
    EXPECT_EQ(settings.second, (StrikeLevels{0, 255, 7, 9}));
    EXPECT_EQ(settings.fieldWidth, kMaxFieldSide);
    EXPECT_EQ(settings.fieldHeight, kMaxFieldSide);
    EXPECT_EQ(settings.resolutionIndex, 0); // 12 names no line of the list
    EXPECT_EQ(settings.stepTimeFactor, 255);
    EXPECT_EQ(settings.edgeDots, 8);
    EXPECT_TRUE(settings.portrait);

    settings = loaded(temp, iniWith("com1\r\n1930\r\n2330\r\n-2\r\n-5\r\n1\r\n1\r\n"));
    EXPECT_EQ(settings.resolutionIndex, 0);
    EXPECT_EQ(settings.stepTimeFactor, 12);
}

TEST(Settings, GarbageAndMissingLinesTakeDefaults) {
    TempProgramDir temp;
    Configuration settings = loaded(temp, "\x01\x02garbage\r\nKnKHel4-abc\r\nshort\r\n\r\n"
                                          "KnKHel1-\r\n\xFF\xFE\r\n\r\n");
    EXPECT_EQ(settings.firstMode, LevelMode::Individual);
    EXPECT_EQ(settings.first, kDefaultStrikeLevels);
    EXPECT_EQ(settings.second, kDefaultStrikeLevels);
    EXPECT_EQ(settings.portName, "com1");
    EXPECT_EQ(settings.checkedPort, 1);
    // Lines 12 to 17 are missing: each reads as 0.
    EXPECT_EQ(settings.fieldWidth, 1000);
    EXPECT_EQ(settings.fieldHeight, 1000);
    EXPECT_EQ(settings.resolutionIndex, 0);
    EXPECT_EQ(settings.stepTimeFactor, 12);
    EXPECT_EQ(settings.edgeDots, 8);
    EXPECT_FALSE(settings.portrait);

    settings = loaded(temp, iniWith("com4\r\nwide\r\n2000\r\nx\r\ny\r\nz\r\nw\r\n"));
    EXPECT_EQ(settings.fieldWidth, 1930);
    EXPECT_EQ(settings.fieldHeight, 2000);
    EXPECT_EQ(settings.stepTimeFactor, 12);
    EXPECT_TRUE(settings.portrait);

    EXPECT_EQ(loaded(temp, "").first, kDefaultStrikeLevels);
}

TEST(Settings, LinesMissingAtTheEndReadAsZero) {
    TempProgramDir temp;
    const QByteArray full = iniWith("com2\r\n1500\r\n1800\r\n5\r\n30\r\n20\r\n1\r\n");
    QList<QByteArray> lines = full.split('\n');
    lines.removeLast(); // after the last CR LF
    // A program that had other values before reading shows that each missing line is read.
    const auto cutAfter = [&](int kept) {
        Configuration settings;
        settings.resolutionIndex = 7;
        settings.stepTimeFactor = 40;
        settings.edgeDots = 30;
        settings.portrait = true;
        temp.put("Zuk.ini", lines.mid(0, kept).join('\n') + '\n');
        EXPECT_TRUE(loadConfiguration(temp.dir(), settings, settings).ok());
        return settings;
    };
    Configuration settings = cutAfter(16);
    EXPECT_EQ(settings.edgeDots, 20);
    EXPECT_FALSE(settings.portrait); // 0: "Текст (ускорение)"

    settings = cutAfter(13);
    EXPECT_EQ(settings.fieldHeight, 1800);
    EXPECT_EQ(settings.resolutionIndex, 0);
    EXPECT_EQ(settings.stepTimeFactor, 12);
    EXPECT_EQ(settings.edgeDots, 8);
    EXPECT_FALSE(settings.portrait);

    settings = cutAfter(11);
    EXPECT_EQ(settings.portName, "com2");
    EXPECT_EQ(settings.fieldWidth, 1000);
    EXPECT_EQ(settings.fieldHeight, 1000);
}

TEST(Settings, ResolutionLinesOfTheDialogReadBackAsWritten) {
    TempProgramDir temp;
    for (int line : {-1, 0, 8, 9}) {
        Configuration saved;
        saved.resolutionIndex = line;
        ASSERT_TRUE(saveConfiguration(temp.dir(), saved, saved).ok());
        Configuration read;
        read.resolutionIndex = 4;
        ASSERT_TRUE(loadConfiguration(temp.dir(), read, read).ok());
        EXPECT_EQ(read.resolutionIndex, line);
    }
    for (const char* outside : {"-2", "10"}) {
        Configuration settings;
        settings.resolutionIndex = 4;
        temp.put("Zuk.ini", iniWith("com1\r\n1930\r\n2330\r\n" + QByteArray(outside) +
                                    "\r\n12\r\n8\r\n1\r\n"));
        ASSERT_TRUE(loadConfiguration(temp.dir(), settings, settings).ok());
        EXPECT_EQ(settings.resolutionIndex, 4) << outside;
    }
}

TEST(Settings, OtherPortNamesAreKeptWithNoItemChecked) {
    TempProgramDir temp;
    for (const char* name : {"sim", "com9", "COM1", "com1 "}) {
        const Configuration settings =
            loaded(temp, iniWith(QByteArray(name) + "\r\n1930\r\n2330\r\n0\r\n12\r\n8\r\n1\r\n"));
        EXPECT_EQ(settings.portName, name);
        EXPECT_EQ(settings.checkedPort, 0) << name;
    }
}

TEST(Settings, FailedWritesAreReported) {
    TempProgramDir temp;
    ASSERT_TRUE(QDir(temp.dir().directory()).mkdir("Zuk.ini"));
    Configuration settings;
    const ConfigurationLoad load = loadConfiguration(temp.dir(), settings, settings);
    // A directory named like the file is no file: the write of the defaults fails and says so.
    EXPECT_TRUE(load.wasMissing);
    EXPECT_FALSE(load.ok());
    EXPECT_FALSE(saveConfiguration(temp.dir(), settings, settings).ok());
}

TEST(Settings, FileNameCaseDoesNotMatter) {
    TempProgramDir temp;
    temp.put("ZUK.INI", iniWith("com6\r\n1930\r\n2330\r\n0\r\n12\r\n8\r\n1\r\n"));
    Configuration settings;
    const ConfigurationLoad load = loadConfiguration(temp.dir(), settings, settings);
    EXPECT_FALSE(load.wasMissing);
    EXPECT_EQ(settings.portName, "com6");
    ASSERT_TRUE(saveConfiguration(temp.dir(), settings, settings).ok());
    EXPECT_FALSE(temp.has("Zuk.ini"));
}

} // namespace
} // namespace zuk
