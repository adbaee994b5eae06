#include "app/ui/FieldImage.h"

#include <QPaintEvent>
#include <QPainter>

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

void FieldImage::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    painter.drawImage(event->rect().topLeft(), image_, event->rect());
}

} // namespace zuk
