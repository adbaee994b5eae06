#include "plan/ui/LevelControls.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>

namespace zuk {

namespace {
constexpr std::array<const char*, kLevelCount> kLevelCaptions{"32", "24", "16", "8"};
constexpr int kTrackbarWidth = 120;

QString valueText(int force) {
    return QStringLiteral("(%1)").arg(force);
}
} // namespace

LevelControls::LevelControls(const LevelControlNames& names, QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int k = 0; k < kLevelCount; ++k) {
        const auto level = static_cast<Level>(k);
        nameLabels_[k] = new QLabel(QLatin1String(kLevelCaptions[k]), this);
        nameLabels_[k]->setObjectName(QLatin1String(names.trackbars[k]) + QStringLiteral("Name"));
        trackbars_[k] = new QSlider(Qt::Horizontal, this);
        trackbars_[k]->setObjectName(QLatin1String(names.trackbars[k]));
        trackbars_[k]->setRange(k == 0 ? names.lowestPosition : 1, kHighestTrackbarPosition);
        trackbars_[k]->setValue(
            k == 0 && names.lowestPosition == 0 ? 0 : kDesignedTrackbarPositions[k]);
        trackbars_[k]->setMinimumWidth(kTrackbarWidth);
        valueLabels_[k] = new QLabel(valueText(1), this);
        valueLabels_[k]->setObjectName(QLatin1String(names.valueLabels[k]));
        connect(trackbars_[k], &QSlider::valueChanged, this,
                [this, level](int value) { emit trackbarMoved(level, value); });
        grid->addWidget(nameLabels_[k], k, 0);
        grid->addWidget(trackbars_[k], k, 1);
        grid->addWidget(valueLabels_[k], k, 2);
    }

    groupButton_ = new QRadioButton(QStringLiteral("Групповая установка уровней"), this);
    groupButton_->setObjectName(QLatin1String(names.groupButton));
    individualButton_ = new QRadioButton(QStringLiteral("Индивидуальная установка уровней"), this);
    individualButton_->setObjectName(QLatin1String(names.individualButton));
    auto* modes = new QButtonGroup(this);
    modes->addButton(groupButton_);
    modes->addButton(individualButton_);
    (names.groupPreselected ? groupButton_ : individualButton_)->setChecked(true);
    grid->addWidget(groupButton_, kLevelCount, 0, 1, 3);
    grid->addWidget(individualButton_, kLevelCount + 1, 0, 1, 3);
    // Reported only once the choice is made, so a click on the checked button reports too,
    // as the operator's click on it would.
    connect(groupButton_, &QRadioButton::clicked, this, [this] { emit groupClicked(); });
    connect(individualButton_, &QRadioButton::clicked, this, [this] { emit individualClicked(); });
}

void LevelControls::show(const LevelControlsState& shown) {
    for (int k = 0; k < kLevelCount; ++k) {
        const QSignalBlocker quiet(trackbars_[k]);
        trackbars_[k]->setValue(shown.positions[k]);
        valueLabels_[k]->setText(valueText(shown.shownForces[k]));
    }
    {
        const QSignalBlocker quietGroup(groupButton_);
        const QSignalBlocker quietIndividual(individualButton_);
        (shown.groupChecked ? groupButton_ : individualButton_)->setChecked(true);
    }
    for (int k = 1; k < kLevelCount; ++k) {
        trackbars_[k]->setEnabled(shown.dependentsEnabled);
        nameLabels_[k]->setEnabled(shown.dependentsEnabled);
        valueLabels_[k]->setEnabled(shown.dependentsEnabled);
    }
}

int LevelControls::position(Level level) const {
    return trackbar(level)->value();
}

bool LevelControls::groupChecked() const {
    return groupButton_->isChecked();
}

void LevelControls::checkGroup(bool group) {
    (group ? groupButton_ : individualButton_)->setChecked(true);
    emit group ? groupClicked() : individualClicked();
}

} // namespace zuk
