#include "service/FrameTrace.h"

#include "app/Clock.h"
#include "app/Screen.h"
#include "device/CommandSet.h"
#include "image/ImagePreparation.h"
#include "service/FieldBounds.h"
#include "service/ManualMovement.h"

namespace zuk {

FrameTrace::FrameTrace(ManualMovement& movement, CommandSet& commands,
                       const ImagePreparation& image, Screen& screen, Clock& clock)
    : movement_(movement), commands_(commands), image_(image), screen_(screen), clock_(clock) {}

std::array<QPoint, 5> FrameTrace::cornersOf(QPoint offset, QSize size) {
    const QPoint last = offset + QPoint(size.width() - 1, size.height() - 1);
    return {offset, QPoint(last.x(), offset.y()), last, QPoint(offset.x(), last.y()), offset};
}

bool FrameTrace::refused() {
    std::optional<QString> why;
    if (!image_.holdsPicture())
        why = QStringLiteral("Рисунок не открыт: рамку обводить нечему. Откройте рисунок: "
                             "\"Файл\" → \"Открыть\".");
    else if (const std::optional<QString> outside = placementFitsField(image_))
        why = *outside;
    else if (!commands_.exchange().linkActive())
        why = QStringLiteral("Нет связи с устройством: рамка не обведена.");
    if (why)
        screen_.showMessage(MessageKind::Warning, *why);
    return why.has_value();
}

bool FrameTrace::trace() {
    if (refused())
        return false;
    commands_.needleUp();
    movement_.sendMotorTiming();
    const Placement& placement = image_.placement();
    for (const QPoint corner : cornersOf(placement.offset, image_.dotImage().size())) {
        if (!movement_.moveTo(corner, NeedleChoice::Raised))
            return false;
        clock_.sleepUntil(clock_.monotonicMs() + kPauseMs);
    }
    return movement_.moveTo(QPoint(0, 0), NeedleChoice::Raised);
}

} // namespace zuk
