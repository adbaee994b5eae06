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

// Starts the program in `dir` under the offscreen platform and waits until it catches the
// signal (the handler is installed at the start of main()).
void startZuk(QProcess& zuk, const QString& dir, int signalNumber) {
    zuk.setWorkingDirectory(dir);
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
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray iniWithPort(const QByteArray& port) {
    return "Group\r\nKnKHel4-14\r\nKnKHel3-10\r\nKnKHel2-5\r\nKnKHel1-2\r\n"
           "Ind  \r\nKnKHel4-14\r\nKnKHel3-10\r\nKnKHel2-5\r\nKnKHel1-2\r\n" +
           port + "\r\n1930 pixels\r\n2330\r\n0\r\n12\r\n8\r\n1\r\n";
}

// A signal while the start-up waits for the operator: a message box of a device that does not
// answer, or the unfinished-job dialog of a pending job. The program ends within seconds, the
// box or dialog taken as not answered: the job stays pending and Zuk.ini is written.
TEST(ZukProcessTest, ASignalDuringTheStartUpsDialogsEndsTheProgramAndKeepsThePendingJob) {
    for (const QByteArray& port : {QByteArray("/nonexistent/ttyZUK"), QByteArray("sim")}) {
        SCOPED_TRACE(port.constData());
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("Zuk.ini")), iniWithPort(port));
        const QByteArray recovery = "picture.bmp\r\n0\r\n0\r\n2\r\n5\r\n10\r\n14\r\n0\r\n"
                                    "2\r\n5\r\n10\r\n14\r\n0\r\n";
        writeFile(dir.filePath(QStringLiteral("ErorFile.txt")), recovery);

        QProcess zuk;
        startZuk(zuk, dir.path(), SIGTERM);
        // Long enough for the first message box or the dialog to be up.
        QThread::msleep(1500);
        ASSERT_EQ(::kill(static_cast<pid_t>(zuk.processId()), SIGTERM), 0);
        QElapsedTimer ending;
        ending.start();
        const bool ended = zuk.waitForFinished(5000);
        if (!ended)
            zuk.kill();
        ASSERT_TRUE(ended) << "still running " << ending.elapsed() << " ms after the signal";
        EXPECT_EQ(zuk.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(zuk.exitCode(), 0);
        QFile kept(dir.filePath(QStringLiteral("ErorFile.txt")));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), recovery);
        QFile ini(dir.filePath(QStringLiteral("Zuk.ini")));
        ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
        // Rewritten by the shutdown, which drops the remark after the field width.
        const QList<QByteArray> lines = ini.readAll().split('\n');
        EXPECT_EQ(lines.value(10), port + "\r");
        EXPECT_EQ(lines.value(11), "1930\r");
    }
}

TEST(ZukProcessTest, ATerminationSignalEndsTheProgramWithItsShutdown) {
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        QTemporaryDir dir;
        // The built-in simulated engraver answers; the field width carries a remark that the
        // shutdown's rewrite of the file drops.
        writeFile(dir.filePath(QStringLiteral("Zuk.ini")), iniWithPort("sim"));
        QProcess zuk;
        startZuk(zuk, dir.path(), signalNumber);
        ASSERT_EQ(::kill(static_cast<pid_t>(zuk.processId()), signalNumber), 0);
        const bool ended = zuk.waitForFinished(30000);
        if (!ended)
            zuk.kill();
        ASSERT_TRUE(ended) << signalNumber;
        EXPECT_EQ(zuk.exitStatus(), QProcess::NormalExit) << signalNumber;
        EXPECT_EQ(zuk.exitCode(), 0);
        QFile ini(dir.filePath(QStringLiteral("Zuk.ini")));
        ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = ini.readAll().split('\n');
        ASSERT_GE(lines.size(), 17);
        EXPECT_EQ(lines[10], "sim\r");
        EXPECT_EQ(lines[11], "1930\r") << signalNumber;
    }
}

} // namespace
} // namespace zuk::test
