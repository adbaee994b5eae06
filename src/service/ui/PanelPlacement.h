#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace zuk {

struct Placement;

// Keeps a panel of the given size inside an area: the top-left corner moved as little as
// possible, the top-left edge kept in sight when the panel is larger than the area.
QPoint keepInside(QPoint topLeft, QSize panel, QSize area);

// Where a panel goes inside `area` so that it leaves `keepClear` (the placed picture and its
// handles) in sight: at `preferred` when it covers nothing of it there; else beside the
// picture (right of it, below it, left of it, above it) or in a corner of the area, the first
// of these where it fits and covers nothing; else, where the view leaves no such place, at
// `preferred`. All in the coordinates of the panel's parent.
QPoint clearOf(const QRect& keepClear, QSize panel, const QRect& area, QPoint preferred);

// The placed picture's frame with its nine handle markers, in view pixels.
QRect frameWithHandles(const Placement& placement);

// A panel floating over the field view: drawn on the window's own background, not on the
// dark background it would inherit from the scroll box.
void makeFloatingPanel(QWidget& panel);

// Shows a panel floating over its parent with its top-left corner at the point, moved only as
// far as needed to keep it wholly in sight, on top of its siblings.
void showPanelAt(QWidget& panel, QPoint topLeft);

} // namespace zuk
