#include "plan/PlanProgress.h"

#include "app/Clock.h"
#include "app/Screen.h"

namespace zuk {

ScreenPlanProgress::ScreenPlanProgress(Screen& screen, const Clock& clock, qint64 intervalMs)
    : screen_(screen), clock_(clock), intervalMs_(intervalMs) {}

void ScreenPlanProgress::regionSearched(qint32 row, qint32 column, bool last) {
    const qint64 now = clock_.monotonicMs();
    if (shownOnce_ && !last && now - lastShownMs_ < intervalMs_)
        return;
    shownOnce_ = true;
    lastShownMs_ = now;
    screen_.setField(Field::Label66, QString::number(row));
    screen_.setField(Field::Label67, QString::number(column));
    screen_.processEvents();
}

} // namespace zuk
