// Whole jobs over a faulty line: the simulated engraver drops or inverts about one in a hundred
// of its answer bytes and refuses about one good frame in two hundred, or falls silent part
// way. Whatever the exchange cannot repair ends in the fault stop with the job kept; the
// operator restarts the device and the program, which finishes the job. Every job must end with the
// plate exactly as without faults, no cell struck twice in a pass. Each campaign prints one line of
// figures; ZUK_FAULT_SEEDS runs other seeds than the suite's twelve ("40": seeds 1 to 40, "13-60":
// seeds 13 to 60).
#include "EngraverBench.h"

#include <QFile>

#include <gtest/gtest.h>

#include <iostream>
#include <random>

namespace zuk::test {
namespace {

// Restarting the device and the program takes the operator a while.
constexpr qint64 kFaultRestartDelayMs = 20000;
constexpr int kMaxRestarts = 25;
// One answer byte in this many is dropped, one in this many inverted, one good frame in this
// many refused: about one answer byte in a hundred lost or garbled.
constexpr int kFaultRate = 200;

const std::vector<PlanRegion> kFaultRegions{{2, 14, 2, 40}, {4, 18, 46, 80}, {20, 30, 6, 60}};
constexpr unsigned kDefaultSeeds = 12;

struct SeedRange {
    unsigned first = 1;
    unsigned last = kDefaultSeeds;
};

// "N" is seeds 1 to N, "A-B" seeds A to B; anything else (or nothing) the suite's seeds.
SeedRange seedRange(const QString& text) {
    const QStringList bounds = text.trimmed().split(QLatin1Char('-'));
    bool firstOk = false;
    bool lastOk = false;
    const unsigned first = bounds.size() == 2 ? bounds.front().toUInt(&firstOk) : 1;
    const unsigned last = bounds.back().toUInt(&lastOk);
    if (bounds.size() == 1)
        firstOk = true;
    if (!firstOk || !lastOk || bounds.size() > 2 || first == 0 || last < first)
        return {};
    return {first, last};
}

TEST(FaultSeeds, ACountOrARangeChoosesTheSeedsAndAnythingElseTheSuitesTwelve) {
    EXPECT_EQ(seedRange(QStringLiteral("40")).first, 1u);
    EXPECT_EQ(seedRange(QStringLiteral("40")).last, 40u);
    EXPECT_EQ(seedRange(QStringLiteral(" 13-60 ")).first, 13u);
    EXPECT_EQ(seedRange(QStringLiteral("13-60")).last, 60u);
    for (const char* odd : {"", "0", "x", "9-3", "0-4", "1-2-3", "-5", "4-"}) {
        SCOPED_TRACE(odd);
        EXPECT_EQ(seedRange(QString::fromLatin1(odd)).first, 1u);
        EXPECT_EQ(seedRange(QString::fromLatin1(odd)).last, kDefaultSeeds);
    }
}

JobSpec faultJob(Sides sides) {
    JobSpec spec;
    spec.plan = generatePlan(randomPicture(23, kFaultRegions), kFaultRegions, sides);
    spec.secondPass = true;
    spec.portrait = sides == Sides::Double;
    return spec;
}

// What a job leaves on the plate without any fault, and how much the device says during the
// job start and the run.
struct FaultFree {
    PassPlate first;
    PassPlate second;
    int answerBytesBeforeRun = 0;
    int framesBeforeRun = 0;
    int answerBytes = 0;
    int frames = 0;
};

FaultFree runWithoutFaults(const JobSpec& spec) {
    EngraverBench bench;
    bench.startProgram();
    bench.startJob(spec);
    FaultFree run;
    run.answerBytesBeforeRun = bench.engraver().counters().answerBytes;
    run.framesBeforeRun = bench.engraver().counters().frames;
    EXPECT_TRUE(bench.runTimers());
    run.answerBytes = bench.engraver().counters().answerBytes;
    run.frames = bench.engraver().counters().frames;
    run.first = platePass(bench.engraver().plate(), spec, 1);
    run.second = platePass(bench.engraver().plate(), spec, 2);
    return run;
}

// Faults spread at random over the run and well past its fault-free length (repairs and
// restarts make the device say more), none during the job start.
sim::FaultPlan randomFaults(unsigned seed, const FaultFree& reference) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> roll(1, kFaultRate);
    sim::FaultPlan faults;
    for (int byte = reference.answerBytesBeforeRun + 1; byte <= 3 * reference.answerBytes; ++byte) {
        if (roll(random) == 1)
            faults.dropAnswerBytes.insert(byte);
        else if (roll(random) == 1)
            faults.corruptAnswerBytes.insert(byte);
    }
    for (int frame = reference.framesBeforeRun + 1; frame <= 3 * reference.frames; ++frame)
        if (roll(random) == 1)
            faults.refuseFrames.insert(frame);
    return faults;
}

struct CampaignFigures {
    int jobs = 0;
    int answerBytes = 0; // what the device sent during the runs
    int droppedBytes = 0;
    int corruptedBytes = 0;
    int refusedFrames = 0; // good frames refused on purpose
    int silences = 0;      // the device falling silent until its restart
    int resynchronisations = 0;
    int badCheckRefusals = 0; // frames the device refused for their check byte
    int framesRepeated = 0;   // frames beyond those of the fault-free job
    int faultStops = 0;       // the job kept and finished by a new program start
    int jobsWithoutStop = 0;  // finished by the run that began them
    int platesEqual = 0;

    int faultsInjected() const { return droppedBytes + corruptedBytes + refusedFrames + silences; }

    void add(const sim::EngraverCounters& counters, const FaultFree& reference) {
        answerBytes += counters.answerBytes - reference.answerBytesBeforeRun;
        droppedBytes += counters.droppedAnswerBytes;
        corruptedBytes += counters.corruptedAnswerBytes;
        refusedFrames += counters.refusedOnPurpose;
        resynchronisations += counters.resynchronisations;
        badCheckRefusals += counters.refusedBadCheck;
        framesRepeated += counters.frames - reference.frames;
        ++jobs;
    }

    void print(const std::string& campaign) const {
        std::cout << campaign << ": " << jobs << " jobs, " << faultsInjected()
                  << " faults injected (" << droppedBytes << " answer bytes dropped, "
                  << corruptedBytes << " inverted, " << refusedFrames << " good frames refused, "
                  << silences << " silences) in " << answerBytes << " answer bytes, "
                  << resynchronisations << " resynchronisations, " << framesRepeated
                  << " frames repeated, " << badCheckRefusals << " refused for the check byte, "
                  << faultStops << " fault stops finished by a restart, " << jobsWithoutStop
                  << " jobs finished without one, " << platesEqual << " of " << jobs
                  << " plates equal" << std::endl;
        const std::pair<const char*, int> properties[] = {
            {"jobs", jobs},
            {"answer_bytes", answerBytes},
            {"dropped_bytes", droppedBytes},
            {"inverted_bytes", corruptedBytes},
            {"refused_frames", refusedFrames},
            {"silences", silences},
            {"resynchronisations", resynchronisations},
            {"frames_repeated", framesRepeated},
            {"check_byte_refusals", badCheckRefusals},
            {"fault_stops", faultStops},
            {"jobs_without_stop", jobsWithoutStop},
            {"plates_equal", platesEqual},
        };
        for (const auto& [name, value] : properties)
            ::testing::Test::RecordProperty(name, value);
    }
};

std::string campaignName(Sides sides, const char* kind) {
    return std::string(sides == Sides::Double ? "double-sided" : "single-sided") + kind;
}

// Runs the job to its end: after each fault stop the device and the program are restarted
// and the new program finishes the job. The number of restarts it took.
int finishAcrossRestarts(EngraverBench& bench) {
    int restarts = 0;
    for (;;) {
        EXPECT_TRUE(bench.runTimers());
        if (!QFile::exists(bench.file("ErorFile.txt")))
            return restarts;
        EXPECT_FALSE(bench.program().timers.optimizing);
        if (++restarts > kMaxRestarts) {
            ADD_FAILURE() << "the job was still not finished after " << kMaxRestarts << " restarts";
            return restarts;
        }
        bench.clock.advance(kFaultRestartDelayMs);
        bench.engraver().restart(bench.clock.monotonicMs());
        bench.startProgram();
    }
}

bool platesEqual(EngraverBench& bench, const JobSpec& spec, const FaultFree& reference) {
    const PassPlate first = platePass(bench.engraver().plate(), spec, 1);
    const PassPlate second = platePass(bench.engraver().plate(), spec, 2);
    EXPECT_EQ(first.cells, reference.first.cells);
    EXPECT_EQ(second.cells, reference.second.cells);
    EXPECT_EQ(first.twice + second.twice, 0);
    EXPECT_EQ(first.foreign + second.foreign, 0);
    return first.cells == reference.first.cells && second.cells == reference.second.cells &&
           first.twice + second.twice + first.foreign + second.foreign == 0;
}

class FaultyLine : public ::testing::TestWithParam<Sides> {};

TEST_P(FaultyLine, JobsWithOneAnswerInAHundredLostGarbledOrRefusedEndWithTheExactPlate) {
    const JobSpec spec = faultJob(GetParam());
    const FaultFree reference = runWithoutFaults(spec);
    ASSERT_EQ(reference.first.cells, reference.second.cells);
    ASSERT_GT(reference.first.cells.size(), 900u);

    const SeedRange seeds = seedRange(qEnvironmentVariable("ZUK_FAULT_SEEDS"));
    CampaignFigures figures;
    for (unsigned seed = seeds.first; seed <= seeds.last; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        sim::SimOptions options;
        options.faults = randomFaults(seed, reference);
        EngraverBench bench(options);
        bench.startProgram();
        bench.startJob(spec);
        const int restarts = finishAcrossRestarts(bench);
        figures.faultStops += restarts;
        figures.jobsWithoutStop += restarts == 0 ? 1 : 0;
        figures.add(bench.engraver().counters(), reference);
        figures.platesEqual += platesEqual(bench, spec, reference) ? 1 : 0;
        EXPECT_FALSE(QFile::exists(bench.file("JobProgress.txt")));
    }
    figures.print(campaignName(GetParam(), "") + ", seeds " + std::to_string(seeds.first) + "-" +
                  std::to_string(seeds.last));
    // About one fault in a hundred answer bytes.
    EXPECT_GT(figures.faultsInjected() * 150, figures.answerBytes);
    EXPECT_LT(figures.faultsInjected() * 60, figures.answerBytes);
    EXPECT_GT(figures.resynchronisations, figures.jobs * 10);
    EXPECT_EQ(figures.platesEqual, figures.jobs);
    // A lost or garbled answer is repaired where the device can tell what it did: nearly every
    // job ends without the operator's restart.
    EXPECT_GE(figures.jobsWithoutStop * 100, figures.jobs * 95);
}

TEST_P(FaultyLine, DeviceFallingSilentEndsInTheFaultStopAndANewStartFinishesTheJob) {
    const JobSpec spec = faultJob(GetParam());
    const FaultFree reference = runWithoutFaults(spec);
    EngraverBench probe;
    probe.startProgram();
    const int startUpCommands = [&] {
        probe.startJob(spec);
        int carried = 0;
        for (const int count : probe.engraver().counters().commands)
            carried += count;
        return carried;
    }();

    CampaignFigures figures;
    for (const int afterRunCommands : {3, 40, 95, 160, 230}) {
        SCOPED_TRACE(::testing::Message()
                     << "silent after " << afterRunCommands << " commands of the run");
        sim::SimOptions options;
        options.faults.silentAfterCommands = startUpCommands + afterRunCommands;
        EngraverBench bench(options);
        bench.startProgram();
        bench.startJob(spec);
        ASSERT_TRUE(bench.runTimers());
        ASSERT_TRUE(bench.engraver().silent());
        EXPECT_FALSE(bench.program().timers.optimizing);
        EXPECT_EQ(bench.screen().faultAdvices, 1);
        EXPECT_TRUE(QFile::exists(bench.file("ErorFile.txt")));
        EXPECT_TRUE(QFile::exists(bench.file("JobProgress.txt")));
        EXPECT_TRUE(bench.program().unfinishedJob);

        bench.clock.advance(kFaultRestartDelayMs);
        bench.engraver().restart(bench.clock.monotonicMs());
        bench.startProgram();
        figures.faultStops += 1 + finishAcrossRestarts(bench);
        figures.add(bench.engraver().counters(), reference);
        ++figures.silences;
        figures.platesEqual += platesEqual(bench, spec, reference) ? 1 : 0;
        EXPECT_TRUE(bench.engraver().unexplainedViolations().empty())
            << bench.engraver().unexplainedViolations().front().description.toStdString();
    }
    figures.print(campaignName(GetParam(), ", silent"));
    EXPECT_EQ(figures.platesEqual, figures.jobs);
}

INSTANTIATE_TEST_SUITE_P(, FaultyLine, ::testing::Values(Sides::Double, Sides::Single),
                         [](const ::testing::TestParamInfo<Sides>& info) {
                             return info.param == Sides::Double ? "DoubleSided" : "SingleSided";
                         });

} // namespace
} // namespace zuk::test
