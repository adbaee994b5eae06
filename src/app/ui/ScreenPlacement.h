#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace zuk {

// Room for the frame the window manager puts around a top-level window (its title bar and
// borders), which is known only once the window is shown; Qt's dialogs allow as much.
inline constexpr QMargins kFrameAllowance(10, 40, 10, 10);

// The geometry of a window's client area on a screen whose available area (without panels
// and docks) is `available`: the designed size where it fits there with its frame, else as
// much of it as the area leaves; the window with its frame centred in the area.
QRect windowGeometryOnScreen(QSize designed, const QRect& available,
                             const QMargins& frame = kFrameAllowance);

// Sizes and places a top-level window not yet shown so on its screen. Message boxes and
// dialogs shown before it (the start-up's) are centred on it, so on the screen too.
void placeOnScreen(QWidget& window, QSize designed);

} // namespace zuk
