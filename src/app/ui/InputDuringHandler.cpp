#include "app/ui/InputDuringHandler.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QMouseEvent>

namespace zuk {

namespace {

// What the operator does with the keyboard and the mouse, and the window's close box.
bool isOperatorInput(const QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

} // namespace

InputDuringHandler::InputDuringHandler(QMainWindow& window, QAction& stop,
                                       std::function<void()> acknowledge)
    : QObject(&window), window_(window), stop_(stop), acknowledge_(std::move(acknowledge)) {}

InputDuringHandler::~InputDuringHandler() = default;

void InputDuringHandler::handleEvents() {
    // A step inside the events handled here never starts another round.
    if (handling_)
        return;
    handling_ = true;
    qApp->installEventFilter(this);
    QCoreApplication::processEvents();
    qApp->removeEventFilter(this);
    handling_ = false;
}

bool InputDuringHandler::takeStopRequest() {
    return std::exchange(stopRequested_, false);
}

bool InputDuringHandler::takeCloseRequest() {
    return std::exchange(closeRequested_, false);
}

void InputDuringHandler::releaseHeldInput() {
    for (auto& [receiver, event] : std::exchange(held_, {}))
        if (receiver)
            QCoreApplication::postEvent(receiver, event.release());
}

bool InputDuringHandler::eventFilter(QObject* watched, QEvent* event) {
    if (!isOperatorInput(event))
        return false;
    // The close box of another window (a message box of the handler) is that window's own.
    if (event->type() == QEvent::Close && watched != &window_)
        return false;
    if (asksForStop(watched, event)) {
        if (!stopRequested_) {
            stopRequested_ = true;
            acknowledge_();
        }
        return true;
    }
    if (event->type() == QEvent::Close) {
        closeRequested_ = true;
        event->ignore();
        return true;
    }
    held_.emplace_back(watched, event->clone());
    return true;
}

// Its shortcut (as the shortcut itself or as the key press), or a press of the left button
// on its entry in the menu bar, whichever object the event is on its way to.
bool InputDuringHandler::asksForStop(QObject* watched, QEvent* event) const {
    if (!stop_.isVisible() || !stop_.isEnabled())
        return false;
    switch (event->type()) {
    case QEvent::Shortcut:
        return watched == &stop_;
    case QEvent::KeyPress: {
        const auto* key = static_cast<const QKeyEvent*>(event);
        return !key->isAutoRepeat() && QKeySequence(key->keyCombination()) == stop_.shortcut();
    }
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<const QMouseEvent*>(event);
        const QMenuBar* bar = window_.menuBar();
        const QPoint onBar = bar->mapFromGlobal(mouse->globalPosition().toPoint());
        return mouse->button() == Qt::LeftButton && bar->rect().contains(onBar) &&
               bar->actionAt(onBar) == &stop_;
    }
    default:
        return false;
    }
}

} // namespace zuk
