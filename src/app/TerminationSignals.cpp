#include "app/TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

namespace zuk {

namespace {

// The two ends of the socket pair: the handler writes into one, the event loop reads the
// other. Process-wide, since a signal handler has no other way to reach them.
int handlerEnd = -1;
int loopEnd = -1;

extern "C" void onTerminationSignal(int signalNumber) {
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    // write() is safe in a signal handler. The end does not block: when the pair is full,
    // requests are waiting already and this one is not needed.
    [[maybe_unused]] const ssize_t written = ::write(handlerEnd, &number, 1);
    errno = savedErrno;
}

bool handleSignal(int signalNumber, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // Interrupted reads and writes of the serial line go on as if nothing had happened.
    action.sa_flags = SA_RESTART;
    return ::sigaction(signalNumber, &action, nullptr) == 0;
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    Q_ASSERT(handlerEnd < 0);
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0)
        return;
    handlerEnd = ends[0];
    loopEnd = ends[1];
    notifier_ = new QSocketNotifier(loopEnd, QSocketNotifier::Read, this);
    notifier_->setEnabled(false);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::readPending);
    installed_ = true;
    for (int signalNumber : kSignals)
        installed_ = handleSignal(signalNumber, onTerminationSignal) && installed_;
}

TerminationSignals::~TerminationSignals() {
    restoreDefaults();
}

void TerminationSignals::restoreDefaults() {
    if (handlerEnd < 0)
        return;
    for (int signalNumber : kSignals)
        handleSignal(signalNumber, SIG_DFL);
    delete notifier_;
    notifier_ = nullptr;
    ::close(handlerEnd);
    ::close(loopEnd);
    handlerEnd = -1;
    loopEnd = -1;
    installed_ = false;
}

void TerminationSignals::deliver() {
    if (notifier_)
        notifier_->setEnabled(true);
}

void TerminationSignals::readPending() {
    int last = 0;
    unsigned char numbers[16];
    ssize_t got = 0;
    while ((got = ::read(loopEnd, numbers, sizeof numbers)) > 0)
        last = numbers[got - 1];
    if (last != 0)
        emit requested(last);
}

} // namespace zuk
