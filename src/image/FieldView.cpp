#include "image/FieldView.h"

#include <QPainter>

namespace zuk {
namespace {

// The strip added to the right of and below the field.
constexpr int kViewBorder = 10;
// Markers are drawn with a pure blue pen in inverting mode: a pixel becomes the inverse of
// itself XOR the pen colour.
constexpr QRgb kMarkerPen = 0x0000ff;
constexpr int kMarkerSide = 20;

} // namespace

FieldView::FieldView(QSize field) {
    setFieldSize(field);
}

void FieldView::setFieldSize(QSize field) {
    field_ = field;
    image_ =
        QImage(field.width() + kViewBorder, field.height() + kViewBorder, QImage::Format_RGB32);
    image_.fill(Qt::black);
}

void FieldView::draw(const QImage& picture, Placement& placement, int resolution,
                     std::optional<QPoint> savedPlacement) {
    if (image_.isNull())
        return;
    placement.place(workingField(), resolution, picture.size(), savedPlacement);
    paint(picture, placement);
}

void FieldView::paint(const QImage& picture, const Placement& placement) {
    if (image_.isNull())
        return;
    image_.fill(Qt::black);
    if (!picture.isNull()) {
        QPainter painter(&image_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(placement.offset, picture);
    }
    toggleHandleMarkers(placement.handles);
}

void FieldView::toggleHandleMarkers(const HandlePoints& handles) {
    for (std::size_t k = 0; k < handles.size(); ++k) {
        // The first marker sits one pixel further right than the others.
        const int left = handles[k].x() - (k == 0 ? 10 : 11);
        toggleMarker(QPoint(left, handles[k].y() - 10));
    }
}

// One marker: the outline of a 20 × 20 square and a cross inside it. Each of the three parts
// is inverted on its own, so the pixel where the two strokes cross is inverted twice.
void FieldView::toggleMarker(QPoint topLeft) {
    const int a = topLeft.x();
    const int b = topLeft.y();
    const int last = kMarkerSide - 1;
    for (int d = 0; d <= last; ++d) {
        togglePixel(a + d, b);
        togglePixel(a + d, b + last);
    }
    for (int d = 1; d < last; ++d) {
        togglePixel(a, b + d);
        togglePixel(a + last, b + d);
    }
    for (int d = 2; d < kMarkerSide - 2; ++d)
        togglePixel(a + kMarkerSide / 2, b + d);
    for (int d = 2; d < kMarkerSide - 2; ++d)
        togglePixel(a + d, b + kMarkerSide / 2);
}

bool FieldView::paintPixel(QPoint pixel, QRgb colour) {
    if (!image_.rect().contains(pixel))
        return false;
    auto* target = reinterpret_cast<QRgb*>(image_.scanLine(pixel.y())) + pixel.x();
    if (*target == colour)
        return false;
    *target = colour;
    return true;
}

void FieldView::togglePixel(int x, int y) {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
        return;
    auto* pixel = reinterpret_cast<QRgb*>(image_.scanLine(y)) + x;
    *pixel = 0xff000000u | (~(*pixel ^ kMarkerPen) & 0x00ffffffu);
}

} // namespace zuk
