#include "BatchScreen.h"

#include <QCoreApplication>

namespace zuk::batch {

void BatchScreen::showMessage(MessageKind, const QString& text) {
    ++messages_;
    QString indented = text;
    indented.replace(QLatin1Char('\n'), QStringLiteral("\n  "));
    err_ << "message: " << indented << Qt::endl;
}

void BatchScreen::processEvents() {
    QCoreApplication::processEvents();
}

void BatchScreen::showFaultAdvice() {
    ++faultAdvices_;
    err_ << "fault: the run stopped on a failure of the device link (\"Eror message.\"); the job "
            "is kept: switch the device off and on, then finish it with zuk-batch resume"
         << Qt::endl;
}

} // namespace zuk::batch
