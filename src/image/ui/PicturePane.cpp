#include "image/ui/PicturePane.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace zuk {

PicturePane::PicturePane(QWidget* parent) : QWidget(parent) {
    setMouseTracking(false);
    setBackgroundRole(QPalette::Dark);
    setAutoFillBackground(true);
}

void PicturePane::setPicture(const QImage& picture) {
    picture_ = picture;
    if (actual_)
        setFixedSize(picture_.size().expandedTo(QSize(1, 1)));
    update();
}

void PicturePane::setActualSize(bool actual) {
    actual_ = actual;
    if (actual_) {
        setFixedSize(picture_.size().expandedTo(QSize(1, 1)));
    } else {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    update();
}

void PicturePane::setFrame(std::optional<QRect> frame) {
    frame_ = frame;
    update();
}

QRectF PicturePane::placement() const {
    if (picture_.isNull())
        return {};
    if (actual_)
        return QRectF(QPointF(0, 0), picture_.size());
    const double scale =
        std::min({1.0, double(width()) / picture_.width(), double(height()) / picture_.height()});
    const QSizeF size = QSizeF(picture_.size()) * scale;
    return {QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size};
}

QPoint PicturePane::picturePoint(QPointF panePoint) const {
    const QRectF area = placement();
    if (area.isEmpty())
        return {};
    const double scale = area.width() / picture_.width();
    const QPointF inPicture = (panePoint - area.topLeft()) / scale;
    return {std::clamp(int(inPicture.x()), 0, picture_.width()),
            std::clamp(int(inPicture.y()), 0, picture_.height())};
}

// The dots of a large picture are reduced smoothly, so that the pane shows their shade instead
// of a pattern of the few that a plain pick would keep.
const QImage& PicturePane::shown(QSize size) {
    const qint64 key = picture_.cacheKey();
    if (shownKey_ != key || shown_.size() != size) {
        shown_ = picture_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        shownKey_ = key;
    }
    return shown_;
}

void PicturePane::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF area = placement();
    if (area.isEmpty())
        return;
    if (actual_)
        painter.drawImage(QPointF(0, 0), picture_);
    else
        painter.drawImage(area.topLeft(), shown(area.size().toSize().expandedTo(QSize(1, 1))));
    if (frame_) {
        const double scale = area.width() / picture_.width();
        const QRectF frame(area.topLeft() + QPointF(frame_->topLeft()) * scale,
                           QSizeF(frame_->size()) * scale);
        painter.setPen(QPen(Qt::yellow, 1, Qt::DashLine));
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
    }
}

void PicturePane::mousePressEvent(QMouseEvent* event) {
    if (drawing_ && event->button() == Qt::LeftButton && !picture_.isNull())
        dragFrom_ = picturePoint(event->position());
}

void PicturePane::mouseMoveEvent(QMouseEvent* event) {
    if (!dragFrom_)
        return;
    // The corners are taken as pixel edges: a drag from (10, 10) to (20, 30) keeps 10 × 20.
    const QPoint to = picturePoint(event->position());
    const QPoint topLeft(std::min(dragFrom_->x(), to.x()), std::min(dragFrom_->y(), to.y()));
    const QSize size(std::abs(to.x() - dragFrom_->x()), std::abs(to.y() - dragFrom_->y()));
    if (!size.isEmpty())
        emit rectangleDrawn(QRect(topLeft, size));
}

void PicturePane::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragFrom_ || event->button() != Qt::LeftButton)
        return;
    mouseMoveEvent(event);
    dragFrom_.reset();
}

} // namespace zuk
