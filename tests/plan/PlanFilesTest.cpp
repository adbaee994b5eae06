#include "PlanPictures.h"

#include "app/Clock.h"
#include "plan/GrayDump.h"
#include "plan/PlanProgress.h"
#include "support/RecordingScreen.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace zuk::test {
namespace {

class PlanFilesTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir->filePath(name); }
    QByteArray bytes(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }
    void put(const QString& name, const QByteArray& content) const {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    PlanBuildResult build(DotImage& picture, bool singleSided = false) {
        SilentPlanProgress progress;
        return buildPlan(picture, singleSided, ProgramDir(dir->path()), progress);
    }
    QStringList files() const { return QDir(dir->path()).entryList(QDir::Files); }

    std::unique_ptr<QTemporaryDir> dir = scratchDirectory();
};

TEST_F(PlanFilesTest, TheDumpHoldsTheGrayGridWithItsMarginRowByRow) {
    DotImage picture = blankPicture(2, 1);
    setPixel(picture, 0, 0, 7, 0);
    setPixel(picture, 1, 0, 255, 255);
    ASSERT_TRUE(build(picture).ok);
    EXPECT_EQ(bytes("123Bm.txt"),
              QByteArray("\r\n   0   0   0   0\r\n   0   7 255   0\r\n   0   0   0   0"));
    EXPECT_EQ(files(), (QStringList{"123123123.txt", "123Bm.txt"}));
}

TEST_F(PlanFilesTest, TheDumpOfAnEmptyPictureIsItsMarginOnly) {
    DotImage picture = blankPicture(0, 0);
    ASSERT_TRUE(build(picture).ok);
    EXPECT_EQ(bytes("123Bm.txt"), QByteArray("\r\n   0   0\r\n   0   0"));
    EXPECT_EQ(bytes("123123123.txt"), QByteArray());
}

TEST_F(PlanFilesTest, ExistingFilesAreReplacedWhateverTheLetterCaseOfTheirNames) {
    put("123BM.TXT", "old dump");
    put("123123123.TXT", "old plan");
    DotImage picture = drawnPicture({"...", ".4.", "..."});
    ASSERT_TRUE(build(picture).ok);
    EXPECT_EQ(files(), (QStringList{"123123123.TXT", "123BM.TXT"}));
    EXPECT_TRUE(bytes("123123123.TXT").startsWith("\r\nGoTo:      2     2"));
    EXPECT_TRUE(bytes("123BM.TXT").startsWith("\r\n   0   0   0"));
}

TEST_F(PlanFilesTest, APlanThatCannotBeCreatedIsReportedByName) {
    DotImage picture = drawnPicture({"...", ".4.", "..."});
    SilentPlanProgress progress;
    const QString plan = path("no-such-folder/plan.txt");
    const PlanBuildResult result = buildPlanFiles(picture, false, {plan, path("d.txt")}, progress);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(QDir::toNativeSeparators(plan)))
        << result.error.toStdString();
    EXPECT_TRUE(result.error.startsWith(QStringLiteral("Не удалось записать файл")));
}

TEST_F(PlanFilesTest, ADumpThatCannotBeWrittenStopsTheBuildBeforeThePlan) {
    DotImage picture = drawnPicture({"...", ".4.", "..."});
    SilentPlanProgress progress;
    const QString dump = path("no-such-folder/dump.txt");
    const PlanBuildResult result =
        buildPlanFiles(picture, false, {path("plan.txt"), dump}, progress);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(QDir::toNativeSeparators(dump)));
    EXPECT_FALSE(QFile::exists(path("plan.txt")));
}

TEST_F(PlanFilesTest, AFailedWriteStopsTheBuildAndLeavesTheOldPlan) {
    // A file size limit makes the writes of a large plan fail half-way.
    put("123123123.txt", "old plan");
    DotImage picture = blankPicture(150, 150);
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 150; ++x)
            setPixel(picture, x, y, 100, 255);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit limited = old;
    limited.rlim_cur = 8192;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    SilentPlanProgress progress;
    const PlanBuildResult result =
        buildPlanFiles(picture, false, {path("123123123.txt"), QString()}, progress);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(QStringLiteral("123123123.txt")))
        << result.error.toStdString();
    EXPECT_EQ(bytes("123123123.txt"), QByteArray("old plan"));
    EXPECT_EQ(files(), QStringList{"123123123.txt"}); // no temporary file left behind
    EXPECT_EQ(dotAt(picture, 5, 5), 255);             // the picture is not consumed
}

// A cell whose gray is not 0 but below 1 is marked as a cell to plan, yet no outline reaches
// it: a start the builder can never finish with. (An open never gives such grays; it is the
// way to show what the builder does when a region can not be planned.)
TEST_F(PlanFilesTest, ARegionFoundAgainWithoutProgressIsRefusedWithoutAPlan) {
    put("123123123.txt", "old plan");
    DotImage picture = drawnPicture({"....", "..4.", "...."});
    setPixel(picture, 1, 1, -1, 0);
    const PlanBuildResult result = build(picture);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(QStringLiteral("строке 2, столбце 2")))
        << result.error.toStdString();
    EXPECT_TRUE(result.error.startsWith(QStringLiteral("План гравировки не построен")));
    EXPECT_EQ(bytes("123123123.txt"), QByteArray("old plan"));
    EXPECT_EQ(dotAt(picture, 2, 1), 255);
}

TEST_F(PlanFilesTest, AnOutlineThatNeverReturnsIsRefusedWithoutAPlan) {
    DotImage picture = drawnPicture({".....", "..44.", "..44.", "....."});
    setPixel(picture, 1, 1, -1, 0);
    const PlanBuildResult result = build(picture);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(QStringLiteral("не возвращается")))
        << result.error.toStdString();
    EXPECT_FALSE(QFile::exists(path("123123123.txt")));
}

TEST_F(PlanFilesTest, APictureWhoseGridsWereNotPreparedIsRefused) {
    DotImage unsized;
    unsized.bitmap = QImage(4, 4, QImage::Format_RGB32);
    EXPECT_FALSE(build(unsized).ok);
    DotImage margin = drawnPicture({"...", ".4.", "..."});
    margin.gray.at(0, 2) = 9; // the margin must be gray 0
    const PlanBuildResult result = build(margin);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_TRUE(files().isEmpty());
}

class CountingScreen : public RecordingScreen {
public:
    void processEvents() override { ++eventsProcessed; }
    int eventsProcessed = 0;
};

TEST(ScreenPlanProgress, ShowsTheSearchAtMostEveryTwentyMillisecondsAndAlwaysTheLast) {
    CountingScreen screen;
    VirtualClock clock;
    ScreenPlanProgress progress(screen, clock);
    progress.regionSearched(2, 3, false);
    EXPECT_EQ(screen.fields[Field::Label66], "2");
    EXPECT_EQ(screen.fields[Field::Label67], "3");
    clock.advance(19);
    progress.regionSearched(4, 5, false);
    EXPECT_EQ(screen.fields[Field::Label66], "2");
    EXPECT_EQ(screen.eventsProcessed, 1);
    clock.advance(1);
    progress.regionSearched(6, 7, false);
    EXPECT_EQ(screen.fields[Field::Label67], "7");
    progress.regionSearched(9, -1, true);
    EXPECT_EQ(screen.fields[Field::Label66], "9");
    EXPECT_EQ(screen.fields[Field::Label67], "-1");
    EXPECT_EQ(screen.eventsProcessed, 3);
}

TEST(ScreenPlanProgress, ABuildEndsWithTheHeightAndMinusOne) {
    CountingScreen screen;
    VirtualClock clock;
    ScreenPlanProgress progress(screen, clock);
    DotImage picture = drawnPicture({"......", ".4..3.", ".....1", "......"});
    const auto dir = scratchDirectory();
    ASSERT_TRUE(buildPlan(picture, false, ProgramDir(dir->path()), progress).ok);
    EXPECT_EQ(screen.fields[Field::Label66], "4");
    EXPECT_EQ(screen.fields[Field::Label67], "-1");
    EXPECT_EQ(screen.eventsProcessed, 2); // the first region, then the end (no time passed)
}

} // namespace
} // namespace zuk::test
