#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>

namespace zuk::test {

// Runs `action`, which opens a modal dialog of type Dialog; once it is up, `answer` works it
// (and closes it, or has it closed).
template <typename Dialog>
void whileDialogShown(const std::function<void()>& action,
                      const std::function<void(Dialog&)>& answer) {
    QTimer watcher;
    watcher.setInterval(10);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        watcher.stop();
        answer(*dialog);
    });
    watcher.start();
    action();
}

} // namespace zuk::test
