#pragma once

#include "plan/ui/LevelControls.h"
#include "plan/ui/PanelParts.h"

#include <QFrame>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace zuk {

// "Свойства гравирования": the first pass's strike forces (TrackBar1..TrackBar4 with Label8,
// Label14, Label15, Label16; GroupRadBut / IndRadBut), the quality (Panel7), text or
// portrait (Panel8), "Двойной проход" (SecondWork) and the buttons "Отмена" (BitBtn1) and
// "Работа" (Button17). It only reports what the operator does; EngravingPanels gives it
// meaning.
class PrintReadyPanel : public QFrame {
    Q_OBJECT
public:
    explicit PrintReadyPanel(QWidget* parent = nullptr);

    LevelControls& levels() { return *levels_; }
    void showQuality(const QualityLook& look) { quality_.show(look); }
    void showPortrait(bool portrait);

    const QualityButtons& qualityButtons() const { return quality_; }
    QRadioButton* textButton() const { return radioButton9_; }
    QRadioButton* portraitButton() const { return radioButton10_; }
    QCheckBox* secondWork() const { return secondWork_; }
    QPushButton* cancelButton() const { return bitBtn1_; }
    QPushButton* workButton() const { return button17_; }
    // Puts a row at the foot of the panel, under "Отмена" and "Работа" (the material choice),
    // so that nothing above it moves.
    void addFootRow(QWidget* row);

signals:
    void qualityClicked(bool high);
    void portraitClicked(bool portrait);
    void secondWorkClicked(bool checked);
    void cancelClicked();
    void workClicked();

private:
    QWidget* buildQualityPanel();
    QWidget* buildPortraitPanel();

    LevelControls* levels_ = nullptr;
    QualityButtons quality_;
    QRadioButton* radioButton9_ = nullptr;
    QRadioButton* radioButton10_ = nullptr;
    QCheckBox* secondWork_ = nullptr;
    QPushButton* bitBtn1_ = nullptr;
    QPushButton* button17_ = nullptr;
};

} // namespace zuk
