#include "BatchJobs.h"

#include "support/HeadWalk.h"
#include "support/JobPictures.h"

#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>

namespace zuk::test {

BatchProcess::BatchProcess(const QStringList& args) {
    process_.setProgram(QStringLiteral(ZUK_BINARY_DIR "/zuk-batch"));
    process_.setArguments(args);
    process_.start();
    EXPECT_TRUE(process_.waitForStarted(10000)) << process_.errorString().toStdString();
}

BatchProcess::~BatchProcess() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(10000);
    }
}

void BatchProcess::readAvailable() {
    out_ += QString::fromUtf8(process_.readAllStandardOutput());
    err_ += QString::fromUtf8(process_.readAllStandardError());
}

bool BatchProcess::waitForOutput(const QString& text, int timeoutMs) {
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        readAvailable();
        if (out_.contains(text))
            return true;
        if (process_.state() == QProcess::NotRunning || waited.elapsed() > timeoutMs)
            return false;
        process_.waitForReadyRead(100);
    }
}

int BatchProcess::finish() {
    if (!process_.waitForFinished(60000)) {
        process_.kill();
        process_.waitForFinished(10000);
        readAvailable();
        ADD_FAILURE() << "zuk-batch did not finish";
        return -1;
    }
    readAvailable();
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

void BatchProcess::signal(int signalNumber) {
    ::kill(static_cast<pid_t>(process_.processId()), signalNumber);
}

DeviceStrikes strikesWithForces(const QString& csvPath, const std::array<int, 4>& forces) {
    DeviceStrikes strikes;
    QFile csv(csvPath);
    EXPECT_TRUE(csv.open(QIODevice::ReadOnly)) << csvPath.toStdString();
    csv.readLine(); // index,pass,column,row_steps,level,force
    while (!csv.atEnd()) {
        const QList<QByteArray> fields = csv.readLine().trimmed().split(',');
        if (fields.size() != 6)
            continue;
        const int level = fields[4].toInt();
        if (level < 1 || level > 4 || fields[5].toInt() != 2 * (forces[level - 1] / 2))
            continue;
        const std::pair<qint64, qint64> cell{fields[3].toLongLong() / 2, fields[2].toLongLong()};
        if (!strikes.cells.emplace(cell, level).second)
            ++strikes.twice;
    }
    return strikes;
}

StruckCells planStrikes(const QString& planPath, QPoint offset) {
    QFile plan(planPath);
    EXPECT_TRUE(plan.open(QIODevice::ReadOnly)) << planPath.toStdString();
    const HeadWalk walk = walkPlan(plan.readAll());
    EXPECT_TRUE(walk.problems.isEmpty()) << walk.problems.join('|').toStdString();
    StruckCells cells;
    for (const HeadStep& step : walk.steps)
        if (step.code != '0')
            cells[{step.row + offset.y(), step.column + offset.x()}] = step.code - '0';
    return cells;
}

JobDirectory::JobDirectory() : picture(dir.filePath(QStringLiteral("picture.bmp"))) {
    EXPECT_TRUE(gradientPicture(QSize(40, 24)).save(picture, "BMP"));
}

} // namespace zuk::test
