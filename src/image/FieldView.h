#pragma once

#include "image/Placement.h"

#include <QImage>

#include <optional>

namespace zuk {

// The working-field view: a black field of the configured size plus a 10-pixel strip on the
// right and at the bottom, the picture at its placement offsets and the nine handle markers
// of the placement frame. One view pixel is one dot at resolution 0. The picture is placed
// on the whole view, strip included: the working field in dots is measured on the view.
class FieldView {
public:
    explicit FieldView(QSize field = QSize(1930, 2330));

    // A new field size repaints the view black.
    void setFieldSize(QSize field);
    QSize fieldSize() const { return field_; }
    // The working field the placement measures: the view's size, the field plus the strip.
    QSize workingField() const { return image_.size(); }
    const QImage& image() const { return image_; }

    // The whole drawing: black field, placement recomputed at the density line `resolution`
    // (unless the frame is being dragged), picture at the offsets, handle markers.
    void draw(const QImage& picture, Placement& placement, int resolution,
              std::optional<QPoint> savedPlacement);
    // The drawing with the placement as it is: black field, picture, handle markers. Whatever
    // was painted over them (a job's marks) is gone.
    void paint(const QImage& picture, const Placement& placement);

    // Inverts the nine handle markers of the frame; drawing them again restores the view.
    void toggleHandleMarkers(const HandlePoints& handles);

    // Gives one pixel a colour; false when it already had it or lies outside the view.
    bool paintPixel(QPoint pixel, QRgb colour);

private:
    void toggleMarker(QPoint topLeft);
    void togglePixel(int x, int y);

    QSize field_;
    QImage image_;
};

} // namespace zuk
