#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

#include <optional>

namespace zuk {

// One picture of "Подготовка рисунка": fitted into the pane (smoothly reduced, never enlarged)
// or shown one pixel per screen pixel, with an optional frame (the crop) in the picture's own
// pixels. When drawing is allowed, a rectangle dragged with the left button is reported in the
// picture's pixels, held to the picture.
class PicturePane : public QWidget {
    Q_OBJECT
public:
    explicit PicturePane(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    // Fitted (false) or one pixel per screen pixel (true); the pane then takes the picture's size
    // for the scroll area around it.
    void setActualSize(bool actual);
    void setFrame(std::optional<QRect> frame);
    void allowDrawing(bool allowed) { drawing_ = allowed; }

    QSize sizeHint() const override { return {360, 420}; }

signals:
    // The rectangle dragged so far and, on release, the last one.
    void rectangleDrawn(const QRect& area);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Where the picture lies in the pane, and its scale there.
    QRectF placement() const;
    QPoint picturePoint(QPointF panePoint) const;
    const QImage& shown(QSize size);

    QImage picture_;
    QImage shown_; // the picture reduced for the pane, kept while neither changes
    qint64 shownKey_ = 0;
    bool actual_ = false;
    bool drawing_ = false;
    std::optional<QRect> frame_;
    std::optional<QPoint> dragFrom_;
};

} // namespace zuk
