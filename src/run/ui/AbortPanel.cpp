#include "run/ui/AbortPanel.h"

#include "plan/ui/PanelParts.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace zuk {

struct AbortPanel::HalfNames {
    const char* frame;
    const char* interrupted;
    const char* pass;
    QString passText;
    LevelControlNames levels;
    const char* continueButton;
    const char* finishButton;
};

namespace {
// The margins and the gap that make one half plus 20 and both halves 521 pixels wide.
constexpr int kSideMargin = 10;
constexpr int kGap = AbortPanel::kBothHalvesWidth - 2 * AbortPanel::kHalfWidth - 2 * kSideMargin;
} // namespace

AbortPanel::AbortPanel(QWidget* parent) : QFrame(parent) {
    makePanelFrame(this, "AbortPanel");
    useSmallPanelFont(this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kSideMargin, kSideMargin, kSideMargin, kSideMargin);
    layout->setSpacing(kGap);
    abortWork1Panel_ = buildHalf({"AbortWork1Panel",
                                  "Label45",
                                  "Label57",
                                  QStringLiteral("Первый проход"),
                                  {{"TrackBar9", "TrackBar10", "TrackBar11", "TrackBar12"},
                                   {"Label38", "Label40", "Label42", "Label44"},
                                   "RadioButton3",
                                   "RadioButton4",
                                   1,
                                   false},
                                  "Button27",
                                  "Button28"},
                                 firstPass_);
    abortWork2Panel_ = buildHalf({"AbortWork2Panel",
                                  "Label56",
                                  "Label58",
                                  QStringLiteral("Второй проход"),
                                  {{"TrackBar13", "TrackBar14", "TrackBar15", "TrackBar16"},
                                   {"Label49", "Label51", "Label53", "Label55"},
                                   "RadioButton7",
                                   "RadioButton8",
                                   1,
                                   false},
                                  "Button30",
                                  "Button31"},
                                 secondPass_);
    layout->addWidget(abortWork1Panel_, 0, Qt::AlignTop);
    layout->addWidget(abortWork2Panel_, 0, Qt::AlignTop);
    hide();
}

QFrame* AbortPanel::buildHalf(const HalfNames& names, LevelControls*& levels) {
    auto* half = new QFrame(this);
    makePanelFrame(half, names.frame);
    half->setFixedWidth(kHalfWidth);
    auto* layout = addPanelLayout(half);
    addLabel(half, layout, names.interrupted, QStringLiteral("Работа прервана"), true);
    addLabel(half, layout, names.pass, names.passText);
    levels = new LevelControls(names.levels, half);
    layout->addWidget(levels);
    auto* buttons = new QVBoxLayout;
    QPushButton* continueButton =
        addButton(half, buttons, names.continueButton, QStringLiteral("Продолжить работу"));
    QPushButton* finishButton =
        addButton(half, buttons, names.finishButton, QStringLiteral("Завершить работу"));
    layout->addLayout(buttons);
    connect(continueButton, &QPushButton::clicked, this, &AbortPanel::continueClicked);
    connect(finishButton, &QPushButton::clicked, this, &AbortPanel::finishClicked);
    half->hide();
    return half;
}

void AbortPanel::applyLayout(const AbortPanelLayout& layout) {
    placeAt(kStopPosition);
    if (!layout.shown)
        return;
    showHalves(true, layout.secondHalfShown);
    setFirstHalfEnabled(layout.firstHalfEnabled);
    setPanelWidth(layout.width(firstHalfWidth()));
}

void AbortPanel::showHalves(bool first, bool second) {
    abortWork1Panel_->setVisible(first);
    abortWork2Panel_->setVisible(second);
    setVisible(first || second);
    if (isVisible())
        raise();
}

void AbortPanel::setFirstHalfEnabled(bool enabled) {
    abortWork1Panel_->setEnabled(enabled);
}

int AbortPanel::firstHalfWidth() const {
    return abortWork1Panel_->width();
}

void AbortPanel::setPanelWidth(int width) {
    setFixedWidth(width);
    adjustSize();
}

} // namespace zuk
