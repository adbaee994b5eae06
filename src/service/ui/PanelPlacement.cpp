#include "service/ui/PanelPlacement.h"

#include <QWidget>

#include <algorithm>

namespace zuk {

QPoint keepInside(QPoint topLeft, QSize panel, QSize area) {
    const int x = std::max(0, std::min(topLeft.x(), area.width() - panel.width()));
    const int y = std::max(0, std::min(topLeft.y(), area.height() - panel.height()));
    return {x, y};
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
