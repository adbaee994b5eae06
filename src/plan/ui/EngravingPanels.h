#pragma once

#include "plan/EngravingProperties.h"

#include <QObject>

#include <memory>

class QAction;
class QScrollArea;
class QWidget;

namespace zuk {

class AbortPanel;
class LevelControls;
class PrintReadyPanel;
class PrintReadyPanel_2;
class Program;

// The engraving panels of the main window: the properties panels "Свойства гравирования" and
// "Второй проход" and the abort panel, hidden children of the scroll box that holds the
// picture. It shows what the handlers of EngravingProperties decide and hands them the
// operator's moves; the buttons "Отмена" and "Работа" of both panels are reported to the
// window, and so is STOP's layout of the abort panel (showAbortLayout).
class EngravingPanels final : public QObject, public PropertiesView {
    Q_OBJECT
public:
    EngravingPanels(Program& program, QScrollArea* scrollBox1, QWidget* image1, QAction* qual1,
                    QAction* qual2);
    ~EngravingPanels() override;

    EngravingProperties& properties() { return *properties_; }
    PrintReadyPanel& printReadyPanel() { return *printReadyPanel_; }
    PrintReadyPanel_2& printReadyPanel2() { return *printReadyPanel2_; }
    AbortPanel& abortPanel() { return *abortPanel_; }
    LevelControls& levelControls(LevelSet set);
    // STOP: the abort panel's level controls as the core sets them, then the panel placed,
    // its halves shown and its width set, as the layout says.
    void showAbortLayout(const AbortPanelLayout& layout);

    // --- PropertiesView ---
    void showLevelControls(LevelSet set, const LevelControlsState& shown) override;
    void placePropertiesPanels() override;
    void setPropertiesPanelVisible(bool visible) override;
    void setSecondPassPanelVisible(bool visible) override;
    void showSecondPass(bool checked) override;
    void showQuality(const QualityLook& look) override;
    void showPortrait(bool portrait) override;

signals:
    // "Отмена" (BitBtn1, BitBtn2).
    void cancelClicked();
    // "Работа" (Button17, Button19).
    void workClicked();

private:
    void connectLevelControls(LevelSet set);
    void connectPropertiesPanels();
    // The placed picture with its handles, in the scroll box's coordinates; empty without one.
    QRect pictureInScrollBox() const;

    const Program& program_;
    QScrollArea* scrollBox1_;
    QWidget* image1_;
    QAction* qual1_;
    QAction* qual2_;
    PrintReadyPanel* printReadyPanel_;
    PrintReadyPanel_2* printReadyPanel2_;
    AbortPanel* abortPanel_;
    std::unique_ptr<EngravingProperties> properties_;
};

} // namespace zuk
