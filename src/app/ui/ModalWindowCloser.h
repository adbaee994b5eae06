#pragma once

#include <QObject>

namespace zuk {

// While it exists, no modal window of the application stays open: the one open when it was
// created is closed, and every one shown later is closed as soon as it is shown. A program
// ending on a termination signal uses it, so that no dialog waits for an operator who is
// not there.
class ModalWindowCloser : public QObject {
    Q_OBJECT
public:
    explicit ModalWindowCloser(QObject* parent = nullptr);
    ~ModalWindowCloser() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace zuk
