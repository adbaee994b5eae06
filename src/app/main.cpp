#include "app/Clock.h"
#include "app/PortOpener.h"
#include "app/TerminationSignals.h"
#include "app/Version.h"
#include "app/ui/Application.h"
#include "app/ui/Windows.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

#include <cstring>

namespace {

// "--version" and "--help" are answered before the window system is touched, so they work
// on a machine without a display. Every other argument is left to Qt.
bool answeredFromCommandLine(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        QTextStream out(stdout);
        if (std::strcmp(argv[i], "--version") == 0) {
            out << "zuk " << zuk::versionText() << Qt::endl;
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            out << "usage: zuk [--version] [--help]\n\n"
                   "Starts the engraving machine's control program. Its program directory is\n"
                   "the current directory: Zuk.ini, the language file, the plans, the recovery\n"
                   "file and the logs are kept there. The serial port is line 11 of Zuk.ini\n"
                   "(com1..com8, a device path such as /dev/ttyUSB0, or sim for the built-in\n"
                   "simulated engraver)."
                << Qt::endl;
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    if (answeredFromCommandLine(argc, argv))
        return 0;
    QApplication app(argc, argv);
    zuk::setUpApplication();
    // Installed before the windows exist, so that a signal during start-up is kept until the
    // main window can close.
    zuk::TerminationSignals termination;

    zuk::SystemClock clock;
    auto windows = zuk::createWindows(clock, zuk::systemTransports(clock), QDir::currentPath());
    QObject::connect(&termination, &zuk::TerminationSignals::requested, windows->menuForm.get(),
                     &zuk::TMenuForm::terminationRequested);
    termination.deliver();
    windows->menuForm->show();
    return QApplication::exec();
}
