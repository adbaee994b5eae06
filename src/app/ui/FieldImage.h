#pragma once

#include <QImage>
#include <QWidget>

namespace zuk {

// "Image1": the working-field view. It paints the view picture as it is, also while disabled
// (a disabled field only stops taking mouse input; it is not greyed out).
class FieldImage : public QWidget {
    Q_OBJECT
public:
    explicit FieldImage(QWidget* parent = nullptr);

    void setImage(const QImage& image);
    // Takes over only the pixels of `part` from the view and repaints just them.
    void updatePart(const QImage& view, const QRect& part);
    const QImage& image() const { return image_; }
    QSize sizeHint() const override { return image_.size(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
};

} // namespace zuk
