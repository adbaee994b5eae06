#include "run/ui/PreviewDialog.h"

#include "app/CountText.h"
#include "plan/TimeEstimate.h"
#include "run/Preview.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace zuk {

namespace {

constexpr QSize kDefaultSize(760, 720);
// At the picture's scale the picture keeps this many cells of the field around it in sight.
constexpr int kPictureMarginCells = 10;
// A picture of a few cells is not blown up beyond this many pixels a cell.
constexpr double kLargestScale = 16.0;

QLabel* addValue(QFormLayout* layout, const char* objectName, const QString& caption,
                 const QString& value) {
    auto* label = new QLabel(value);
    label->setObjectName(QLatin1String(objectName));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addRow(caption, label);
    return label;
}

// The scale at which `cells` fills `visible` as far as its proportions allow.
double scaleToFit(QSize cells, QSize visible) {
    if (cells.isEmpty() || visible.isEmpty())
        return 1.0;
    return std::min(double(visible.width()) / cells.width(),
                    double(visible.height()) / cells.height());
}

} // namespace

PlateView::PlateView(const QImage& plate, const QRect& picture, QWidget* parent)
    : QWidget(parent), plate_(plate), picture_(picture) {
    setObjectName(QStringLiteral("PlateView"));
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
}

QRect PlateView::pictureCells() const {
    const QRect cells = picture_ & plate_.rect();
    return cells.isEmpty() ? plate_.rect() : cells;
}

void PlateView::setScale(PlateScale mode, QSize visible) {
    mode_ = mode;
    if (mode_ == PlateScale::Window) {
        setMinimumSize(0, 0);
    } else {
        double scale = 1.0;
        if (mode_ == PlateScale::Picture) {
            const QSize withMargin =
                pictureCells().size() + QSize(2 * kPictureMarginCells, 2 * kPictureMarginCells);
            scale = std::min(scaleToFit(withMargin, visible), kLargestScale);
        }
        const QSize size = (QSizeF(plate_.size()) * scale).toSize().expandedTo(QSize(1, 1));
        setMinimumSize(size);
        resize(size);
    }
    update();
}

QRect PlateView::plateRect() const {
    if (mode_ != PlateScale::Window || plate_.isNull())
        return rect();
    QRect target(QPoint(0, 0), plate_.size().scaled(size(), Qt::KeepAspectRatio));
    target.moveCenter(rect().center());
    return target;
}

QRect PlateView::pictureRect() const {
    const QRect target = plateRect();
    if (plate_.isNull())
        return target;
    const double sx = double(target.width()) / plate_.width();
    const double sy = double(target.height()) / plate_.height();
    const QRect cells = pictureCells();
    return QRectF(target.left() + cells.left() * sx, target.top() + cells.top() * sy,
                  cells.width() * sx, cells.height() * sy)
        .toAlignedRect();
}

void PlateView::paintEvent(QPaintEvent* event) {
    if (plate_.isNull())
        return;
    QPainter painter(this);
    const QRect target = plateRect();
    if (target.size() == plate_.size()) {
        painter.drawImage(target.topLeft(), plate_);
        return;
    }
    // Reduced once per size, averaging the cells a pixel covers.
    if (target.width() < plate_.width()) {
        if (reduced_.size() != target.size())
            reduced_ =
                plate_.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        painter.drawImage(target.topLeft(), reduced_);
        return;
    }
    // Enlarged: only the cells of the part to paint, each a block of pixels.
    const double scale = double(target.width()) / plate_.width();
    const QRect exposed = event->rect() & target;
    const QRect cells = QRectF(QPointF(exposed.topLeft() - target.topLeft()) / scale,
                               QSizeF(exposed.size()) / scale)
                            .toAlignedRect() &
                        plate_.rect();
    const QRectF onScreen(QPointF(target.topLeft()) + QPointF(cells.topLeft()) * scale,
                          QSizeF(cells.size()) * scale);
    painter.drawImage(onScreen, plate_, QRectF(cells));
}

PreviewDialog::PreviewDialog(const JobPreview& preview, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PreviewForm"));
    setWindowTitle(QStringLiteral("Предпросмотр"));
    auto* layout = new QVBoxLayout(this);

    plateView_ = new PlateView(preview.plate, preview.picture);
    scrollArea_ = new QScrollArea(this);
    scrollArea_->setObjectName(QStringLiteral("PlateScrollBox"));
    scrollArea_->setWidget(plateView_);
    layout->addWidget(scrollArea_, 1);

    auto* scales = new QHBoxLayout;
    auto* group = new QButtonGroup(this);
    const auto addScale = [&](const char* objectName, const QString& caption, PlateScale mode) {
        auto* button = new QRadioButton(caption, this);
        button->setObjectName(QLatin1String(objectName));
        group->addButton(button);
        scales->addWidget(button);
        connect(button, &QRadioButton::toggled, this, [this, mode](bool on) {
            if (on)
                showScale(mode);
        });
        return button;
    };
    windowButton_ =
        addScale("FitWindowButton", QStringLiteral("По размеру окна"), PlateScale::Window);
    pictureButton_ =
        addScale("FitPictureButton", QStringLiteral("По размеру рисунка"), PlateScale::Picture);
    oneToOneButton_ = addScale("OneToOneButton", QStringLiteral("1:1"), PlateScale::OneToOne);
    scales->addStretch(1);
    layout->addLayout(scales);

    auto* figures = new QFormLayout;
    const QLocale locale;
    addValue(figures, "EstimateLabel", QStringLiteral("Длительность работы по оценке:"),
             durationText(preview.estimate, locale));
    addValue(figures, "ModelledLabel", QStringLiteral("Длительность по модели:"),
             durationText(preview.modelled, locale));
    addValue(figures, "PassesLabel", QStringLiteral("Проходов:"),
             QString::number(preview.secondPass ? 2 : 1));
    addValue(figures, "StrikesLabel", QStringLiteral("Ударов иглы:"), countText(preview.strikes));
    layout->addLayout(figures);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    windowButton_->setChecked(true);
    resize(kDefaultSize);
}

QRadioButton* PreviewDialog::scaleButton(PlateScale mode) const {
    switch (mode) {
    case PlateScale::Window:
        return windowButton_;
    case PlateScale::Picture:
        return pictureButton_;
    case PlateScale::OneToOne:
        break;
    }
    return oneToOneButton_;
}

void PreviewDialog::showScale(PlateScale mode) {
    scrollArea_->setWidgetResizable(mode == PlateScale::Window);
    // Scaled beyond the window the plate scrolls: the scroll bars take their room.
    const int bar = scrollArea_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QSize visible = scrollArea_->maximumViewportSize();
    if (mode != PlateScale::Window)
        visible -= QSize(bar, bar);
    plateView_->setScale(mode, visible);
    if (mode != PlateScale::Window)
        scrollToPicture();
}

// The picture's centre in the middle of the visible part, as far as the scroll bars reach.
void PreviewDialog::scrollToPicture() {
    const QPoint centre = plateView_->pictureRect().center();
    const QSize visible = scrollArea_->viewport()->size();
    scrollArea_->horizontalScrollBar()->setValue(centre.x() - visible.width() / 2);
    scrollArea_->verticalScrollBar()->setValue(centre.y() - visible.height() / 2);
}

void PreviewDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // The picture keeps filling the window it is scaled to.
    if (plateView_->scaleMode() == PlateScale::Picture)
        showScale(PlateScale::Picture);
}

} // namespace zuk
