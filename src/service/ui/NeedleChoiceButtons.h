#pragma once

#include "service/ManualMovement.h"

#include <QString>

#include <array>
#include <functional>

class QBoxLayout;
class QButtonGroup;
class QRadioButton;
class QWidget;

namespace zuk {

// The three radio buttons of a needle choice, one exclusive group, reporting the choice made.
class NeedleChoiceButtons {
public:
    struct Button {
        const char* objectName;
        QString text;
    };
    // The buttons for Raised, RaisedWhileMoving and Lowered, in this order.
    NeedleChoiceButtons(QWidget* parent, QBoxLayout* layout, const std::array<Button, 3>& buttons,
                        NeedleChoice initial, std::function<void(NeedleChoice)> chosen);

    // cppcheck-suppress CastIntegerToAddressAtReturn ; the element is a pointer: cppcheck
    // takes the array's {} initialiser for integers
    QRadioButton* button(NeedleChoice choice) const { return buttons_[int(choice)]; }
    void setEnabled(bool enabled);

private:
    std::array<QRadioButton*, 3> buttons_{};
};

} // namespace zuk
