// The preview: the job run on a simulated engraver of its own, its plate equal to the plate
// the same job leaves on the device, the program directory and the configured port untouched.
#include "EngraverBench.h"

#include "image/FieldView.h"
#include "run/Preview.h"
#include "service/FieldBounds.h"
#include "simulator/Reports.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

// The working-field view of the bench's field, with its border: the cells a job may strike.
const QSize kView =
    FieldView(QSize(EngraverBench::kFieldSide, EngraverBench::kFieldSide)).image().size();

// Every file of the directory with its bytes.
std::map<QString, QByteArray> directoryFiles(const QString& path) {
    std::map<QString, QByteArray> files;
    const QDir dir(path);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        files[name] = file.readAll();
    }
    return files;
}

// The plate a job must leave: each cell to strike in the shade of its level, at the view's
// pixel of the cell.
QImage expectedPlateImage(const std::map<std::pair<qint64, qint64>, int>& cells) {
    QImage plate(kView, QImage::Format_Grayscale8);
    plate.fill(0);
    for (const auto& [cell, code] : cells)
        plate.scanLine(int(cell.first - 1))[cell.second - 1] = uchar(sim::plateGrey(code));
    return plate;
}

// Pixels in which two plates differ (all of them when their sizes differ).
qint64 differingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.format() != b.format())
        return qint64(a.width()) * a.height();
    qint64 differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            differing += a.constScanLine(y)[x] != b.constScanLine(y)[x];
    return differing;
}

struct PreviewCase {
    Sides sides;
    bool secondPass;
    bool portrait;
    int placementButton;
};

class PreviewOfAJob : public ::testing::TestWithParam<PreviewCase> {};

TEST_P(PreviewOfAJob, ShowsThePlateTheJobLeavesOnTheDeviceWithItsEstimateAndDuration) {
    const PreviewCase& c = GetParam();
    EngraverBench bench;
    bench.startProgram();
    WorkJob work{gradientPicture(QSize(64, 40)), c.sides, c.placementButton, {}};
    work.spec.secondPass = c.secondPass;
    work.spec.portrait = c.portrait;
    bench.prepareJobThroughWork(work);
    const DotPicture codes = convertedCodes(bench.program().image.dotImage());

    const std::optional<JobPreview> preview = previewJob(bench.program());
    ASSERT_TRUE(preview) << bench.screen().messages.join('|').toStdString();
    EXPECT_TRUE(bench.screen().messages.isEmpty())
        << bench.screen().messages.join('|').toStdString();

    // The same job engraved on the device, started right after the preview.
    const qint64 startMs = bench.clock.monotonicMs();
    const JobStartResult started = startPreparedJob(bench.program());
    ASSERT_TRUE(started.started) << bench.screen().messages.join('|').toStdString();
    ASSERT_TRUE(bench.runTimers());
    const qint64 jobMs = bench.clock.monotonicMs() - startMs;
    expectEveryCellStruckOncePerPass(bench, codes, work.spec);

    const QImage engraved = platePicture(bench.engraver().plate(), kView);
    ASSERT_EQ(preview->plate.size(), kView);
    EXPECT_EQ(differingPixels(preview->plate, engraved), 0);
    EXPECT_EQ(differingPixels(preview->plate, expectedPlateImage(expectedPlate(codes, work.spec))),
              0);
    EXPECT_EQ(preview->strikes, qint64(bench.engraver().plate().strikes().size()));
    EXPECT_EQ(preview->planLines, started.planLines);
    EXPECT_EQ(preview->secondPass, c.secondPass);
    EXPECT_EQ(preview->estimate, started.estimate);
    EXPECT_EQ(preview->modelled, jobMs * 100);
}

INSTANTIATE_TEST_SUITE_P(, PreviewOfAJob,
                         ::testing::Values(PreviewCase{Sides::Double, false, false, 5},
                                           PreviewCase{Sides::Single, true, true, 1},
                                           PreviewCase{Sides::Double, true, false, 9}),
                         [](const ::testing::TestParamInfo<PreviewCase>& info) {
                             const PreviewCase& c = info.param;
                             return std::string(c.sides == Sides::Double ? "DoubleSided"
                                                                         : "SingleSided") +
                                    (c.secondPass ? "TwoPasses" : "OnePass") +
                                    (c.portrait ? "Portrait" : "Text") + "Place" +
                                    std::to_string(c.placementButton);
                         });

TEST(Preview, LeavesTheProgramDirectoryAndTheConfiguredPortUntouched) {
    EngraverBench bench;
    bench.startProgram();
    WorkJob work{gradientPicture(QSize(48, 30)), Sides::Double, 5, {}};
    work.spec.secondPass = true;
    bench.prepareJobThroughWork(work);
    // What an earlier job may have left beside the picture and Zuk.ini.
    for (const char* name :
         {"123123123.txt", "123sec.txt", "1.txt", "ErorFile.txt", "JobProgress.txt"}) {
        QFile file(bench.file(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("left by an earlier job: ") + name + "\r\n");
    }
    const std::map<QString, QByteArray> before = directoryFiles(bench.path());
    ASSERT_TRUE(before.count(QStringLiteral("Zuk.ini")));
    ASSERT_TRUE(before.count(QStringLiteral("picture.bmp")));
    const qint64 bytesBefore = bench.tap.bytes;
    const int commandsBefore = bench.engraver().counters().frames;

    bench.screen().clear();
    previewClick(bench.program());
    ASSERT_TRUE(bench.screen().preview) << bench.screen().messages.join('|').toStdString();
    EXPECT_GT(bench.screen().preview->strikes, 1000);

    EXPECT_EQ(directoryFiles(bench.path()), before);
    EXPECT_EQ(bench.tap.bytes, bytesBefore);
    EXPECT_EQ(bench.engraver().counters().frames, commandsBefore);
    EXPECT_TRUE(bench.engraver().plate().strikes().empty());
    // The window was locked while the preview ran, and is back to preparing jobs.
    EXPECT_EQ(bench.screen().events.filter(QStringLiteral("menu:")),
              (QStringList{QStringLiteral("menu: work"), QStringLiteral("menu: link up")}));
    EXPECT_FALSE(bench.program().timers.optimizing);
    EXPECT_TRUE(bench.screen().jobDuration.isEmpty()); // the status bar keeps its estimate
}

TEST(Preview, RefusesAsTheJobStartDoesAndRunsNothing) {
    EngraverBench bench;
    bench.startProgram();
    const qint64 bytesBefore = bench.tap.bytes;
    previewClick(bench.program());
    EXPECT_EQ(bench.screen().messages, QStringList{noPictureMessage()});
    EXPECT_FALSE(bench.screen().preview);

    WorkJob work{gradientPicture(QSize(48, 30)), Sides::Double, 5, {}};
    bench.prepareJobThroughWork(work);
    const qint64 bytesAfterOpen = bench.tap.bytes;
    bench.program().image.placement().offset = QPoint(kView.width() - 20, 4);
    const std::optional<QString> off = placementFitsField(bench.program().image);
    ASSERT_TRUE(off);
    bench.screen().clear();
    previewClick(bench.program());
    EXPECT_EQ(bench.screen().messages, QStringList{*off});
    EXPECT_FALSE(bench.screen().preview);
    EXPECT_EQ(bench.screen().events.filter(QStringLiteral("menu:")).last(),
              QStringLiteral("menu: link up"));
    EXPECT_GT(bytesAfterOpen, bytesBefore); // the open itself talks to the device
    EXPECT_EQ(bench.tap.bytes, bytesAfterOpen);
}

} // namespace
} // namespace zuk::test
