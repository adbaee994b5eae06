#pragma once

#include "plan/ui/LevelControls.h"
#include "run/Interruption.h"

#include <QFrame>

class QPushButton;

namespace zuk {

// The panel STOP shows over the picture, hidden until then. Two halves side by side:
// - AbortWork1Panel, the first pass: "Работа прервана" (Label45), "Первый проход" (Label57),
//   TrackBar9..TrackBar12 with Label38, Label40, Label42, Label44, RadioButton3 (group) /
//   RadioButton4 (individual, preselected), "Продолжить работу" (Button27) and
//   "Завершить работу" (Button28);
// - AbortWork2Panel, the second pass: Label56, Label58, TrackBar13..TrackBar16 with Label49,
//   Label51, Label53, Label55, RadioButton7 / RadioButton8, Button30 and Button31.
// Both halves' buttons do the same: continueClicked() and finishClicked(). The level controls
// follow the level rules through EngravingPanels (moving "32" in group mode moves the
// others); their radio buttons only enable or disable the "24", "16" and "8" trackbars.
//
// STOP arranges the panel as stopClick() says: EngravingProperties::showAbortLayout() clicks
// the mode buttons and loads the trackbars, then applyLayout() places the panel at left 20,
// top 10 within the scroll box, shows its halves, enables the first and sets its width
// (20 + the first half, or 521 with both).
class AbortPanel : public QFrame {
    Q_OBJECT
public:
    // The width of each half, so that one half takes 20 more and both 521 in all.
    static constexpr int kHalfWidth = 250;
    static constexpr int kBothHalvesWidth = 521;

    explicit AbortPanel(QWidget* parent = nullptr);

    LevelControls& firstPass() { return *firstPass_; }
    LevelControls& secondPass() { return *secondPass_; }
    QFrame* firstHalf() const { return abortWork1Panel_; }
    QFrame* secondHalf() const { return abortWork2Panel_; }

    // Where STOP puts the panel within its parent.
    static constexpr QPoint kStopPosition{20, 10};

    // STOP: the panel placed, and when it is to be shown, the halves shown and enabled and
    // the width set, as the layout says.
    void applyLayout(const AbortPanelLayout& layout);

    // Moves the panel's top left corner within its parent.
    void placeAt(QPoint topLeft) { move(topLeft); }
    // Shows the panel with the chosen halves (hides it when neither is chosen).
    void showHalves(bool first, bool second);
    // The first half stays visible but takes no input while disabled.
    void setFirstHalfEnabled(bool enabled);
    int firstHalfWidth() const;
    void setPanelWidth(int width);
    // RadioButton3 (true) or RadioButton4 checked, as a click: the dependents follow.
    void checkFirstGroup(bool group) { firstPass_->checkGroup(group); }
    // RadioButton7 (true) or RadioButton8 checked, as a click.
    void checkSecondGroup(bool group) { secondPass_->checkGroup(group); }

signals:
    // "Продолжить работу" (Button27, Button30).
    void continueClicked();
    // "Завершить работу" (Button28, Button31).
    void finishClicked();

private:
    struct HalfNames;
    QFrame* buildHalf(const HalfNames& names, LevelControls*& levels);

    QFrame* abortWork1Panel_ = nullptr;
    QFrame* abortWork2Panel_ = nullptr;
    LevelControls* firstPass_ = nullptr;
    LevelControls* secondPass_ = nullptr;
};

} // namespace zuk
