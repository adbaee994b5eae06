#include "run/RecoveryFile.h"
#include "TempProgramDir.h"

namespace zuk {
namespace {

using test::TempProgramDir;

RecoveryData sampleJob() {
    RecoveryData data;
    data.pictureFile = "/home/оператор/Картинки/портрет №1.bmp";
    data.columnOffset = -12;
    data.rowOffset = -3;
    data.first = {100, 67, 34, 9};
    data.secondPass = false;
    data.second = {30, 24, 13, 10};
    data.resolutionIndex = 8;
    return data;
}

TEST(RecoveryFile, JobStartRoundTripKeepsCyrillicAndNegativeOffsets) {
    TempProgramDir temp;
    const RecoveryData job = sampleJob();
    ASSERT_TRUE(writeRecoveryFile(temp.dir(), job, RecoveryStage::JobStart).ok());

    const QByteArray expected = "/home/\xEE\xEF\xE5\xF0\xE0\xF2\xEE\xF0/"
                                "\xCA\xE0\xF0\xF2\xE8\xED\xEA\xE8/"
                                "\xEF\xEE\xF0\xF2\xF0\xE5\xF2 \xB9"
                                "1.bmp\r\n"
                                "-12\r\n-3\r\n9\r\n34\r\n67\r\n100\r\n0\r\n10\r\n13\r\n24\r\n30\r\n"
                                "8\r\n";
    EXPECT_EQ(temp.bytes("ErorFile.txt"), expected);

    const RecoveryRead<RecoveryData> read = readRecoveryFile(temp.dir());
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    EXPECT_EQ(read.data, job);
    EXPECT_FALSE(read.data.secondPassStarted());

    const RecoveryRead<RecoveryHeader> header = readRecoveryHeader(temp.dir());
    ASSERT_TRUE(header.ok());
    EXPECT_EQ(header.data.pictureFile, job.pictureFile);
    EXPECT_EQ(header.data.columnOffset, -12);
    EXPECT_EQ(header.data.rowOffset, -3);
}

TEST(RecoveryFile, SecondPassAddsTheFourteenthLine) {
    TempProgramDir temp;
    RecoveryData job = sampleJob();
    job.secondPass = true;
    ASSERT_TRUE(writeRecoveryFile(temp.dir(), job, RecoveryStage::JobStart).ok());
    QStringList lines = temp.dir().readLines("ErorFile.txt").lines;
    ASSERT_EQ(lines.size(), 13);
    EXPECT_EQ(lines[7], "1");

    job.secondPass = false; // the second pass's start writes "1" whatever the flag says
    ASSERT_TRUE(writeRecoveryFile(temp.dir(), job, RecoveryStage::SecondPassStart).ok());
    lines = temp.dir().readLines("ErorFile.txt").lines;
    ASSERT_EQ(lines.size(), 14);
    EXPECT_EQ(lines[7], "1");
    EXPECT_EQ(lines[13], "Sec");

    const RecoveryRead<RecoveryData> read = readRecoveryFile(temp.dir());
    ASSERT_TRUE(read.ok());
    EXPECT_TRUE(read.data.secondPass);
    EXPECT_TRUE(read.data.secondPassStarted());
}

TEST(RecoveryFile, SecondPassFlagIsSetOnlyByExactlyOne) {
    QStringList lines = recoveryLines(sampleJob(), RecoveryStage::JobStart);
    for (const char* flag : {"0", "2", " 1", "1 ", "yes", ""}) {
        lines[7] = flag;
        const RecoveryRead<RecoveryData> read = parseRecoveryLines(lines);
        ASSERT_TRUE(read.ok()) << flag;
        EXPECT_FALSE(read.data.secondPass) << flag;
    }
    lines[7] = "1";
    lines.append("sec");
    EXPECT_TRUE(parseRecoveryLines(lines).data.secondPass);
    EXPECT_FALSE(parseRecoveryLines(lines).data.secondPassStarted());
}

TEST(RecoveryFile, DamagedFilesAreReportedNotTrusted) {
    const QStringList good = recoveryLines(sampleJob(), RecoveryStage::JobStart);
    struct Case {
        int line; // 1-based
        const char* value;
    };
    for (const Case& bad :
         {Case{2, "x"}, Case{3, ""}, Case{4, "256"}, Case{7, "-1"}, Case{9, "1.5"}, Case{13, "10"},
          Case{13, "-2"}, Case{2, "99999999999"}}) {
        QStringList lines = good;
        lines[bad.line - 1] = bad.value;
        const RecoveryRead<RecoveryData> read = parseRecoveryLines(lines);
        EXPECT_EQ(read.status, RecoveryStatus::Damaged) << bad.line << " " << bad.value;
        EXPECT_TRUE(read.error.contains(QStringLiteral("строка %1").arg(bad.line)))
            << read.error.toStdString();
    }
    // The odd choices of the density dialog are what a job may have been started with.
    for (const int resolution : {-1, 9}) {
        RecoveryData odd = sampleJob();
        odd.resolutionIndex = resolution;
        const RecoveryRead<RecoveryData> read =
            parseRecoveryLines(recoveryLines(odd, RecoveryStage::JobStart));
        ASSERT_TRUE(read.ok()) << read.error.toStdString();
        EXPECT_EQ(read.data.resolutionIndex, resolution);
    }
    const RecoveryRead<RecoveryData> shortFile = parseRecoveryLines(good.mid(0, 12));
    EXPECT_EQ(shortFile.status, RecoveryStatus::Damaged);
    EXPECT_TRUE(shortFile.error.contains("12"));
}

TEST(RecoveryFile, ShortOrGarbledFilesOnDiskGiveAnError) {
    TempProgramDir temp;
    EXPECT_EQ(readRecoveryFile(temp.dir()).status, RecoveryStatus::Missing);
    EXPECT_EQ(readRecoveryHeader(temp.dir()).status, RecoveryStatus::Missing);
    EXPECT_FALSE(recoveryFileExists(temp.dir()));

    temp.put("ErorFile.txt", "");
    EXPECT_EQ(readRecoveryFile(temp.dir()).status, RecoveryStatus::Damaged);
    EXPECT_EQ(readRecoveryHeader(temp.dir()).status, RecoveryStatus::Damaged);

    temp.put("ErorFile.txt", "C:\\a.bmp\r\n5\r\n");
    EXPECT_EQ(readRecoveryHeader(temp.dir()).status, RecoveryStatus::Damaged);

    temp.put("ErorFile.txt", QByteArray("\x00\xFF\x98\r\n\x01", 6));
    EXPECT_EQ(readRecoveryFile(temp.dir()).status, RecoveryStatus::Damaged);

    // Three good lines are all start-up needs; the rest is checked when the job resumes.
    temp.put("ErorFile.txt", "C:\\a.bmp\r\n5\r\n-7\r\n");
    const RecoveryRead<RecoveryHeader> header = readRecoveryHeader(temp.dir());
    ASSERT_TRUE(header.ok());
    EXPECT_EQ(header.data.rowOffset, -7);
    EXPECT_EQ(readRecoveryFile(temp.dir()).status, RecoveryStatus::Damaged);
}

TEST(RecoveryFile, NameCaseDoesNotMatter) {
    TempProgramDir temp;
    temp.put("ErorFile.Txt",
             "pic.bmp\r\n1\r\n2\r\n1\r\n2\r\n3\r\n4\r\n0\r\n5\r\n6\r\n7\r\n8\r\n0\r\n");
    EXPECT_TRUE(recoveryFileExists(temp.dir()));
    const RecoveryRead<RecoveryData> read = readRecoveryFile(temp.dir());
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    EXPECT_EQ(read.data.first, (StrikeLevels{4, 3, 2, 1}));
    EXPECT_EQ(read.data.second, (StrikeLevels{8, 7, 6, 5}));

    ASSERT_TRUE(writeRecoveryFile(temp.dir(), sampleJob(), RecoveryStage::JobStart).ok());
    EXPECT_FALSE(temp.has("ErorFile.txt"));
    EXPECT_TRUE(removeRecoveryFile(temp.dir()).ok());
    EXPECT_FALSE(temp.has("ErorFile.Txt"));
    EXPECT_FALSE(recoveryFileExists(temp.dir()));
}

TEST(RecoveryFile, UnwritableNamesFailWithoutTouchingTheOldFile) {
    TempProgramDir temp;
    ASSERT_TRUE(writeRecoveryFile(temp.dir(), sampleJob(), RecoveryStage::JobStart).ok());
    const QByteArray before = temp.bytes("ErorFile.txt");
    RecoveryData job = sampleJob();
    job.pictureFile = "/tmp/写真.bmp";
    EXPECT_FALSE(writeRecoveryFile(temp.dir(), job, RecoveryStage::JobStart).ok());
    job.pictureFile = "/tmp/two\nlines.bmp";
    EXPECT_FALSE(writeRecoveryFile(temp.dir(), job, RecoveryStage::JobStart).ok());
    EXPECT_EQ(temp.bytes("ErorFile.txt"), before);
}

TEST(AboutTexts, UpToSixLinesAndNothingWhenMissing) {
    TempProgramDir temp;
    EXPECT_TRUE(readAboutTexts(temp.dir()).isEmpty());

    temp.put("dopfile.TXT", *ProgramDir::encode("ZUK_05d6 (01_02_2026)\r\nООО \"Гравер\"\r\n"
                                                "тел. 1\r\nтел. 2\r\nул. 3\r\nсайт\r\nлишняя\r\n"));
    const QStringList texts = readAboutTexts(temp.dir());
    ASSERT_EQ(texts.size(), 6);
    EXPECT_EQ(texts[0], "ZUK_05d6 (01_02_2026)");
    EXPECT_EQ(texts[1], "ООО \"Гравер\"");
    EXPECT_EQ(texts[5], "сайт");

    temp.put("dopfile.TXT", "v1\r\n");
    EXPECT_EQ(readAboutTexts(temp.dir()), QStringList{"v1"});
}

} // namespace
} // namespace zuk
