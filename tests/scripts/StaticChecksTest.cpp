#include "support/ProgramRun.h"

#include <QDir>

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

// scripts/static-checks run on the inputs of tests/data/static-checks/ with the compile
// commands of the build directory these tests belong to.
const QString kInputs = QStringLiteral(ZUK_TEST_DATA_DIR "/static-checks/");

ProgramRun runStaticChecks(const QStringList& args) {
    const QString script =
        QDir::cleanPath(QStringLiteral(ZUK_TEST_DATA_DIR "/../../scripts/static-checks"));
    return runProgram(
        script, QStringList{QStringLiteral("--build"), QStringLiteral(ZUK_BINARY_DIR)} + args);
}

TEST(StaticChecks, FailsWithEachFindingOnceEvenWhenTwoSourcesIncludeItsHeader) {
    const ProgramRun run = runStaticChecks({kInputs + QStringLiteral("FaultyFirst.cpp"),
                                            kInputs + QStringLiteral("FaultySecond.cpp")});

    EXPECT_EQ(run.exitCode, 1) << run.out.toStdString() << run.err.toStdString();
    EXPECT_EQ(run.out.count(QStringLiteral("[bugprone-use-after-move]")), 1)
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("static-checks/Faulty.h:13:")))
        << run.out.toStdString();
    EXPECT_EQ(run.out.count(QStringLiteral("[arrayIndexOutOfBounds]")), 1) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("static-checks/FaultyFirst.cpp:6:")))
        << run.out.toStdString();
    EXPECT_FALSE(run.out.contains(QStringLiteral("static-checks: clean")));
}

TEST(StaticChecks, PassesSoundCodeAndLeavesOutWhatTheProjectSuppresses) {
    const ProgramRun run = runStaticChecks({kInputs + QStringLiteral("Clean.cpp")});

    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("static-checks: clean"))) << run.out.toStdString();
    EXPECT_FALSE(run.out.contains(QStringLiteral("useStlAlgorithm"))) << run.out.toStdString();
}

TEST(StaticChecks, CountsASourceThatDoesNotCompileAsAFinding) {
    const ProgramRun run = runStaticChecks({kInputs + QStringLiteral("Broken.cpp")});

    EXPECT_EQ(run.exitCode, 1) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("Broken.cpp:3:"))) << run.out.toStdString();
    EXPECT_FALSE(run.out.contains(QStringLiteral("static-checks: clean")));
}

TEST(StaticChecks, RefusesABadCommandLineWithItsReason) {
    struct Case {
        QStringList args;
        QString reason;
    };
    const Case cases[] = {
        {{QStringLiteral("--fast")}, QStringLiteral("unknown option --fast")},
        {{kInputs + QStringLiteral("Missing.cpp")}, QStringLiteral("no such file")},
        {{QStringLiteral(ZUK_TEST_DATA_DIR "/../CMakeLists.txt")},
         QStringLiteral("not a C++ source or header")},
    };
    for (const Case& bad : cases) {
        const ProgramRun run = runStaticChecks(bad.args);
        EXPECT_EQ(run.exitCode, 2) << bad.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(bad.reason)) << run.err.toStdString();
        EXPECT_FALSE(run.out.contains(QStringLiteral("clang-tidy: checking")))
            << "checked despite the bad command line: " << run.out.toStdString();
    }
}

TEST(StaticChecks, ItsHelpSaysHowToCheckSomeFiles) {
    const ProgramRun run = runStaticChecks({QStringLiteral("--help")});

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains(QStringLiteral("scripts/static-checks [--build DIR] [FILE...]")))
        << run.out.toStdString();
}

} // namespace
} // namespace zuk::test
