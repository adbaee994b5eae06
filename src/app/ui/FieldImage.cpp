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

void FieldImage::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    painter.drawImage(event->rect().topLeft(), image_, event->rect());
}

} // namespace zuk
