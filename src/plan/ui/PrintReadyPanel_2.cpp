#include "plan/ui/PrintReadyPanel_2.h"

#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zuk {

const LevelControlNames kSecondPassLevelNames{{"TrackBar5", "TrackBar6", "TrackBar7", "TrackBar8"},
                                              {"Label21", "Label27", "Label28", "Label29"},
                                              "GroupRadBut_2",
                                              "IndRadBut_2",
                                              0,
                                              true};

PrintReadyPanel_2::PrintReadyPanel_2(QWidget* parent) : QFrame(parent) {
    makePanelFrame(this, "PrintReadyPanel_2");
    useSmallPanelFont(this);
    auto* layout = addPanelLayout(this);
    addLabel(this, layout, "Label19", QStringLiteral("Второй проход"), true);

    auto* mirror = new QFrame(this);
    makePanelFrame(mirror, "QualityMirror");
    auto* mirrorLayout = addPanelLayout(mirror);
    quality_ = addQualityChoice(
        mirror, mirrorLayout,
        {"Label31", "RadioButton5", "RadioButton6", "Стандарт   (двухсторонний проход)"});
    quality_.high->setEnabled(false);
    quality_.standard->setEnabled(false);
    layout->addWidget(mirror);

    addLevelHeader(this, layout, {"Label30", "Label22", "Label20"});
    levels_ = new LevelControls(kSecondPassLevelNames, this);
    layout->addWidget(levels_);
    layout->addStretch(1);

    const CancelWorkButtons buttons = addCancelWorkButtons(this, layout, "BitBtn2", "Button19");
    bitBtn2_ = buttons.cancel;
    button19_ = buttons.work;
    connect(bitBtn2_, &QPushButton::clicked, this, &PrintReadyPanel_2::cancelClicked);
    connect(button19_, &QPushButton::clicked, this, &PrintReadyPanel_2::workClicked);
    hide();
}

} // namespace zuk
