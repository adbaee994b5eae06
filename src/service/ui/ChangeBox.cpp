#include "service/ui/ChangeBox.h"

#include "service/ui/PanelPlacement.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace zuk {

ChangeBox::ChangeBox(MoveChoices& choices, QWidget* parent)
    : QGroupBox(QStringLiteral("Перемещение"), parent), choices_(choices) {
    setObjectName(QStringLiteral("ChangeBox"));
    makeFloatingPanel(*this);
    auto* layout = new QVBoxLayout(this);

    auto* target = new QButtonGroup(this);
    marker_ = new QRadioButton(QStringLiteral("маркера"), this);
    marker_->setObjectName(QStringLiteral("Marker"));
    igla_ = new QRadioButton(QStringLiteral("иглы"), this);
    igla_->setObjectName(QStringLiteral("Igla"));
    (choices_.dragMarker ? marker_ : igla_)->setChecked(true);
    for (QRadioButton* radio : {marker_, igla_}) {
        target->addButton(radio);
        layout->addWidget(radio);
    }
    connect(marker_, &QRadioButton::toggled, this,
            [this](bool checked) { choices_.dragMarker = checked; });

    for (const char* text : {"    Игла    ", "перемещении"}) {
        auto* caption = new QLabel(QString::fromUtf8(text), this);
        caption->setAlignment(Qt::AlignHCenter);
        layout->addWidget(caption);
    }
    needle_.emplace(
        this, layout,
        std::array<NeedleChoiceButtons::Button, 3>{{{"AllUp", QStringLiteral("Поднята")},
                                                    {"UpMove", QStringLiteral("Поднята приl")},
                                                    {"AllDown", QStringLiteral("Опущена")}}},
        choices_.needle, [this](NeedleChoice choice) { choices_.needle = choice; });

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Ok"));
    connect(ok, &QPushButton::clicked, this, [this] { OkClick(); });
    // Escape closes it as "OK" does, wherever the focus is in the window, while it is shown.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this, this, [this] { OkClick(); });
    escape->setContext(Qt::WindowShortcut);
    layout->addWidget(ok);
    adjustSize();
    hide();
}

void ChangeBox::setNeedleControlsEnabled(bool enabled) {
    igla_->setEnabled(enabled);
    needle_->setEnabled(enabled);
}

} // namespace zuk
