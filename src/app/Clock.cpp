#include "app/Clock.h"

#include <QThread>

namespace zuk {

void SystemClock::sleepUntil(qint64 deadlineMs) {
    const qint64 left = deadlineMs - monotonicMs();
    if (left > 0)
        QThread::msleep(static_cast<unsigned long>(left));
}

} // namespace zuk
