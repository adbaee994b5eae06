#pragma once

#include "plan/PassLevels.h"

#include <QWidget>

#include <array>

class QLabel;
class QRadioButton;
class QSlider;

namespace zuk {

// The object names of one set of level controls, as the language file and the handlers know
// them, strongest level ("32") first.
struct LevelControlNames {
    std::array<const char*, kLevelCount> trackbars;
    std::array<const char*, kLevelCount> valueLabels;
    const char* groupButton;
    const char* individualButton;
    int lowestPosition = 1; // the second pass's "32" trackbar starts at 0
    bool groupPreselected = true;
};

// The strike-force controls of one pass: for each level "32", "24", "16", "8" its name label,
// a trackbar (range lowestPosition..200) and a value label "(n)", and the group / individual
// radio buttons. The controls only report what the operator (or the program) does; what a
// move means is up to the panel that owns them:
// - trackbarMoved is emitted whenever a trackbar's position actually changes, also when the
//   program sets it; setting a trackbar to the position it has does nothing;
// - groupClicked / individualClicked are emitted when a radio button becomes checked, by the
//   operator or by checkGroup().
// Value labels show what showForce() was last told; they start as "(1)".
class LevelControls : public QWidget, public LevelControlsView {
    Q_OBJECT
public:
    static constexpr int kHighestPosition = kHighestTrackbarPosition;

    explicit LevelControls(const LevelControlNames& names, QWidget* parent = nullptr);

    int position(Level level) const override;
    void setPosition(Level level, int position) override;
    void showForce(Level level, int force) override;

    bool groupChecked() const override;
    // Checks the group (true) or the individual button; reports it as a click would.
    void checkGroup(bool group);
    void setGroupChecked(bool group) override;
    // Enables or disables the "24", "16" and "8" trackbars with their name and value labels.
    void setDependentsEnabled(bool enabled) override;

    // cppcheck-suppress CastIntegerToAddressAtReturn ; the element is a pointer: cppcheck
    // takes the array's {} initialiser for integers
    QSlider* trackbar(Level level) const { return trackbars_[static_cast<int>(level)]; }
    // cppcheck-suppress CastIntegerToAddressAtReturn ; the element is a pointer: cppcheck
    // takes the array's {} initialiser for integers
    QLabel* valueLabel(Level level) const { return valueLabels_[static_cast<int>(level)]; }
    QRadioButton* groupButton() const { return groupButton_; }
    QRadioButton* individualButton() const { return individualButton_; }

signals:
    void trackbarMoved(zuk::Level level, int position);
    void groupClicked();
    void individualClicked();

private:
    std::array<QSlider*, kLevelCount> trackbars_{};
    std::array<QLabel*, kLevelCount> nameLabels_{};
    std::array<QLabel*, kLevelCount> valueLabels_{};
    QRadioButton* groupButton_ = nullptr;
    QRadioButton* individualButton_ = nullptr;
};

} // namespace zuk
