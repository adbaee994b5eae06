#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace zuk::test {

// What one run of the zuk-batch tool left: its exit status and both output streams.
struct BatchRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the zuk-batch built with the tests (a test folder that uses it has the tool as a build
// dependency) and waits for it, for a minute at most.
inline BatchRun runBatch(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(ZUK_BINARY_DIR "/zuk-batch"), args);
    BatchRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        ADD_FAILURE() << "zuk-batch did not finish: " << process.errorString().toStdString();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace zuk::test
