#pragma once

#include <QtGlobal>

namespace zuk {

class Clock;
class Screen;

// Where the plan builder shows how far it has come. The builder calls regionSearched() after
// every search for the next region: with the region's start cell, or with the picture height
// and -1 when no region is left (then `last` is true and the call is the build's last).
class PlanProgress {
public:
    virtual ~PlanProgress() = default;
    virtual void regionSearched(qint32 row, qint32 column, bool last) = 0;
};

// For callers without a screen (the batch tool, the benchmarks, most tests).
class SilentPlanProgress final : public PlanProgress {
public:
    void regionSearched(qint32, qint32, bool) override {}
};

// Shows the search in label66 (row) and label67 (column) and lets the window handle pending
// messages. A noise picture has hundreds of thousands of regions, so this happens at most
// once per interval of the clock, and always for the first and the last search.
class ScreenPlanProgress final : public PlanProgress {
public:
    static constexpr qint64 kDefaultIntervalMs = 20;

    ScreenPlanProgress(Screen& screen, const Clock& clock, qint64 intervalMs = kDefaultIntervalMs);
    void regionSearched(qint32 row, qint32 column, bool last) override;

private:
    Screen& screen_;
    const Clock& clock_;
    qint64 intervalMs_;
    bool shownOnce_ = false;
    qint64 lastShownMs_ = 0;
};

} // namespace zuk
