#include "app/ui/FieldImage.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace zuk {

FieldImage::FieldImage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Image1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FieldImage::setImage(const QImage& image) {
    image_ = image;
    resize(image_.size());
    update();
}

void FieldImage::updatePart(const QImage& view, const QRect& part) {
    if (view.size() != image_.size()) {
        setImage(view);
        return;
    }
    QPainter painter(&image_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(part.topLeft(), view, part);
    painter.end();
    update(part);
}

QPoint FieldImage::fieldPoint(QPointF widgetPoint) const {
    // The widget is sized to the picture, so this is one to one; should a layout ever size
    // it otherwise, the point is scaled to the picture rather than shifted.
    const double sx = width() > 0 && !image_.isNull() ? double(image_.width()) / width() : 1.0;
    const double sy = height() > 0 && !image_.isNull() ? double(image_.height()) / height() : 1.0;
    return {int(std::floor(widgetPoint.x() * sx)), int(std::floor(widgetPoint.y() * sy))};
}

void FieldImage::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    painter.drawImage(event->rect().topLeft(), image_, event->rect());
}

void FieldImage::mousePressEvent(QMouseEvent* event) {
    emit mousePressed(event->button(), fieldPoint(event->position()));
}

void FieldImage::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(fieldPoint(event->position()));
}

void FieldImage::mouseReleaseEvent(QMouseEvent* event) {
    emit mouseReleased(fieldPoint(event->position()));
}

void FieldImage::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit doubleClicked(fieldPoint(event->position()));
    else
        mousePressEvent(event);
}

} // namespace zuk
