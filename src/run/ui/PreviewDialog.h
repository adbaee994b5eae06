#pragma once

#include <QDialog>
#include <QImage>

class QCheckBox;
class QLabel;
class QScrollArea;

namespace zuk {

struct JobPreview;

// The plate of the preview: the whole picture scaled to fit the widget (keeping its
// proportions, the cells' shades averaged), or one pixel per cell.
class PlateView : public QWidget {
    Q_OBJECT
public:
    explicit PlateView(const QImage& plate, QWidget* parent = nullptr);

    const QImage& plate() const { return plate_; }
    bool fitted() const { return fitted_; }
    void setFitted(bool fitted);
    // Where the plate is drawn inside the widget.
    QRect plateRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage plate_;
    QImage scaled_;
    bool fitted_ = true;
};

// "Предпросмотр": the plate the job leaves on the working field and its estimated and
// modelled durations; the plate scrolls, scaled to fit the window by default.
class PreviewDialog : public QDialog {
    Q_OBJECT
public:
    explicit PreviewDialog(const JobPreview& preview, QWidget* parent = nullptr);

    PlateView* plateView() const { return plateView_; }
    QCheckBox* fitBox() const { return fitBox_; }
    QScrollArea* scrollArea() const { return scrollArea_; }

private:
    void showFitted(bool fitted);

    QScrollArea* scrollArea_ = nullptr;
    PlateView* plateView_ = nullptr;
    QCheckBox* fitBox_ = nullptr;
};

} // namespace zuk
