// The live progress of a run: the share of the plan lines done and the remaining time
// re-projected from the time the job has actually taken, shown at most once a second.
#include "EngraverBench.h"

#include "run/EngravingRun.h"
#include "run/Interruption.h"
#include "run/LiveProgress.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <random>

namespace zuk::test {
namespace {

struct Showing {
    RunProgressFigures figures;
    qint64 atMs = 0;
};

// A plan line as the progress line sees it: its time as the estimate models it (10-µs units)
// and the time it really takes (ms).
struct TimedLine {
    qint64 modelled = 0;
    qint64 takesMs = 0;
};

PlanWork workOf(const std::vector<TimedLine>& lines) {
    PlanWork work{qint64(lines.size()), 0};
    for (const TimedLine& line : lines)
        work.modelled += line.modelled;
    return work;
}

// Lines that take what the model says, `ms` each.
std::vector<TimedLine> evenLines(int count, qint64 ms) {
    return std::vector<TimedLine>(size_t(count), TimedLine{ms * 100, ms});
}

// A pass of lines, one tick each, a millisecond apart as the run timer ticks; `pauses` holds
// the waits before some lines (by index).
struct TimedRun {
    LiveProgress progress;
    std::vector<Showing> shown;
    qint64 nowMs = 0;

    void pass(int number, const std::vector<TimedLine>& lines, const PlanWork& later = {},
              const std::map<size_t, qint64>& pauses = {}) {
        progress.beginPass(number, workOf(lines), later);
        for (size_t i = 0; i < lines.size(); ++i) {
            if (const auto pause = pauses.find(i); pause != pauses.end())
                nowMs += pause->second;
            const qint64 start = nowMs;
            nowMs += lines[i].takesMs;
            progress.lineDone(qint64(i + 1), lines[i].modelled);
            progress.tickTaken(start, nowMs);
            if (const auto figures = progress.showingDue(nowMs))
                shown.push_back({*figures, nowMs});
            nowMs += 1;
        }
    }
};

// Lines as a plan's regions make them: a move of any length, the needle lowered, strike rows
// whose time depends on the region's width and the levels struck, the needle raised. Regions
// differ widely, so the lines take very uneven time, in no regular order. The device is not
// the model: it takes a third longer for steps and strikes and a few milliseconds of link
// turn-around for every line, which the model leaves out.
std::vector<TimedLine> unevenLines(unsigned seed, int regions) {
    std::mt19937 random(seed);
    auto between = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    auto line = [&](qint64 modelledMs) {
        return TimedLine{modelledMs * 100, modelledMs * 4 / 3 + between(1, 6)};
    };
    std::vector<TimedLine> lines;
    for (int region = 0; region < regions; ++region) {
        lines.push_back(line(between(40, 900))); // "GoTo:"
        lines.push_back(line(12));               // "Down: "
        const int width = between(5, 200);
        const int rows = between(3, 60);
        for (int row = 0; row < rows; ++row)
            lines.push_back(line(width * between(2, 12))); // "Knock:" / "KBack:"
        lines.push_back(line(12));                         // "Up  : "
    }
    return lines;
}

// The largest error of the projected remaining time against the true one, as a share of the
// job's duration, over the showings from the given share of the lines done on.
double largestError(const std::vector<Showing>& shown, double fromShare) {
    const qint64 endMs = shown.back().atMs;
    const qint64 duration = endMs - shown.front().atMs;
    double largest = 0;
    for (const Showing& s : shown) {
        const RunProgressFigures& f = s.figures;
        if (!f.remainingMs || f.linesDone < fromShare * f.linesTotal)
            continue;
        const qint64 truth = endMs - s.atMs;
        largest = std::max(largest, std::abs(double(*f.remainingMs - truth)) / duration);
    }
    return largest;
}

void expectAtMostOncePerSecondAndTheEndShown(const std::vector<Showing>& shown) {
    ASSERT_GE(shown.size(), 2u);
    for (size_t i = 1; i + 1 < shown.size(); ++i)
        EXPECT_GE(shown[i].atMs - shown[i - 1].atMs, LiveProgress::kShowIntervalMs) << i;
    const RunProgressFigures& last = shown.back().figures;
    EXPECT_EQ(last.linesDone, last.linesTotal);
    EXPECT_EQ(last.remainingMs, 0);
}

TEST(LiveProgress, ProjectionConvergesToTheTrueRemainingTimeOnUnevenLines) {
    const std::vector<TimedLine> lines = unevenLines(13, 60);
    TimedRun run;
    run.pass(1, lines);
    ASSERT_GT(run.shown.size(), 200u);
    expectAtMostOncePerSecondAndTheEndShown(run.shown);
    for (const Showing& s : run.shown)
        EXPECT_EQ(s.figures.linesTotal, qint64(lines.size()));

    // Early on the pace of a few regions says little; the projection closes in on the truth
    // as more of the job has run.
    const double early = largestError(run.shown, 0.0);
    const double half = largestError(run.shown, 0.5);
    const double late = largestError(run.shown, 0.9);
    EXPECT_LT(half, early);
    EXPECT_LT(half, 0.05);
    EXPECT_LT(late, 0.01);
}

TEST(LiveProgress, PaceIsMeasuredAgainstTheWorkOfTheLinesNotTheirNumber) {
    // Many short needle lines first, then a few long moves: counted by lines, the first half
    // of the lines would promise a nearly finished job while most of its time is still ahead.
    std::vector<TimedLine> lines = evenLines(900, 50);
    for (const TimedLine& move : evenLines(100, 4000))
        lines.push_back(move);
    TimedRun run;
    run.pass(1, lines);
    const auto half = std::find_if(run.shown.begin(), run.shown.end(), [](const Showing& s) {
        return s.figures.linesDone >= 500 && s.figures.remainingMs;
    });
    ASSERT_NE(half, run.shown.end());
    const qint64 truth = run.shown.back().atMs - half->atMs;
    EXPECT_NEAR(double(*half->figures.remainingMs), double(truth), truth * 0.05);
}

TEST(LiveProgress, LinesWithoutModelledTimeAreMeasuredByTheirNumber) {
    // A plan of lines the model gives no time (nothing the device has to do per the model).
    std::vector<TimedLine> lines(200, TimedLine{0, 20});
    TimedRun run;
    run.pass(1, lines);
    const auto later = std::find_if(run.shown.begin(), run.shown.end(), [](const Showing& s) {
        return s.figures.linesDone >= 100 && s.figures.remainingMs;
    });
    ASSERT_NE(later, run.shown.end());
    const qint64 linesLeft = 200 - later->figures.linesDone;
    EXPECT_NEAR(double(*later->figures.remainingMs), linesLeft * 21.0, linesLeft * 1.0);
}

TEST(LiveProgress, NoRemainingTimeBeforeTheJobHasRunASecond) {
    TimedRun run;
    run.pass(1, evenLines(50, 30));
    // The first showing comes with the first line; the next a second later.
    ASSERT_GE(run.shown.size(), 2u);
    EXPECT_EQ(run.shown[0].figures, (RunProgressFigures{1, 50, std::nullopt}));
    // Line k ends at 31 k - 1 ms: the 34th is the first a second after the first.
    EXPECT_EQ(run.shown[1].figures.linesDone, 34);
    ASSERT_TRUE(run.shown[1].figures.remainingMs);
    EXPECT_NEAR(double(*run.shown[1].figures.remainingMs), 16 * 31, 31);
}

TEST(LiveProgress, PausesDoNotCountAsTheJobsTime) {
    // 100 lines of 100 ms; STOP for ten minutes before the 51st.
    TimedRun run;
    run.pass(1, evenLines(100, 100), {}, {{50, 600'000}});
    const auto after = std::find_if(run.shown.begin(), run.shown.end(),
                                    [](const Showing& s) { return s.figures.linesDone >= 60; });
    ASSERT_NE(after, run.shown.end());
    const qint64 linesLeft = 100 - after->figures.linesDone;
    EXPECT_NEAR(double(*after->figures.remainingMs), linesLeft * 101.0, linesLeft * 2.0);
    EXPECT_NEAR(double(run.progress.activeMs()), 100 * 101, 5);
}

TEST(LiveProgress, BothPassesCountTowardTheJob) {
    TimedRun run;
    run.pass(1, evenLines(100, 50), workOf(evenLines(100, 50)));
    EXPECT_EQ(run.progress.figures().linesDone, 100);
    EXPECT_EQ(run.progress.figures().linesTotal, 200);
    // Halfway through the job's work, half of its time is still to come.
    EXPECT_NEAR(double(*run.progress.figures().remainingMs), 100 * 51, 60);
    // The second pass's first tick follows at once: its time and lines add to the first's.
    run.pass(2, evenLines(100, 50));
    EXPECT_EQ(run.progress.figures(), (RunProgressFigures{200, 200, 0}));
    EXPECT_NEAR(double(run.progress.activeMs()), 200 * 51, 2);
    for (const Showing& s : run.shown)
        EXPECT_EQ(s.figures.linesTotal, 200);
    expectAtMostOncePerSecondAndTheEndShown(run.shown);

    // The next job starts from nothing and shows at once.
    const size_t before = run.shown.size();
    run.pass(1, evenLines(10, 50));
    ASSERT_GT(run.shown.size(), before);
    EXPECT_EQ(run.shown[before].figures, (RunProgressFigures{1, 10, std::nullopt}));
}

TEST(LiveProgress, TextShowsTheShareTheLinesAndTheTimeLeft) {
    // The time as the estimate's duration shows it in the locale (here the C locale's); the
    // lines grouped the Russian way whatever the locale.
    const QLocale locale = QLocale::c();
    EXPECT_EQ(runProgressText({1234, 2938, (41 * 60 + 10) * 1000}, locale),
              QStringLiteral("Выполнено: 42 % (1\u00a0234 из 2\u00a0938), осталось: 00:41:10"));
    // 100 % only once every line is done; days of work count in hours.
    EXPECT_EQ(runProgressText({2937, 2938, 30LL * 3600 * 1000}, locale),
              QStringLiteral("Выполнено: 99 % (2\u00a0937 из 2\u00a0938), осталось: 30:00:00"));
    EXPECT_EQ(runProgressText({1, 2938, std::nullopt}, locale),
              QStringLiteral("Выполнено: 0 % (1 из 2\u00a0938)"));
}

// A double-pass job on the simulated engraver: the lines take the time the device takes for
// them, with a STOP of ten minutes in the first pass.
TEST(LiveProgressOnTheEngraver, DoublePassJobWithStopConvergesAndEndsAtItsLastLine) {
    const std::vector<PlanRegion> regions{{2, 40, 2, 90}, {10, 70, 100, 240}, {75, 130, 20, 160}};
    const DotPicture picture = randomPicture(5, regions);
    JobSpec spec;
    spec.plan = generatePlan(picture, regions, Sides::Double);
    spec.secondPass = true;
    const qint64 planLines = qint64(spec.plan.size());

    EngraverBench bench;
    bench.startProgram();
    bench.screen().clock = &bench.clock;
    bench.startJob(spec);
    Program& program = bench.program();
    while (program.job.plan.linesRead() < planLines / 2)
        ASSERT_TRUE(bench.tick());
    stopClick(program, true);
    bench.clock.advance(600'000);
    continueWork(program);
    ASSERT_TRUE(bench.runTimers());
    ASSERT_TRUE(bench.screen().messages.isEmpty())
        << bench.screen().messages.join('|').toStdString();

    std::vector<Showing> shown;
    for (const auto& [figures, atMs] : bench.screen().runProgress)
        shown.push_back({figures, atMs});
    ASSERT_GT(shown.size(), 20u);
    // The end empties the progress line, and the status line tells it with the job's time
    // (the STOP included) and its strikes.
    EXPECT_FALSE(shown.back().figures.running);
    const qint64 endMs = shown.back().atMs;
    shown.pop_back();
    for (size_t i = 1; i < shown.size(); ++i)
        EXPECT_GE(shown[i].atMs - shown[i - 1].atMs, LiveProgress::kShowIntervalMs) << i;
    for (const Showing& s : shown) {
        ASSERT_TRUE(s.figures.running);
        ASSERT_EQ(s.figures.linesTotal, 2 * planLines);
    }
    const QRegularExpressionMatch end =
        QRegularExpression(
            QStringLiteral("^Работа завершена за (\\d\\d):(\\d\\d):\\d\\d, ударов иглы: "))
            .match(bench.screen().statusLine);
    ASSERT_TRUE(end.hasMatch()) << bench.screen().statusLine.toStdString();
    EXPECT_GE(end.captured(1).toInt() * 60 + end.captured(2).toInt(), 10);

    // The true remaining time leaves the ten minutes of the STOP out: it came before every
    // showing from the middle of the job on.
    double largest = 0;
    for (const Showing& s : shown) {
        if (s.figures.linesDone < planLines)
            continue;
        const qint64 truth = endMs - s.atMs;
        largest = std::max(largest, std::abs(double(*s.figures.remainingMs - truth)) /
                                        double(program.job.liveProgress.meter.activeMs()));
    }
    EXPECT_LT(largest, 0.05);
}

} // namespace
} // namespace zuk::test
