#pragma once

#include <QPoint>
#include <QSize>

class QWidget;

namespace zuk {

// Keeps a panel of the given size inside an area: the top-left corner moved as little as
// possible, the top-left edge kept in sight when the panel is larger than the area.
QPoint keepInside(QPoint topLeft, QSize panel, QSize area);

// A panel floating over the field view: drawn on the window's own background, not on the
// dark background it would inherit from the scroll box.
void makeFloatingPanel(QWidget& panel);

// Shows a panel floating over its parent with its top-left corner at the point, moved only as
// far as needed to keep it wholly in sight, on top of its siblings.
void showPanelAt(QWidget& panel, QPoint topLeft);

} // namespace zuk
