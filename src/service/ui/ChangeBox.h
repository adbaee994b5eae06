#pragma once

#include "service/ManualMovement.h"
#include "service/ui/NeedleChoiceButtons.h"

#include <QGroupBox>

#include <optional>

class QRadioButton;

namespace zuk {

// "Перемещение": the small panel shown on the picture by a right press on a handle. It
// chooses what a drag of a handle does (`Marker` moves the picture, `Igla` lets a double
// click send the head to the handle) and what the needle does during moves from the field.
class ChangeBox : public QGroupBox {
    Q_OBJECT
public:
    explicit ChangeBox(MoveChoices& choices, QWidget* parent = nullptr);

    // The needle controls `Igla`, `AllUp`, `UpMove` and `AllDown`, off while the link is lost.
    void setNeedleControlsEnabled(bool enabled);

private:
    void OkClick() { hide(); }

    MoveChoices& choices_;
    QRadioButton* marker_ = nullptr;
    QRadioButton* igla_ = nullptr;
    std::optional<NeedleChoiceButtons> needle_;
};

} // namespace zuk
