#include "service/ui/NeedleChoiceButtons.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QRadioButton>

namespace zuk {

NeedleChoiceButtons::NeedleChoiceButtons(QWidget* parent, QBoxLayout* layout,
                                         const std::array<Button, 3>& buttons, NeedleChoice initial,
                                         std::function<void(NeedleChoice)> chosen) {
    auto* group = new QButtonGroup(parent);
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(buttons[i].text, parent);
        radio->setObjectName(QLatin1String(buttons[i].objectName));
        radio->setChecked(i == int(initial));
        group->addButton(radio, i);
        layout->addWidget(radio);
        buttons_[i] = radio;
    }
    QObject::connect(group, &QButtonGroup::idToggled, parent,
                     [chosen = std::move(chosen)](int id, bool checked) {
                         if (checked)
                             chosen(static_cast<NeedleChoice>(id));
                     });
}

void NeedleChoiceButtons::setEnabled(bool enabled) {
    for (QRadioButton* radio : buttons_)
        radio->setEnabled(enabled);
}

} // namespace zuk
