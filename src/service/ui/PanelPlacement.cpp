#include "service/ui/PanelPlacement.h"

#include "image/Placement.h"

#include <QWidget>

#include <algorithm>

namespace zuk {

QPoint keepInside(QPoint topLeft, QSize panel, QSize area) {
    const int x = std::max(0, std::min(topLeft.x(), area.width() - panel.width()));
    const int y = std::max(0, std::min(topLeft.y(), area.height() - panel.height()));
    return {x, y};
}

QPoint clearOf(const QRect& keepClear, QSize panel, const QRect& area, QPoint preferred) {
    if (keepClear.isEmpty())
        return preferred;
    // The gap the preferred place keeps from the area's edges, kept from the picture too.
    const QPoint gap(std::max(0, preferred.x() - area.left()),
                     std::max(0, preferred.y() - area.top()));
    const QPoint candidates[] = {
        preferred,
        {keepClear.right() + 1 + gap.x(), preferred.y()},
        {preferred.x(), keepClear.bottom() + 1 + gap.y()},
        {keepClear.left() - gap.x() - panel.width(), preferred.y()},
        {preferred.x(), keepClear.top() - gap.y() - panel.height()},
        {area.right() + 1 - gap.x() - panel.width(), preferred.y()},
        {preferred.x(), area.bottom() + 1 - gap.y() - panel.height()},
        {area.right() + 1 - gap.x() - panel.width(), area.bottom() + 1 - gap.y() - panel.height()},
    };
    for (const QPoint candidate : candidates) {
        const QRect placed(candidate, panel);
        if (area.contains(placed) && !placed.intersects(keepClear))
            return candidate;
    }
    return preferred;
}

QRect frameWithHandles(const Placement& placement) {
    // The markers are 20 × 20 squares around the handle points (FieldView::toggleHandleMarkers).
    QRect area(placement.frameOrigin, placement.frameSize);
    for (const QPoint handle : placement.handles)
        area |= QRect(handle - QPoint(11, 10), QSize(21, 20));
    return area;
}

void makeFloatingPanel(QWidget& panel) {
    panel.setBackgroundRole(QPalette::Window);
    panel.setAutoFillBackground(true);
}

void showPanelAt(QWidget& panel, QPoint topLeft) {
    panel.adjustSize(); // a language file may have given it longer captions
    const QSize area = panel.parentWidget() ? panel.parentWidget()->size() : panel.size();
    panel.move(keepInside(topLeft, panel.size(), area));
    panel.show();
    panel.raise();
}

} // namespace zuk
