// zuk-devsim: the simulated engraver served on a pseudo-terminal. See --help.
#include "DevsimOptions.h"
#include "PtyServer.h"

#include "app/Clock.h"
#include "simulator/Engraver.h"
#include "simulator/ParitylessLine.h"
#include "simulator/Reports.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace zuk::devsim {

namespace {

int stopPipe[2] = {-1, -1};

void requestStop(int) {
    const char c = 's';
    [[maybe_unused]] const ssize_t ignored = ::write(stopPipe[1], &c, 1);
}

bool installStopSignals(QString* error) {
    if (::pipe(stopPipe) != 0) {
        *error = QStringLiteral("cannot create the signal pipe");
        return false;
    }
    fcntl(stopPipe[1], F_SETFL, O_NONBLOCK);
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}

void say(const QString& text) {
    QTextStream(stderr) << "zuk-devsim: " << text << Qt::endl;
}

// The device, its line without parity, the terminal and the files it keeps.
class Session {
public:
    Session(const DevsimOptions& options, PtyServer& pty)
        : options_(options), engraver_(options.sim), line_(engraver_), pty_(pty) {
        if (options.trace)
            engraver_.setTrace([](qint64 ms, const QString& what) {
                QTextStream(stderr) << QStringLiteral("[%1 ms] ").arg(ms, 8) << what << Qt::endl;
            });
        lastSavedHead_ = engraver_.machine().head;
    }

    // Serves the terminal until a stop signal arrives.
    void run() {
        pollfd fds[2] = {{pty_.masterFd(), POLLIN, 0}, {stopPipe[0], POLLIN, 0}};
        for (;;) {
            const qint64 now = clock_.monotonicMs();
            line_.advanceTo(now);
            while (const std::optional<quint8> answer = engraver_.takeAnswer(now))
                if (!pty_.writeByte(*answer))
                    say(QStringLiteral("an answer byte could not be written to the terminal"));
            saveHeadIfMoved();
            const std::optional<qint64> wake = line_.nextWakeMs();
            const qint64 waitMs = wake ? std::clamp<qint64>(*wake - now, 0, 1000) : 1000;
            if (::poll(fds, 2, static_cast<int>(waitMs)) < 0 && errno != EINTR)
                return;
            if (fds[1].revents & POLLIN)
                return;
            if (fds[0].revents & POLLIN)
                readFromTerminal();
            else if (fds[0].revents & (POLLHUP | POLLERR))
                ::poll(nullptr, 0, 50); // no client end open: do not spin
        }
    }

    bool writeReports() {
        bool ok = saveHead();
        QString error;
        auto report = [&ok, &error](bool written) {
            if (!written) {
                say(error);
                ok = false;
            }
        };
        if (!options_.pngPath.isEmpty())
            report(sim::writePlatePng(engraver_.plate(), options_.pngPath, &error));
        if (!options_.csvPath.isEmpty())
            report(sim::writeStrikesCsv(engraver_.plate(), options_.csvPath, &error));
        if (!options_.jsonPath.isEmpty())
            report(sim::writeSummaryJson(engraver_, options_.jsonPath, &error));
        const sim::EngraverCounters& c = engraver_.counters();
        say(QStringLiteral("%1 frames, %2 strikes, %3 resynchronisations, %4 protocol violations, "
                           "%5 ms modelled device time")
                .arg(c.frames)
                .arg(engraver_.plate().strikes().size())
                .arg(c.resynchronisations)
                .arg(c.violationCount)
                .arg(engraver_.modelledDeviceTimeMs()));
        return ok;
    }

private:
    void readFromTerminal() {
        unsigned char buffer[256];
        const ssize_t n = ::read(pty_.masterFd(), buffer, sizeof buffer);
        const qint64 now = clock_.monotonicMs();
        for (ssize_t i = 0; i < n; ++i)
            line_.receive(buffer[i], now);
    }

    bool saveHead() {
        if (options_.statePath.isEmpty())
            return true;
        QString error;
        if (!sim::writeHeadState(engraver_.machine().head, options_.statePath, &error)) {
            say(error);
            return false;
        }
        lastSavedHead_ = engraver_.machine().head;
        return true;
    }

    void saveHeadIfMoved() {
        if (engraver_.machine().head != lastSavedHead_)
            saveHead();
    }

    const DevsimOptions& options_;
    SystemClock clock_;
    sim::Engraver engraver_;
    sim::ParitylessLine line_;
    PtyServer& pty_;
    sim::HeadPosition lastSavedHead_;
};

bool loadHeadState(DevsimOptions& options) {
    if (options.statePath.isEmpty() || !QFile::exists(options.statePath))
        return true;
    QString error;
    const std::optional<sim::HeadPosition> head = sim::readHeadState(options.statePath, &error);
    if (!head) {
        say(error);
        return false;
    }
    options.sim.startPosition = *head;
    return true;
}

} // namespace

int run(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QString message;
    int exitCode = 0;
    std::optional<DevsimOptions> options = parseDevsimOptions(app.arguments(), &message, &exitCode);
    if (!options) {
        QTextStream(exitCode == 0 ? stdout : stderr) << message << Qt::endl;
        return exitCode;
    }
    if (!loadHeadState(*options))
        return 1;
    QString error;
    if (!installStopSignals(&error)) {
        say(error);
        return 1;
    }
    PtyServer pty;
    if (!pty.open(options->linkPath, &error)) {
        say(error);
        return 1;
    }
    QTextStream(stdout) << pty.terminalPath() << Qt::endl;
    Session session(*options, pty);
    session.run();
    return session.writeReports() ? 0 : 1;
}

} // namespace zuk::devsim

int main(int argc, char* argv[]) {
    return zuk::devsim::run(argc, argv);
}
