#pragma once

#include <QDialog>
#include <QImage>

class QRadioButton;
class QScrollArea;

namespace zuk {

struct JobPreview;

// How the preview shows the plate.
enum class PlateScale {
    Window,   // the whole plate scaled to fit the visible area
    Picture,  // the picture's part of the plate scaled to fit it, the rest beside it scrolls
    OneToOne, // one pixel per cell
};

// The plate of the preview at one of its scales. Reduced, each pixel averages the cells it
// covers, so that a single struck cell among many stays visible as a shade; enlarged, each
// cell is a block of pixels.
class PlateView : public QWidget {
    Q_OBJECT
public:
    // `picture`: where the picture lies on the plate (its cells); empty when unknown.
    PlateView(const QImage& plate, const QRect& picture, QWidget* parent = nullptr);

    const QImage& plate() const { return plate_; }
    PlateScale scaleMode() const { return mode_; }
    // Shows the plate at the scale, `visible` being the size of the area that shows it. At
    // the window's scale the widget takes the size it is given; at the others its own.
    void setScale(PlateScale mode, QSize visible);
    // Where the plate is drawn inside the widget.
    QRect plateRect() const;
    // Where the picture's cells are drawn inside the widget (the whole plate when the picture
    // is not known).
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect pictureCells() const;

    QImage plate_;
    QRect picture_;
    PlateScale mode_ = PlateScale::Window;
    QImage reduced_;
};

// "Предпросмотр": the plate the job leaves on the working field and its estimated and
// modelled durations. The plate scrolls; it is scaled to fit the window at first, and can be
// scaled to fit the picture or shown one pixel per cell, scrolled to the picture as the main
// window's view is.
class PreviewDialog : public QDialog {
    Q_OBJECT
public:
    explicit PreviewDialog(const JobPreview& preview, QWidget* parent = nullptr);

    PlateView* plateView() const { return plateView_; }
    QScrollArea* scrollArea() const { return scrollArea_; }
    // The choice of the scale: "По размеру окна", "По размеру рисунка", "1:1".
    QRadioButton* scaleButton(PlateScale mode) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showScale(PlateScale mode);
    void scrollToPicture();

    QScrollArea* scrollArea_ = nullptr;
    PlateView* plateView_ = nullptr;
    QRadioButton* windowButton_ = nullptr;
    QRadioButton* pictureButton_ = nullptr;
    QRadioButton* oneToOneButton_ = nullptr;
};

} // namespace zuk
