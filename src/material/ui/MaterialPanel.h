#pragma once

#include "material/MaterialChoice.h"

#include <QFrame>

class QComboBox;
class QPushButton;

namespace zuk {

class EngravingPanels;

// "Материал" on the properties panel "Свойства гравирования": the list of material profiles
// (MaterialBox), "Сохранить как…" (MaterialSave) and "Удалить" (MaterialDelete). Choosing a
// profile fills the panels through MaterialChoice; the list is read anew whenever the panel
// is shown.
class MaterialPanel : public QFrame {
    Q_OBJECT
public:
    MaterialPanel(Program& program, EngravingProperties& properties, QWidget* parent);

    QComboBox* box() const { return box_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* deleteButton() const { return delete_; }

    // The list read anew, `current` chosen in it when it is there.
    void refresh(const QString& current = {});
    void chooseClicked(const QString& name);
    void saveClicked();
    void deleteClicked();

protected:
    void showEvent(QShowEvent* event) override;
    // The name to save under, starting from `suggested`; empty when cancelled.
    virtual QString askName(const QString& suggested);
    virtual bool confirmDelete(const QString& name);

private:
    MaterialChoice choice_;
    QComboBox* box_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* delete_ = nullptr;
};

// Puts "Материал" at the foot of the properties panel of the window's engraving panels.
MaterialPanel* addMaterialPanel(Program& program, EngravingPanels& panels);

} // namespace zuk
