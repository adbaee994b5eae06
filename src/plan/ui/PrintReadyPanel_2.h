#pragma once

#include "plan/ui/LevelControls.h"
#include "plan/ui/PanelParts.h"

#include <QFrame>

class QPushButton;

namespace zuk {

// The second pass's level controls: TrackBar5 (0..200) to TrackBar8, group mode preselected.
extern const LevelControlNames kSecondPassLevelNames;

// "Второй проход": the second pass's strike forces (TrackBar5..TrackBar8 with Label21,
// Label27, Label28, Label29; GroupRadBut_2 / IndRadBut_2), the quality choice as a disabled
// mirror (RadioButton5 / RadioButton6) and the buttons "Отмена" (BitBtn2) and "Работа"
// (Button19), which do what those of the first panel do.
class PrintReadyPanel_2 : public QFrame {
    Q_OBJECT
public:
    explicit PrintReadyPanel_2(QWidget* parent = nullptr);

    LevelControls& levels() { return *levels_; }
    void showQuality(const QualityLook& look) { quality_.show(look); }

    const QualityButtons& qualityButtons() const { return quality_; }
    QPushButton* cancelButton() const { return bitBtn2_; }
    QPushButton* workButton() const { return button19_; }

signals:
    void cancelClicked();
    void workClicked();

private:
    LevelControls* levels_ = nullptr;
    QualityButtons quality_;
    QPushButton* bitBtn2_ = nullptr;
    QPushButton* button19_ = nullptr;
};

} // namespace zuk
