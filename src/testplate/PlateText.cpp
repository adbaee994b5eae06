#include "testplate/PlateText.h"

#include "app/CountText.h"
#include "plan/TimeEstimate.h"

#include <QLocale>

namespace zuk {

QString plateSummaryText(const TestPlate& plate, const PlateProgress& whole, qint64 estimate) {
    const PlateLayout& layout = plate.layout();
    return QStringLiteral("Пятен: %1 по %2 × %2 точек, пластина %3 × %4 точек; работ: %5, "
                          "строк: %6; длительность: %7")
        .arg(layout.patches.size())
        .arg(layout.patchDots)
        .arg(layout.size.width())
        .arg(layout.size.height())
        .arg(whole.jobs)
        .arg(countText(whole.lines))
        .arg(durationText(estimate, QLocale::system()));
}

QString plateProgressText(const PlateProgress& progress) {
    return QStringLiteral("Работа %1 из %2, строк %3 из %4")
        .arg(std::min(progress.jobsDone + 1, progress.jobs))
        .arg(progress.jobs)
        .arg(countText(progress.linesDone))
        .arg(countText(progress.lines));
}

} // namespace zuk
