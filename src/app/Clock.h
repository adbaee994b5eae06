#pragma once

#include <QDateTime>
#include <QElapsedTimer>

namespace zuk {

// Every wait and every time stamp of the program goes through this interface, so that
// the simulated engraver and the tests can run on virtual time.
class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds on a monotonic scale: never jumps back, no wrap at midnight or at 65535.
    virtual qint64 monotonicMs() const = 0;
    // The wall-clock date and time, for what the operator is shown.
    virtual QDateTime now() const = 0;
    // Blocks until monotonicMs() has reached the deadline; a virtual clock jumps there.
    virtual void sleepUntil(qint64 deadlineMs) = 0;
};

class SystemClock final : public Clock {
public:
    SystemClock() { timer_.start(); }
    qint64 monotonicMs() const override { return timer_.elapsed(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    void sleepUntil(qint64 deadlineMs) override;

private:
    QElapsedTimer timer_;
};

// Time that moves only when someone waits: a wait of 3.5 s takes no real time.
class VirtualClock final : public Clock {
public:
    explicit VirtualClock(QDateTime start = QDateTime(QDate(2026, 1, 5), QTime(9, 0)))
        : start_(std::move(start)) {}
    qint64 monotonicMs() const override { return nowMs_; }
    QDateTime now() const override { return start_.addMSecs(nowMs_); }
    void sleepUntil(qint64 deadlineMs) override {
        if (deadlineMs > nowMs_)
            nowMs_ = deadlineMs;
    }
    void advance(qint64 ms) { nowMs_ += ms; }

private:
    QDateTime start_;
    qint64 nowMs_ = 0;
};

} // namespace zuk
