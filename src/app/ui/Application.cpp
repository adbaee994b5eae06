#include "app/ui/Application.h"

#include <QApplication>

namespace zuk {

void setUpApplication() {
    QApplication::setApplicationName(QStringLiteral("zuk"));
}

} // namespace zuk
