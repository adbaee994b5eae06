#include "material/ui/MaterialPanel.h"

#include "plan/ui/EngravingPanels.h"
#include "plan/ui/PanelParts.h"
#include "plan/ui/PrintReadyPanel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace zuk {

MaterialPanel::MaterialPanel(Program& program, EngravingProperties& properties, QWidget* parent)
    : QFrame(parent), choice_(program, properties) {
    makePanelFrame(this, "MaterialPanel");
    auto* layout = addPanelLayout(this);
    auto* row = new QHBoxLayout;
    layout->addLayout(row);
    addLabel(this, row, "MaterialLabel", QStringLiteral("Материал"));
    box_ = new QComboBox(this);
    box_->setObjectName(QStringLiteral("MaterialBox"));
    box_->setPlaceholderText(QStringLiteral("(не выбран)"));
    box_->setMinimumContentsLength(14);
    row->addWidget(box_, 1);
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    save_ = addButton(this, buttons, "MaterialSave", QStringLiteral("Сохранить как…"));
    delete_ = addButton(this, buttons, "MaterialDelete", QStringLiteral("Удалить"));
    connect(box_, &QComboBox::activated, this,
            [this](int index) { chooseClicked(box_->itemText(index)); });
    connect(save_, &QPushButton::clicked, this, &MaterialPanel::saveClicked);
    connect(delete_, &QPushButton::clicked, this, &MaterialPanel::deleteClicked);
}

void MaterialPanel::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    refresh(box_->currentText());
}

void MaterialPanel::refresh(const QString& current) {
    const QSignalBlocker blocker(box_);
    box_->clear();
    box_->addItems(choice_.names());
    box_->setCurrentIndex(box_->findText(current));
    delete_->setEnabled(box_->currentIndex() >= 0);
}

void MaterialPanel::chooseClicked(const QString& name) {
    if (!choice_.choose(name))
        refresh();
    delete_->setEnabled(box_->currentIndex() >= 0);
}

void MaterialPanel::saveClicked() {
    const QString name = askName(box_->currentText()).trimmed();
    if (name.isEmpty())
        return;
    choice_.saveAs(name);
    refresh(name);
}

void MaterialPanel::deleteClicked() {
    const QString name = box_->currentText();
    if (name.isEmpty() || !confirmDelete(name))
        return;
    choice_.remove(name);
    refresh();
}

MaterialPanel* addMaterialPanel(Program& program, EngravingPanels& panels) {
    PrintReadyPanel& properties = panels.printReadyPanel();
    auto* material = new MaterialPanel(program, panels.properties(), &properties);
    properties.addFootRow(material);
    return material;
}

QString MaterialPanel::askName(const QString& suggested) {
    return QInputDialog::getText(this, QStringLiteral("Сохранить материал"),
                                 QStringLiteral("Имя материала:"), QLineEdit::Normal, suggested);
}

bool MaterialPanel::confirmDelete(const QString& name) {
    return QMessageBox::question(this, QStringLiteral("Удалить материал"),
                                 QStringLiteral("Удалить материал \"%1\"?").arg(name)) ==
           QMessageBox::Yes;
}

} // namespace zuk
