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
// radio buttons. They show what the core's level handlers decide (show(), with their signals
// blocked) and only report what the operator does:
// - trackbarMoved when the operator moves a trackbar;
// - groupClicked / individualClicked when a radio button is clicked (or checkGroup() acts as
//   such a click).
// Value labels start as "(1)".
class LevelControls : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHighestPosition = kHighestTrackbarPosition;

    explicit LevelControls(const LevelControlNames& names, QWidget* parent = nullptr);

    // Shows the positions, the value labels, the checked mode button and the enabling of the
    // "24", "16" and "8" controls as they are; nothing is reported.
    void show(const LevelControlsState& shown);

    int position(Level level) const;
    bool groupChecked() const;
    // Checks the group (true) or the individual button; reports it as a click would.
    void checkGroup(bool group);

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
