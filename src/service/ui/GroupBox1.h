#pragma once

#include "service/ManualMovement.h"
#include "service/ui/NeedleChoiceButtons.h"

#include <QGroupBox>

#include <optional>

class QPushButton;

namespace zuk {

// The geometry panel "Перемещение инструмента на позицию": nine buttons that send the head
// to the corners, edge middles and centre of the placed picture, the needle choice for these
// moves, "Обвести рамку" and "Завершить".
class GroupBox1 : public QGroupBox {
    Q_OBJECT
public:
    explicit GroupBox1(MoveChoices& choices, QWidget* parent = nullptr);

    // `Button7` .. `Button15` in the order of the handles 1 .. 9.
    // cppcheck-suppress CastIntegerToAddressAtReturn ; the element is a pointer: cppcheck
    // takes the array's {} initialiser for integers
    QPushButton* positionButton(int handle) const { return positions_[handle - 1]; }

signals:
    // One of the nine buttons: the handle 1 .. 9 it sends the head to.
    void positionClicked(int handle);
    // "Завершить" (`Button16`).
    void finishClicked();
    // "Обвести рамку" (`FrameTraceButton`).
    void frameTraceClicked();

private:
    MoveChoices& choices_;
    std::array<QPushButton*, 9> positions_{};
    std::optional<NeedleChoiceButtons> needle_;
};

} // namespace zuk
