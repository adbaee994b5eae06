#pragma once

// zuk-devsim as a child process of a test, and its JSON reports.
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace zuk::sim::test {

inline QJsonObject readJson(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

// zuk-devsim as a child process; stopped with SIGTERM when the test ends.
class Devsim {
public:
    bool start(const QStringList& arguments) {
        process_.setProgram(QStringLiteral(ZUK_BINARY_DIR "/zuk-devsim"));
        process_.setArguments(arguments);
        process_.start();
        if (!process_.waitForStarted(5000))
            return false;
        while (!process_.canReadLine())
            if (!process_.waitForReadyRead(5000))
                return false;
        terminal_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
        return !terminal_.isEmpty();
    }
    // SIGTERM, then the exit code (-1 when it did not end cleanly).
    int stop() {
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
            return -1;
        }
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }
    ~Devsim() {
        if (process_.state() != QProcess::NotRunning)
            stop();
    }
    QString terminal() const { return terminal_; }
    QString errors() { return QString::fromLocal8Bit(process_.readAllStandardError()); }

private:
    QProcess process_;
    QString terminal_;
};

} // namespace zuk::sim::test
