#pragma once

// zuk-batch engrave and resume as child processes, and what the device struck.
#include <QPoint>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <array>
#include <map>
#include <utility>

namespace zuk::test {

// Field cell (row, column) to strike code.
using StruckCells = std::map<std::pair<qint64, qint64>, int>;

// zuk-batch running as a child process, its output read as it comes.
class BatchProcess {
public:
    explicit BatchProcess(const QStringList& args);
    ~BatchProcess();

    // Waits until the standard output holds `text`; false after `timeoutMs`.
    bool waitForOutput(const QString& text, int timeoutMs = 30000);
    // Waits for the end (a minute at most); the exit status, -1 when killed or hung.
    int finish();
    void signal(int signalNumber);

    QString out() const { return out_; }
    QString err() const { return err_; }

private:
    void readAvailable();

    QProcess process_;
    QString out_;
    QString err_;
};

// The strikes of one pass, told apart by the forces the pass's levels give, read from the
// CSV zuk-devsim writes; cells struck more than once in the pass are counted in `twice`.
struct DeviceStrikes {
    StruckCells cells;
    int twice = 0;
};
DeviceStrikes strikesWithForces(const QString& csvPath, const std::array<int, 4>& forces);

// What the plan's strike lines strike, walked as the head walks them, at the placement.
StruckCells planStrikes(const QString& planPath, QPoint offset = {});

// A program directory with a small test picture in it.
struct JobDirectory {
    JobDirectory();
    QString file(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
    QString picture;
};

} // namespace zuk::test
