#include "app/ui/ScreenPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace zuk {

QRect windowGeometryOnScreen(QSize designed, const QRect& available, const QMargins& frame) {
    const QSize room = available.marginsRemoved(frame).size().expandedTo(QSize(1, 1));
    QRect framed(QPoint(0, 0), designed.boundedTo(room).grownBy(frame));
    framed.moveCenter(available.center());
    return framed.marginsRemoved(frame);
}

void placeOnScreen(QWidget& window, QSize designed) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        window.resize(designed);
        return;
    }
    const QRect client = windowGeometryOnScreen(designed, screen->availableGeometry());
    window.resize(client.size());
    // A top-level window's position is that of its frame.
    window.move(client.topLeft() - QPoint(kFrameAllowance.left(), kFrameAllowance.top()));
}

} // namespace zuk
