#pragma once

#include <QImage>
#include <QWidget>

namespace zuk {

// "Image1": the working-field view. It paints the view picture as it is, also while disabled
// (a disabled field only stops taking mouse input; it is not greyed out), and reports the
// mouse in working-field coordinates: the pixel of the view picture under the pointer,
// wherever the scroll box has scrolled it.
class FieldImage : public QWidget {
    Q_OBJECT
public:
    explicit FieldImage(QWidget* parent = nullptr);

    void setImage(const QImage& image);
    // Takes over only the pixels of `part` from the view and repaints just them.
    void updatePart(const QImage& view, const QRect& part);
    const QImage& image() const { return image_; }
    QSize sizeHint() const override { return image_.size(); }

    // The view pixel under a point of this widget (outside the picture too, for a drag that
    // leaves it).
    QPoint fieldPoint(QPointF widgetPoint) const;

signals:
    void mousePressed(Qt::MouseButton button, QPoint fieldPoint);
    void mouseMoved(QPoint fieldPoint);
    void mouseReleased(QPoint fieldPoint);
    // The second press of a double click comes as this alone.
    void doubleClicked(QPoint fieldPoint);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage image_;
};

} // namespace zuk
