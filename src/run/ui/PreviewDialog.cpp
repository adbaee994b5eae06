#include "run/ui/PreviewDialog.h"

#include "plan/TimeEstimate.h"
#include "run/Preview.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace zuk {

namespace {

constexpr QSize kDefaultSize(760, 720);

QLabel* addValue(QFormLayout* layout, const char* objectName, const QString& caption,
                 const QString& value) {
    auto* label = new QLabel(value);
    label->setObjectName(QLatin1String(objectName));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addRow(caption, label);
    return label;
}

} // namespace

PlateView::PlateView(const QImage& plate, QWidget* parent) : QWidget(parent), plate_(plate) {
    setObjectName(QStringLiteral("PlateView"));
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
}

void PlateView::setFitted(bool fitted) {
    fitted_ = fitted;
    if (!fitted_) {
        setMinimumSize(plate_.size());
        resize(plate_.size());
    } else {
        setMinimumSize(0, 0);
    }
    update();
}

QRect PlateView::plateRect() const {
    if (!fitted_ || plate_.isNull())
        return QRect(QPoint(0, 0), plate_.size());
    QRect target(QPoint(0, 0), plate_.size().scaled(size(), Qt::KeepAspectRatio));
    target.moveCenter(rect().center());
    return target;
}

void PlateView::paintEvent(QPaintEvent*) {
    if (plate_.isNull())
        return;
    QPainter painter(this);
    const QRect target = plateRect();
    if (!fitted_) {
        painter.drawImage(target.topLeft(), plate_);
        return;
    }
    // Scaled once per size, averaging the cells a pixel covers: a single struck cell among
    // many stays visible as a shade instead of vanishing.
    if (scaled_.size() != target.size())
        scaled_ = plate_.scaled(target.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    painter.drawImage(target.topLeft(), scaled_);
}

PreviewDialog::PreviewDialog(const JobPreview& preview, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PreviewForm"));
    setWindowTitle(QStringLiteral("Предпросмотр"));
    auto* layout = new QVBoxLayout(this);

    plateView_ = new PlateView(preview.plate);
    scrollArea_ = new QScrollArea(this);
    scrollArea_->setObjectName(QStringLiteral("PlateScrollBox"));
    scrollArea_->setWidget(plateView_);
    layout->addWidget(scrollArea_, 1);

    fitBox_ = new QCheckBox(QStringLiteral("По размеру окна"), this);
    fitBox_->setObjectName(QStringLiteral("FitCheckBox"));
    fitBox_->setChecked(true);
    connect(fitBox_, &QCheckBox::toggled, this, &PreviewDialog::showFitted);
    layout->addWidget(fitBox_);

    auto* figures = new QFormLayout;
    const QLocale locale;
    addValue(figures, "EstimateLabel", QStringLiteral("Длительность работы по оценке:"),
             durationText(preview.estimate, locale));
    addValue(figures, "ModelledLabel", QStringLiteral("Длительность по модели:"),
             durationText(preview.modelled, locale));
    addValue(figures, "PassesLabel", QStringLiteral("Проходов:"),
             QString::number(preview.secondPass ? 2 : 1));
    addValue(figures, "StrikesLabel", QStringLiteral("Ударов иглы:"),
             locale.toString(preview.strikes));
    layout->addLayout(figures);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    showFitted(true);
    resize(kDefaultSize);
}

void PreviewDialog::showFitted(bool fitted) {
    scrollArea_->setWidgetResizable(fitted);
    plateView_->setFitted(fitted);
}

} // namespace zuk
