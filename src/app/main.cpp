#include "app/Clock.h"
#include "app/PortOpener.h"
#include "app/TerminationSignals.h"
#include "app/ui/Application.h"
#include "app/ui/Windows.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[]) {
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
