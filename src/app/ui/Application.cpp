#include "app/ui/Application.h"

#include "app/Version.h"

#include <QApplication>

namespace zuk {

void setUpApplication() {
    QApplication::setApplicationName(QStringLiteral("zuk"));
    QApplication::setApplicationVersion(versionText());
}

} // namespace zuk
