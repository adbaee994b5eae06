#include "EngraverBench.h"

#include "image/Conversion.h"
#include "plan/LevelPanels.h"
#include "plan/PlanBuilder.h"
#include "plan/PlanLine.h"
#include "plan/PlanReader.h"
#include "run/JobRunner.h"
#include "run/StrikeMarks.h"
#include "support/CommandTap.h"
#include "support/JobPictures.h"

#include <QFile>

#include <gtest/gtest.h>

namespace zuk::test {

namespace {

constexpr int kMaxTicks = 200000;

// The host's end of the line: counts and records what crosses it, and crashes on cue.
class TappedLine final : public ByteTransport {
public:
    TappedLine(std::unique_ptr<ByteTransport> inner, LineTap& tap, Clock& clock)
        : inner_(std::move(inner)), tap_(tap), clock_(clock) {}

    bool setParity(Parity parity) override { return inner_->setParity(parity); }
    bool writeByte(quint8 byte) override {
        tap_.cross();
        tap_.written.append(static_cast<char>(byte));
        return tap_.unplugged || inner_->writeByte(byte);
    }
    std::optional<quint8> readByte(int timeoutMs) override {
        const std::optional<quint8> byte =
            tap_.unplugged ? silence(timeoutMs) : inner_->readByte(timeoutMs);
        if (byte)
            tap_.cross();
        return byte;
    }
    bool lost() const override { return tap_.hungUp; }

private:
    std::optional<quint8> silence(int timeoutMs) {
        clock_.sleepUntil(clock_.monotonicMs() + timeoutMs);
        return std::nullopt;
    }

    std::unique_ptr<ByteTransport> inner_;
    LineTap& tap_;
    Clock& clock_;
};

int forceOf(const StrikeLevels& levels, int code) {
    const int level = code == 1   ? levels.level8
                      : code == 2 ? levels.level16
                      : code == 3 ? levels.level24
                                  : levels.level32;
    return 2 * (level / 2);
}

} // namespace

std::vector<QByteArray> builtPlan(const DotPicture& dots, Sides sides) {
    const int height = int(dots.rows.size());
    const int width = height == 0 ? 0 : int(dots.rows.front().size());
    DotImage picture;
    SilentProgress sizing;
    sizeGrids(picture, QSize(width, height), sizing);
    static constexpr double kDotValues[] = {0, 64, 128, 192, 255};
    for (int row = 1; row <= height; ++row) {
        for (int column = 1; column <= width; ++column) {
            const char code = dots.code(row, column);
            if (code < '0' || code > '4')
                continue;
            picture.gray.at(row, column) = 200;
            picture.dots.at(row, column + 1) = kDotValues[code - '0'];
        }
    }
    QTemporaryDir dir(EngraverBench::scratchDirectory());
    SilentPlanProgress progress;
    const PlanBuildResult built =
        buildPlan(picture, sides == Sides::Single, ProgramDir(dir.path()), progress);
    EXPECT_TRUE(built.ok) << built.error.toStdString();
    PlanReader reader;
    EXPECT_TRUE(reader.open(dir.filePath(QLatin1String(kPlanFileName))));
    std::vector<QByteArray> lines;
    while (!reader.atEnd())
        lines.push_back(reader.next());
    return lines;
}

QString EngraverBench::scratchDirectory() {
    return scratchDirectoryTemplate(QStringLiteral("zuk-run"));
}

EngraverBench::EngraverBench(sim::SimOptions options) : engraver_(sim::makeEngraver(options)) {
    writeSimulatorConfiguration(dir_.path(), 0, QSize(kFieldSide, kFieldSide));
}

Program& EngraverBench::startProgram(RecoveryChoice answer) {
    abandonHost();
    screen_ = std::make_unique<RecordingScreen>();
    screen_->recoveryAnswer = answer;
    TransportFactory transports = [engraver = engraver_, tap = &tap, clock = &clock](
                                      const QString& name) -> std::unique_ptr<ByteTransport> {
        if (!sim::isBuiltInPortName(name))
            return nullptr;
        return std::make_unique<TappedLine>(sim::openBuiltInEngraver(engraver, *clock), *tap,
                                            *clock);
    };
    program_ = std::make_unique<Program>(*screen_, clock, transports, ProgramDir(dir_.path()));
    program_->formCreate();
    program_->offerUnfinishedJob();
    return *program_;
}

QByteArray EngraverBench::bytesOf(const QString& name) const {
    QFile data(file(name));
    return data.open(QIODevice::ReadOnly) ? data.readAll() : QByteArray();
}

void EngraverBench::abandonHost() {
    program_.reset();
    screen_.reset();
}

void EngraverBench::startJob(const JobSpec& spec) {
    ASSERT_EQ(startJobAsTheJobStartDoes(*program_, spec, planFileBytes(spec.plan)), QString());
}

JobStartResult EngraverBench::startJobThroughWork(WorkJob& job) {
    return test::startJobThroughWork(*program_, *screen_, job, file(QStringLiteral("picture.bmp")));
}

void EngraverBench::prepareJobThroughWork(WorkJob& job) {
    test::prepareJobThroughWork(*program_, *screen_, job, file(QStringLiteral("picture.bmp")));
}

void prepareJobThroughWork(Program& program, RecordingScreen& screen, WorkJob& job,
                           const QString& picturePath) {
    EXPECT_TRUE(job.picture.save(picturePath, "BMP"));
    screen.conversionAnswer = ConversionVariant::Combined;
    screen.openAnswer = picturePath;
    screen.resolutionAnswer = {job.spec.resolution, job.placementButton};
    program.choices.edgeDots = job.spec.edgeDots;
    program.image.openClick();
    // "Гравировка", then the quality, the second pass, text or portrait and both passes'
    // forces set one by one.
    EngravingChoices choices = choicesOnFirstOpening(program.choices);
    choices.singleSided = job.sides == Sides::Single;
    choices.secondPass = job.spec.secondPass;
    choices.portrait = job.spec.portrait;
    choices.firstMode = choices.secondMode = LevelMode::Individual;
    choices.first = job.spec.first;
    choices.second = job.spec.second;
    program.choices = choices;
    job.spec.offset = program.image.placement().offset;
}

JobStartResult startPreparedJob(Program& program) {
    return startJob(program, preparedJob(program), {});
}

JobStartResult startJobThroughWork(Program& program, RecordingScreen& screen, WorkJob& job,
                                   const QString& picturePath) {
    prepareJobThroughWork(program, screen, job, picturePath);
    return startPreparedJob(program);
}

DotPicture convertedCodes(const DotImage& picture) {
    DotPicture codes;
    for (int row = 1; row <= picture.height(); ++row) {
        std::string line;
        for (int column = 1; column <= picture.width(); ++column) {
            // A black pixel is no picture cell: whatever its dot value, nothing strikes it.
            line += picture.gray.at(row, column) > 0
                        ? strikeCodeOf(picture.dots.at(row, column + 1))
                        : '.';
        }
        codes.rows.push_back(line);
    }
    return codes;
}

bool EngraverBench::tick() {
    return JobRunner(*program_).step();
}

bool EngraverBench::runTimers() {
    try {
        for (int ticks = 0; ticks < kMaxTicks; ++ticks)
            if (!tick())
                return true;
        ADD_FAILURE() << "the timers were still running after " << kMaxTicks << " ticks";
        return true;
    } catch (const HostCrash&) {
        return false;
    }
}

PassPlate platePass(const sim::Plate& plate, const JobSpec& spec, int pass) {
    const StrikeLevels& levels = pass == 1 ? spec.first : spec.second;
    const StrikeLevels& other = pass == 1 ? spec.second : spec.first;
    PassPlate found;
    for (const sim::Strike& strike : plate.strikes()) {
        if (strike.force == forceOf(levels, strike.level) && strike.rowSteps % 2 == 0) {
            if (!found.cells
                     .emplace(std::pair{qint64{strike.rowSteps / 2}, qint64{strike.column}},
                              strike.level)
                     .second)
                ++found.twice;
        } else if (strike.force != forceOf(other, strike.level)) {
            ++found.foreign;
        }
    }
    return found;
}

std::map<std::pair<qint64, qint64>, int> expectedPlate(const DotPicture& picture,
                                                       const JobSpec& spec) {
    std::map<std::pair<qint64, qint64>, int> cells;
    for (const auto& [cell, code] : picture.struckCells())
        cells[{cell.first + spec.offset.y(), cell.second + spec.offset.x()}] = code;
    return cells;
}

void expectEveryCellStruckOncePerPass(EngraverBench& bench, const DotPicture& picture,
                                      const JobSpec& spec) {
    const auto expected = expectedPlate(picture, spec);
    for (int pass = 1; pass <= (spec.secondPass ? 2 : 1); ++pass) {
        const PassPlate plate = platePass(bench.engraver().plate(), spec, pass);
        EXPECT_EQ(plate.cells, expected) << "pass " << pass;
        EXPECT_EQ(plate.twice, 0) << "pass " << pass;
        EXPECT_EQ(plate.foreign, 0) << "pass " << pass;
    }
}

std::set<std::pair<qint64, qint64>> markedCells(const QImage& view) {
    std::set<std::pair<qint64, qint64>> cells;
    for (int y = 0; y < view.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(view.constScanLine(y));
        for (int x = 0; x < view.width(); ++x)
            if (line[x] == kStrikeMark)
                cells.insert({y + 1, x + 1});
    }
    return cells;
}

} // namespace zuk::test
