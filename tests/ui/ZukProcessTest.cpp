#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <signal.h>

namespace zuk::test {
namespace {

// The program itself, started under the offscreen platform and sent a termination signal.

// Bit n - 1 of the "SigCgt" mask in /proc/<pid>/status is set once the process catches
// signal n.
bool catchesSignal(qint64 pid, int signalNumber) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:")) {
            bool ok = false;
            const qulonglong mask = line.mid(7).trimmed().toULongLong(&ok, 16);
            return ok && (mask >> (signalNumber - 1)) & 1u;
        }
    }
    return false;
}

TEST(ZukProcessTest, ATerminationSignalEndsTheProgramWithItsShutdown) {
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        QTemporaryDir dir;
        QFile ini(dir.filePath(QStringLiteral("Zuk.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        // The built-in simulated engraver answers; the field width carries a remark that the
        // shutdown's rewrite of the file drops.
        ini.write("Group\r\nKnKHel4-14\r\nKnKHel3-10\r\nKnKHel2-5\r\nKnKHel1-2\r\n"
                  "Ind  \r\nKnKHel4-14\r\nKnKHel3-10\r\nKnKHel2-5\r\nKnKHel1-2\r\n"
                  "sim\r\n1930 pixels\r\n2330\r\n0\r\n12\r\n8\r\n1\r\n");
        ini.close();

        QProcess zuk;
        zuk.setWorkingDirectory(dir.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        zuk.setProcessEnvironment(environment);
        zuk.start(QStringLiteral(ZUK_BINARY_DIR "/zuk"), {});
        ASSERT_TRUE(zuk.waitForStarted(5000));
        QElapsedTimer waited;
        waited.start();
        while (!catchesSignal(zuk.processId(), signalNumber) && waited.elapsed() < 10000)
            QThread::msleep(10);
        ASSERT_TRUE(catchesSignal(zuk.processId(), signalNumber));

        ASSERT_EQ(::kill(static_cast<pid_t>(zuk.processId()), signalNumber), 0);
        const bool ended = zuk.waitForFinished(30000);
        if (!ended)
            zuk.kill();
        ASSERT_TRUE(ended) << signalNumber;
        EXPECT_EQ(zuk.exitStatus(), QProcess::NormalExit) << signalNumber;
        EXPECT_EQ(zuk.exitCode(), 0);
        ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = ini.readAll().split('\n');
        ASSERT_GE(lines.size(), 17);
        EXPECT_EQ(lines[10], "sim\r");
        EXPECT_EQ(lines[11], "1930\r") << signalNumber;
    }
}

} // namespace
} // namespace zuk::test
