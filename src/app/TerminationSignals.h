#pragma once

#include <QObject>

#include <array>
#include <csignal>

class QSocketNotifier;

namespace zuk {

// Turns SIGTERM, SIGINT and SIGHUP (a shutdown, a logout, Ctrl+C in a terminal) into a Qt
// signal delivered in the event loop, so that the program can end as the operator's "Выход"
// does instead of being killed in the middle of a command.
//
// The signal handler only writes the signal's number into one end of a socket pair; a
// QSocketNotifier on the other end reads it in the event loop. Signals that arrive before
// deliver() is called wait in the socket pair and are delivered right after it.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers. Only one instance may exist at a time.
    explicit TerminationSignals(QObject* parent = nullptr);
    // Restores the default handling of the three signals.
    ~TerminationSignals() override;

    // False when the socket pair or a handler could not be set up; the signals then keep
    // their default handling.
    bool installed() const { return installed_; }
    // Starts delivering: from the next turn of the event loop on, every signal received
    // (also before this call) emits requested().
    void deliver();

    // The signals handled.
    static constexpr std::array<int, 3> kSignals{SIGTERM, SIGINT, SIGHUP};

signals:
    // A termination signal arrived; `signalNumber` is the last one read.
    void requested(int signalNumber);

private:
    void readPending();
    void restoreDefaults();

    QSocketNotifier* notifier_ = nullptr;
    bool installed_ = false;
};

} // namespace zuk
