#include "image/ui/SliderFields.h"

#include "image/PreparationChoices.h"

#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

#include <cmath>
#include <functional>

namespace zuk {
namespace {

// The slider's position for a value and the value of a position, for a box of reals.
struct Scale {
    std::function<int(double)> position;
    std::function<double(int)> value;
};

QWidget* rowOf(QSlider* slider, QWidget* box, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(slider, 1);
    layout->addWidget(box);
    return row;
}

QSlider* sliderOf(int lowest, int highest, QWidget* parent) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(lowest, highest);
    slider->setMinimumWidth(140);
    return slider;
}

RealSliderField realSliderField(const char* name, double lowest, double highest, const Scale& scale,
                                QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(lowest, highest);
    box->setDecimals(2);
    box->setSingleStep(0.05);
    QSlider* slider = sliderOf(scale.position(lowest), scale.position(highest), parent);
    QObject::connect(box, &QDoubleSpinBox::valueChanged, slider, [slider, scale](double value) {
        const QSignalBlocker block(slider);
        slider->setValue(scale.position(value));
    });
    QObject::connect(slider, &QSlider::valueChanged, box,
                     [box, scale](int position) { box->setValue(scale.value(position)); });
    slider->setValue(scale.position(box->value()));
    return {box, rowOf(slider, box, parent)};
}

} // namespace

WholeSliderField wholeSliderField(const char* name, int lowest, int highest, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(lowest, highest);
    QSlider* slider = sliderOf(lowest, highest, parent);
    QObject::connect(box, &QSpinBox::valueChanged, slider, [slider](int value) {
        const QSignalBlocker block(slider);
        slider->setValue(value);
    });
    QObject::connect(slider, &QSlider::valueChanged, box, &QSpinBox::setValue);
    return {box, rowOf(slider, box, parent)};
}

RealSliderField gammaSliderField(const char* name, QWidget* parent) {
    // Position p stands for 5^(p/100): -100 is 0.2, 0 is 1, 100 is 5.
    const double base = PreparationChoices::kHighestGamma;
    const Scale scale{
        [base](double gamma) { return int(std::lround(100 * std::log(gamma) / std::log(base))); },
        [base](int position) { return std::round(100 * std::pow(base, position / 100.0)) / 100; }};
    RealSliderField field = realSliderField(name, PreparationChoices::kLowestGamma,
                                            PreparationChoices::kHighestGamma, scale, parent);
    field.box->setValue(1.0);
    return field;
}

RealSliderField sharpenSliderField(const char* name, QWidget* parent) {
    const Scale scale{[](double amount) { return int(std::lround(amount * 100)); },
                      [](int position) { return position / 100.0; }};
    return realSliderField(name, 0, PreparationChoices::kHighestSharpenAmount, scale, parent);
}

} // namespace zuk
