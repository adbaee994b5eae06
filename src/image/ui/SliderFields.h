#pragma once

class QDoubleSpinBox;
class QSpinBox;
class QWidget;

namespace zuk {

// A number box with a slider beside it, each following the other; the box (named `name`)
// holds the value and reports its changes.
struct WholeSliderField {
    QSpinBox* box;
    QWidget* row;
};
struct RealSliderField {
    QDoubleSpinBox* box;
    QWidget* row;
};

WholeSliderField wholeSliderField(const char* name, int lowest, int highest, QWidget* parent);
// Gamma 0.2..5 with two decimals; the slider moves on a logarithmic scale, 1 in its middle.
RealSliderField gammaSliderField(const char* name, QWidget* parent);
// The sharpening amount 0..5 with two decimals; the slider in hundredths.
RealSliderField sharpenSliderField(const char* name, QWidget* parent);

} // namespace zuk
