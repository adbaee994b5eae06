#pragma once

#include <QString>
#include <QStringList>

namespace zuk::test {

// What a finished child process left: its exit status (-1 when it crashed or did not finish
// within a minute, which fails the test) and its output as UTF-8 text.
struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ProgramRun runProgram(const QString& program, const QStringList& args);

} // namespace zuk::test
