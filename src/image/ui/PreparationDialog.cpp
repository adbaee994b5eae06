#include "image/ui/PreparationDialog.h"

#include "image/Picture.h"
#include "image/PreparationPreview.h"
#include "image/ui/PicturePane.h"
#include "image/ui/SliderFields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>
#include <utility>

namespace zuk {
namespace {

// The rotations as the list offers them, clockwise.
constexpr int kRotations[] = {0, 90, 180, 270};

QSpinBox* dotsBox(const char* name, const QString& automatic, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(0, kMaxPictureSide);
    box->setSpecialValueText(automatic);
    return box;
}

QScrollArea* paneArea(PicturePane* pane, QWidget* parent) {
    auto* area = new QScrollArea(parent);
    area->setWidget(pane);
    area->setWidgetResizable(true);
    area->setAlignment(Qt::AlignCenter);
    area->setMinimumSize(280, 320);
    return area;
}

QWidget* titled(const QString& title, QWidget* content, QWidget* parent) {
    auto* column = new QWidget(parent);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(title, column));
    layout->addWidget(content, 1);
    return column;
}

} // namespace

PreparationDialog::PreparationDialog(PreparationPreview& preview, const PreparationChoices& choices,
                                     QWidget* parent)
    : QDialog(parent), preview_(preview) {
    setObjectName(QStringLiteral("PreparationDialog"));
    setWindowTitle(QStringLiteral("Подготовка рисунка"));
    setModal(true);
    redrawTimer_.setSingleShot(true);
    redrawTimer_.setInterval(0);
    connect(&redrawTimer_, &QTimer::timeout, this, &PreparationDialog::redraw);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildPanes(), 1);
    auto* side = new QVBoxLayout;
    side->addWidget(buildChoices());
    side->addStretch(1);
    side->addWidget(buildButtons());
    layout->addLayout(side);
    showChoices(choices);
    resize(1180, 720);
}

QWidget* PreparationDialog::buildPanes() {
    auto* panes = new QWidget(this);
    auto* layout = new QHBoxLayout(panes);
    layout->setContentsMargins(0, 0, 0, 0);
    originalPane_ = new PicturePane;
    originalPane_->setObjectName(QStringLiteral("OriginalPane"));
    originalPane_->setPicture(preview_.source());
    originalPane_->allowDrawing(true);
    connect(originalPane_, &PicturePane::rectangleDrawn, this, &PreparationDialog::cropDrawn);
    dotsPane_ = new PicturePane;
    dotsPane_->setObjectName(QStringLiteral("DotsPane"));
    originalArea_ = paneArea(originalPane_, panes);
    dotsArea_ = paneArea(dotsPane_, panes);
    layout->addWidget(titled(QStringLiteral("Рисунок (обрезка — мышью)"), originalArea_, panes));
    layout->addWidget(titled(QStringLiteral("Точки"), dotsArea_, panes));
    return panes;
}

QWidget* PreparationDialog::buildChoices() {
    auto* choices = new QWidget(this);
    auto* layout = new QVBoxLayout(choices);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* reshaping = new QGroupBox(QStringLiteral("Размер и положение"), choices);
    auto* reshapingForm = new QFormLayout(reshaping);
    buildReshaping(reshapingForm);
    layout->addWidget(reshaping);
    layout->addWidget(buildCrop());
    auto* shading = new QGroupBox(QStringLiteral("Тон"), choices);
    auto* shadingForm = new QFormLayout(shading);
    buildShading(shadingForm);
    layout->addWidget(shading);
    status_ = new QLabel(choices);
    status_->setObjectName(QStringLiteral("StatusLabel"));
    status_->setWordWrap(true);
    layout->addWidget(status_);
    auto* actual = new QCheckBox(QStringLiteral("Точка в точку (1:1)"), choices);
    actual->setObjectName(QStringLiteral("ActualSizeBox"));
    connect(actual, &QCheckBox::toggled, this, &PreparationDialog::showActualSize);
    layout->addWidget(actual);
    return choices;
}

void PreparationDialog::buildReshaping(QFormLayout* form) {
    QWidget* group = form->parentWidget();
    width_ = dotsBox("WidthBox", QStringLiteral("по высоте"), group);
    height_ = dotsBox("HeightBox", QStringLiteral("по ширине"), group);
    rotation_ = new QComboBox(group);
    rotation_->setObjectName(QStringLiteral("RotationBox"));
    rotation_->addItems({QStringLiteral("нет"), QStringLiteral("90° по часовой стрелке"),
                         QStringLiteral("180°"), QStringLiteral("270° по часовой стрелке")});
    mirrorLeftRight_ = new QCheckBox(QStringLiteral("Отразить слева направо"), group);
    mirrorLeftRight_->setObjectName(QStringLiteral("MirrorLeftRight"));
    mirrorTopBottom_ = new QCheckBox(QStringLiteral("Отразить сверху вниз"), group);
    mirrorTopBottom_->setObjectName(QStringLiteral("MirrorTopBottom"));
    form->addRow(QStringLiteral("Ширина, точек"), width_);
    form->addRow(QStringLiteral("Высота, точек"), height_);
    form->addRow(QStringLiteral("Поворот"), rotation_);
    form->addRow(mirrorLeftRight_);
    form->addRow(mirrorTopBottom_);
    for (QObject* control :
         {static_cast<QObject*>(width_), static_cast<QObject*>(height_),
          static_cast<QObject*>(rotation_), static_cast<QObject*>(mirrorLeftRight_),
          static_cast<QObject*>(mirrorTopBottom_)})
        watch(control);
}

QGroupBox* PreparationDialog::buildCrop() {
    crop_ = new QGroupBox(QStringLiteral("Обрезать (в точках рисунка)"), this);
    crop_->setObjectName(QStringLiteral("CropBox"));
    crop_->setCheckable(true);
    auto* layout = new QHBoxLayout(crop_);
    const QSize source = preview_.source().size();
    const auto box = [this, layout](const char* name, const QString& label, int lowest,
                                    int highest) {
        auto* spin = new QSpinBox(crop_);
        spin->setObjectName(QLatin1String(name));
        spin->setRange(lowest, std::max(lowest, highest));
        layout->addWidget(new QLabel(label, crop_));
        layout->addWidget(spin);
        watch(spin);
        return spin;
    };
    cropX_ = box("CropX", QStringLiteral("X"), 0, source.width() - 1);
    cropY_ = box("CropY", QStringLiteral("Y"), 0, source.height() - 1);
    cropWidth_ = box("CropWidth", QStringLiteral("Ш"), 1, source.width());
    cropHeight_ = box("CropHeight", QStringLiteral("В"), 1, source.height());
    watch(crop_);
    return crop_;
}

void PreparationDialog::buildShading(QFormLayout* form) {
    QWidget* group = form->parentWidget();
    gray_ = new QComboBox(group);
    gray_->setObjectName(QStringLiteral("GrayBox"));
    gray_->addItems({QStringLiteral("красный канал"), QStringLiteral("яркость")});
    const int tone = PreparationChoices::kToneLimit;
    const WholeSliderField brightness = wholeSliderField("BrightnessBox", -tone, tone, group);
    const WholeSliderField contrast = wholeSliderField("ContrastBox", -tone, tone, group);
    const RealSliderField gamma = gammaSliderField("GammaBox", group);
    invert_ = new QCheckBox(QStringLiteral("Негатив"), group);
    invert_->setObjectName(QStringLiteral("InvertBox"));
    const RealSliderField sharpen = sharpenSliderField("SharpenBox", group);
    sharpenRadius_ = new QDoubleSpinBox(group);
    sharpenRadius_->setObjectName(QStringLiteral("SharpenRadiusBox"));
    sharpenRadius_->setRange(PreparationChoices::kLowestSharpenRadius,
                             PreparationChoices::kHighestSharpenRadius);
    sharpenRadius_->setSingleStep(0.1);
    sharpenRadius_->setDecimals(1);
    brightness_ = brightness.box;
    contrast_ = contrast.box;
    gamma_ = gamma.box;
    sharpenAmount_ = sharpen.box;
    form->addRow(QStringLiteral("Серый из"), gray_);
    form->addRow(QStringLiteral("Яркость"), brightness.row);
    form->addRow(QStringLiteral("Контраст"), contrast.row);
    form->addRow(QStringLiteral("Гамма"), gamma.row);
    form->addRow(invert_);
    form->addRow(QStringLiteral("Резкость"), sharpen.row);
    form->addRow(QStringLiteral("Радиус резкости"), sharpenRadius_);
    for (QObject* control : {static_cast<QObject*>(gray_), static_cast<QObject*>(brightness_),
                             static_cast<QObject*>(contrast_), static_cast<QObject*>(gamma_),
                             static_cast<QObject*>(invert_), static_cast<QObject*>(sharpenAmount_),
                             static_cast<QObject*>(sharpenRadius_)})
        watch(control);
}

QWidget* PreparationDialog::buildButtons() {
    auto* buttons = new QWidget(this);
    auto* layout = new QHBoxLayout(buttons);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* reset = new QPushButton(QStringLiteral("Сбросить"), buttons);
    reset->setObjectName(QStringLiteral("ResetButton"));
    reset->setAutoDefault(false);
    connect(reset, &QPushButton::clicked, this, [this] { showChoices({}); });
    ok_ = new QPushButton(QStringLiteral("OK"), buttons);
    ok_->setObjectName(QStringLiteral("OkButton"));
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), buttons);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(reset);
    layout->addStretch(1);
    layout->addWidget(ok_);
    layout->addWidget(cancel);
    return buttons;
}

// Every change of a choice redraws the dots once the window has handled its pending events, so
// that a slider dragged faster than the dots are made skips the positions it has passed.
void PreparationDialog::watch(QObject* control) {
    if (auto* spin = qobject_cast<QSpinBox*>(control))
        connect(spin, &QSpinBox::valueChanged, this, &PreparationDialog::redrawSoon);
    else if (auto* real = qobject_cast<QDoubleSpinBox*>(control))
        connect(real, &QDoubleSpinBox::valueChanged, this, &PreparationDialog::redrawSoon);
    else if (auto* list = qobject_cast<QComboBox*>(control))
        connect(list, &QComboBox::currentIndexChanged, this, &PreparationDialog::redrawSoon);
    else if (auto* check = qobject_cast<QCheckBox*>(control))
        connect(check, &QCheckBox::toggled, this, &PreparationDialog::redrawSoon);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        connect(group, &QGroupBox::toggled, this, &PreparationDialog::redrawSoon);
}

void PreparationDialog::redrawSoon() {
    redrawTimer_.start();
}

PreparationChoices PreparationDialog::choices() const {
    PreparationChoices choices;
    if (crop_->isChecked())
        choices.crop =
            QRect(cropX_->value(), cropY_->value(), cropWidth_->value(), cropHeight_->value());
    choices.rotation = kRotations[std::max(0, rotation_->currentIndex())];
    choices.mirrorLeftRight = mirrorLeftRight_->isChecked();
    choices.mirrorTopBottom = mirrorTopBottom_->isChecked();
    choices.width = width_->value();
    choices.height = height_->value();
    choices.gray = gray_->currentIndex() == 1 ? GraySource::Luma : GraySource::Red;
    choices.brightness = brightness_->value();
    choices.contrast = contrast_->value();
    choices.gamma = gamma_->value();
    choices.invert = invert_->isChecked();
    choices.sharpenAmount = sharpenAmount_->value();
    choices.sharpenRadius = sharpenRadius_->value();
    return choices;
}

// The controls report each change; the dots are redrawn once for all of them.
void PreparationDialog::showChoices(const PreparationChoices& choices) {
    width_->setValue(choices.width);
    height_->setValue(choices.height);
    const int* found = std::find(std::begin(kRotations), std::end(kRotations), choices.rotation);
    rotation_->setCurrentIndex(found == std::end(kRotations) ? 0 : int(found - kRotations));
    mirrorLeftRight_->setChecked(choices.mirrorLeftRight);
    mirrorTopBottom_->setChecked(choices.mirrorTopBottom);
    showCrop(choices);
    gray_->setCurrentIndex(choices.gray == GraySource::Luma ? 1 : 0);
    brightness_->setValue(choices.brightness);
    contrast_->setValue(choices.contrast);
    gamma_->setValue(choices.gamma);
    invert_->setChecked(choices.invert);
    sharpenAmount_->setValue(choices.sharpenAmount);
    sharpenRadius_->setValue(choices.sharpenRadius);
    redrawSoon();
}

// A crop is shown as much of it as lies on the picture; one wholly outside shows the whole
// picture, unchecked.
void PreparationDialog::showCrop(const PreparationChoices& choices) {
    const QRect whole(QPoint(0, 0), preview_.source().size());
    const QRect kept = choices.crop ? choices.crop->intersected(whole) : QRect();
    const QRect shown = kept.isEmpty() ? whole : kept;
    crop_->setChecked(!kept.isEmpty());
    cropX_->setValue(shown.x());
    cropY_->setValue(shown.y());
    cropWidth_->setValue(shown.width());
    cropHeight_->setValue(shown.height());
}

void PreparationDialog::redraw() {
    const PreparationChoices current = choices();
    const std::optional<QString> problem = preview_.prepare(current);
    dotsPane_->setPicture(preview_.dots());
    originalPane_->setFrame(current.crop);
    ok_->setEnabled(!problem);
    if (problem) {
        status_->setStyleSheet(QStringLiteral("color: #b00000"));
        status_->setText(QStringLiteral("Рисунок так не подготовить: %1.").arg(*problem));
    } else {
        status_->setStyleSheet(QString());
        status_->setText(QStringLiteral("Точек: %1 × %2")
                             .arg(preview_.dots().width())
                             .arg(preview_.dots().height()));
    }
}

QString PreparationDialog::statusText() const {
    return status_->text();
}

void PreparationDialog::cropDrawn(const QRect& area) {
    PreparationChoices current = choices();
    current.crop = area;
    showCrop(current);
    redrawSoon();
}

void PreparationDialog::showActualSize(bool actual) {
    for (auto [area, pane] :
         {std::pair{originalArea_, originalPane_}, std::pair{dotsArea_, dotsPane_}}) {
        area->setWidgetResizable(!actual);
        pane->setActualSize(actual);
    }
}

} // namespace zuk
