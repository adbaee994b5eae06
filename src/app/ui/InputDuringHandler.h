#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QAction;
class QEvent;
class QMainWindow;

namespace zuk {

// Keeps the main window alive while a handler runs: while the exchange waits for the device
// (a print line takes many seconds) or a long step lets the window handle its events, the
// window repaints, its timers and notifiers run, and STOP is taken; every other input the
// operator gives waits until the handler has returned, so no other handler ever runs in the
// middle of one.
//
// STOP (its shortcut, or a click on its menu entry, while the entry is shown and enabled) is
// noted and acknowledged at once; the window carries it out when the handler has returned,
// between two plan lines. The close box is held the same way.
class InputDuringHandler : public QObject {
    Q_OBJECT
public:
    // `acknowledge` shows the operator that STOP has been taken.
    InputDuringHandler(QMainWindow& window, QAction& stop, std::function<void()> acknowledge);
    ~InputDuringHandler() override;

    // Handles the window's pending events, holding back the operator's input.
    void handleEvents();

    // STOP was asked for since the last call; clears the request.
    bool takeStopRequest();
    // The window's close box was pressed since the last call; clears the request.
    bool takeCloseRequest();
    // Delivers the input held back, in its order, to be handled after the handler.
    void releaseHeldInput();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool asksForStop(QObject* watched, QEvent* event) const;

    QMainWindow& window_;
    QAction& stop_;
    std::function<void()> acknowledge_;
    bool handling_ = false;
    bool stopRequested_ = false;
    bool closeRequested_ = false;
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> held_;
};

} // namespace zuk
