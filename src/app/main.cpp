#include "app/Clock.h"
#include "app/PortOpener.h"
#include "app/TerminationSignals.h"
#include "app/Version.h"
#include "app/ui/Application.h"
#include "app/ui/ModalWindowCloser.h"
#include "app/ui/Windows.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

#include <cstring>
#include <memory>

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
    // Installed before the windows exist. A signal during the start-up (a message box or the
    // unfinished-job dialog waiting for the operator) closes every dialog as if it had not
    // been answered, so the start-up runs to its end at once; the main window then closes
    // as "Выход" closes it.
    zuk::TerminationSignals termination;
    zuk::TMenuForm* menuForm = nullptr;
    std::unique_ptr<zuk::ModalWindowCloser> startUpCloser;
    QObject::connect(&termination, &zuk::TerminationSignals::requested, [&] {
        if (menuForm)
            menuForm->terminationRequested();
        else if (!startUpCloser)
            startUpCloser = std::make_unique<zuk::ModalWindowCloser>();
    });
    termination.deliver();

    zuk::SystemClock clock;
    auto windows = zuk::createWindows(clock, zuk::systemTransports(clock), QDir::currentPath());
    menuForm = windows->menuForm.get();
    if (startUpCloser) {
        menuForm->terminationRequested();
        return 0;
    }
    menuForm->show();
    return QApplication::exec();
}
