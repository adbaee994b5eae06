#include "app/Clock.h"
#include "app/PortOpener.h"
#include "app/ui/Windows.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zuk"));
    QApplication::setApplicationDisplayName(QStringLiteral("ZUK-5.6"));

    zuk::SystemClock clock;
    auto windows = zuk::createWindows(clock, zuk::systemTransports(clock), QDir::currentPath());
    windows->menuForm->show();
    return QApplication::exec();
}
