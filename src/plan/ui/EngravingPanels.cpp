#include "plan/ui/EngravingPanels.h"

#include "app/Program.h"
#include "plan/ui/PrintReadyPanel.h"
#include "plan/ui/PrintReadyPanel_2.h"
#include "run/ui/AbortPanel.h"
#include "service/ui/PanelPlacement.h"

#include <QAction>
#include <QCheckBox>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace zuk {

namespace {
// Where the properties panels sit relative to the visible top left of the picture.
constexpr int kPanelTop = 5;
constexpr int kFirstPanelLeft = 5;
constexpr int kSecondPanelLeft = 250;
constexpr int kPanelGap = 0;
} // namespace

EngravingPanels::EngravingPanels(Program& program, QScrollArea* scrollBox1, QWidget* image1,
                                 QAction* qual1, QAction* qual2)
    : QObject(scrollBox1), program_(program), scrollBox1_(scrollBox1), image1_(image1),
      qual1_(qual1), qual2_(qual2), printReadyPanel_(new PrintReadyPanel(scrollBox1)),
      printReadyPanel2_(new PrintReadyPanel_2(scrollBox1)),
      abortPanel_(new AbortPanel(scrollBox1)) {
    setObjectName(QStringLiteral("EngravingPanels"));
    properties_ = std::make_unique<EngravingProperties>(program, *this);
    for (const LevelSet set :
         {LevelSet::PrintReady, LevelSet::PrintReady2, LevelSet::AbortWork1, LevelSet::AbortWork2})
        showLevelControls(set, properties_->levels(set).shown());
    for (const LevelSet set :
         {LevelSet::PrintReady, LevelSet::PrintReady2, LevelSet::AbortWork1, LevelSet::AbortWork2})
        connectLevelControls(set);
    connectPropertiesPanels();
    showQuality(qualityLook(false));
}

EngravingPanels::~EngravingPanels() = default;

void EngravingPanels::connectLevelControls(LevelSet set) {
    LevelControls& controls = levelControls(set);
    connect(&controls, &LevelControls::trackbarMoved, this, [this, set](Level level, int position) {
        properties_->trackbarMoved(set, level, position);
    });
    connect(&controls, &LevelControls::groupClicked, this,
            [this, set] { properties_->modeClicked(set, true); });
    connect(&controls, &LevelControls::individualClicked, this,
            [this, set] { properties_->modeClicked(set, false); });
}

void EngravingPanels::connectPropertiesPanels() {
    connect(printReadyPanel_, &PrintReadyPanel::qualityClicked, this,
            [this](bool high) { properties_->qualityClick(high); });
    connect(printReadyPanel_, &PrintReadyPanel::portraitClicked, this,
            [this](bool portrait) { properties_->portraitClick(portrait); });
    connect(printReadyPanel_, &PrintReadyPanel::secondWorkClicked, this,
            [this](bool checked) { properties_->secondWorkClick(checked); });
    connect(qual1_, &QAction::triggered, this, [this] { properties_->qualMenuClick(true); });
    connect(qual2_, &QAction::triggered, this, [this] { properties_->qualMenuClick(false); });
    connect(printReadyPanel_, &PrintReadyPanel::cancelClicked, this,
            &EngravingPanels::cancelClicked);
    connect(printReadyPanel2_, &PrintReadyPanel_2::cancelClicked, this,
            &EngravingPanels::cancelClicked);
    connect(printReadyPanel_, &PrintReadyPanel::workClicked, this, &EngravingPanels::workClicked);
    connect(printReadyPanel2_, &PrintReadyPanel_2::workClicked, this,
            &EngravingPanels::workClicked);
}

LevelControls& EngravingPanels::levelControls(LevelSet set) {
    switch (set) {
    case LevelSet::PrintReady:
        return printReadyPanel_->levels();
    case LevelSet::PrintReady2:
        return printReadyPanel2_->levels();
    case LevelSet::AbortWork1:
        return abortPanel_->firstPass();
    case LevelSet::AbortWork2:
        return abortPanel_->secondPass();
    }
    return printReadyPanel_->levels();
}

void EngravingPanels::showLevelControls(LevelSet set, const LevelControlsState& shown) {
    levelControls(set).show(shown);
}

void EngravingPanels::showAbortLayout(const AbortPanelLayout& layout) {
    properties_->showAbortLayout(layout);
    abortPanel_->applyLayout(layout);
}

// The picture's top left corner in the scroll box plus the scroll positions is the visible
// top left of the scroll box's view, however far the picture is scrolled. The panels sit 5
// pixels from there, the second-pass panel 250 pixels from the left, or further right where a
// large system font has made the first panel too wide for that; where that would cover the
// placed picture, they move beside it as far as the view leaves room (both panels, so that
// the second pass shown later does not cover it either).
void EngravingPanels::placePropertiesPanels() {
    const QPoint visible = image1_->mapTo(scrollBox1_, QPoint(0, 0)) +
                           QPoint(scrollBox1_->horizontalScrollBar()->value(),
                                  scrollBox1_->verticalScrollBar()->value());
    printReadyPanel_->adjustSize();
    printReadyPanel2_->adjustSize();
    const int secondLeft =
        std::max(kSecondPanelLeft, kFirstPanelLeft + printReadyPanel_->width() + kPanelGap);
    const QSize both(secondLeft - kFirstPanelLeft + printReadyPanel2_->width(),
                     std::max(printReadyPanel_->height(), printReadyPanel2_->height()));
    const QPoint first = clearOf(pictureInScrollBox(), both, scrollBox1_->viewport()->geometry(),
                                 visible + QPoint(kFirstPanelLeft, kPanelTop));
    printReadyPanel_->move(first);
    printReadyPanel2_->move(first + QPoint(secondLeft - kFirstPanelLeft, 0));
}

QRect EngravingPanels::pictureInScrollBox() const {
    if (!program_.image.holdsPicture())
        return {};
    return frameWithHandles(program_.image.placement())
        .translated(image1_->mapTo(scrollBox1_, QPoint(0, 0)));
}

void EngravingPanels::setPropertiesPanelVisible(bool visible) {
    printReadyPanel_->adjustSize();
    printReadyPanel_->setVisible(visible);
    printReadyPanel_->raise();
}

void EngravingPanels::setSecondPassPanelVisible(bool visible) {
    printReadyPanel2_->move(printReadyPanel2_->x(), printReadyPanel_->y());
    printReadyPanel2_->adjustSize();
    printReadyPanel2_->setVisible(visible);
    printReadyPanel2_->raise();
}

void EngravingPanels::showSecondPass(bool checked) {
    printReadyPanel_->secondWork()->setChecked(checked);
}

void EngravingPanels::showQuality(const QualityLook& look) {
    printReadyPanel_->showQuality(look);
    printReadyPanel2_->showQuality(look);
    qual1_->setChecked(look.qual1Checked);
    qual2_->setChecked(!look.qual1Checked);
}

void EngravingPanels::showPortrait(bool portrait) {
    printReadyPanel_->showPortrait(portrait);
}

} // namespace zuk
