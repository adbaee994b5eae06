#include "plan/ui/PrintReadyPanel.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zuk {

namespace {
const LevelControlNames kFirstPassNames{{"TrackBar1", "TrackBar2", "TrackBar3", "TrackBar4"},
                                        {"Label8", "Label14", "Label15", "Label16"},
                                        "GroupRadBut",
                                        "IndRadBut",
                                        1,
                                        true};
} // namespace

PrintReadyPanel::PrintReadyPanel(QWidget* parent) : QFrame(parent) {
    makePanelFrame(this, "PrintReadyPanel");
    useSmallPanelFont(this);
    auto* layout = addPanelLayout(this);
    addLabel(this, layout, "Label5", QStringLiteral("Свойства гравирования"), true);
    layout->addWidget(buildQualityPanel());
    addLevelHeader(this, layout, {"Label17", "Label9", "Label7"});
    levels_ = new LevelControls(kFirstPassNames, this);
    layout->addWidget(levels_);
    layout->addWidget(buildPortraitPanel());

    secondWork_ = new QCheckBox(QStringLiteral("Двойной проход"), this);
    secondWork_->setObjectName(QStringLiteral("SecondWork"));
    layout->addWidget(secondWork_);
    connect(secondWork_, &QCheckBox::clicked, this, &PrintReadyPanel::secondWorkClicked);

    const CancelWorkButtons buttons = addCancelWorkButtons(this, layout, "BitBtn1", "Button17");
    bitBtn1_ = buttons.cancel;
    button17_ = buttons.work;
    connect(bitBtn1_, &QPushButton::clicked, this, &PrintReadyPanel::cancelClicked);
    connect(button17_, &QPushButton::clicked, this, &PrintReadyPanel::workClicked);
    hide();
}

QWidget* PrintReadyPanel::buildQualityPanel() {
    auto* panel7 = new QFrame(this);
    makePanelFrame(panel7, "Panel7");
    auto* layout = addPanelLayout(panel7);
    quality_ = addQualityChoice(
        panel7, layout,
        {"Label6", "RadioButton1", "RadioButton2", "Стандарт  (двухсторонний проход)"});
    connect(quality_.high, &QRadioButton::clicked, this, [this] { emit qualityClicked(true); });
    connect(quality_.standard, &QRadioButton::clicked, this,
            [this] { emit qualityClicked(false); });
    return panel7;
}

QWidget* PrintReadyPanel::buildPortraitPanel() {
    auto* panel8 = new QFrame(this);
    makePanelFrame(panel8, "Panel8");
    auto* layout = addPanelLayout(panel8);
    radioButton9_ = new QRadioButton(QStringLiteral("Текст (ускорение)"), panel8);
    radioButton9_->setObjectName(QStringLiteral("RadioButton9"));
    radioButton10_ = new QRadioButton(QStringLiteral("Портрет (качество)"), panel8);
    radioButton10_->setObjectName(QStringLiteral("RadioButton10"));
    radioButton10_->setChecked(true);
    layout->addWidget(radioButton9_);
    layout->addWidget(radioButton10_);
    connect(radioButton9_, &QRadioButton::clicked, this, [this] { emit portraitClicked(false); });
    connect(radioButton10_, &QRadioButton::clicked, this, [this] { emit portraitClicked(true); });
    return panel8;
}

void PrintReadyPanel::addFootRow(QWidget* row) {
    layout()->addWidget(row);
}

void PrintReadyPanel::showPortrait(bool portrait) {
    (portrait ? radioButton10_ : radioButton9_)->setChecked(true);
}

} // namespace zuk
