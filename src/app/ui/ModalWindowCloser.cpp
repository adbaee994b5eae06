#include "app/ui/ModalWindowCloser.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace zuk {

namespace {

// Closed from the event loop, once the window's own show has finished; a dialog's exec()
// then returns as if it had been cancelled.
void closeLater(QWidget* window) {
    QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
}

} // namespace

ModalWindowCloser::ModalWindowCloser(QObject* parent) : QObject(parent) {
    qApp->installEventFilter(this);
    if (QWidget* open = QApplication::activeModalWidget())
        closeLater(open);
}

ModalWindowCloser::~ModalWindowCloser() {
    qApp->removeEventFilter(this);
}

bool ModalWindowCloser::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow() && widget->isModal())
            closeLater(widget);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zuk
