#include "service/ui/GroupBox1.h"

#include "service/ui/PanelPlacement.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zuk {

namespace {
// The buttons' captions by handle, row by row.
constexpr std::array kPositionCaptions{
    "LeftTop",      "Middle Top",  "Right Top",    "Left Middle",  "Middle Middle",
    "Right Middle", "Left Bottom", "Midle Bottom", "Right Bottom",
};
constexpr int kFirstPositionButton = 7;
} // namespace

GroupBox1::GroupBox1(MoveChoices& choices, QWidget* parent) : QGroupBox(parent), choices_(choices) {
    setObjectName(QStringLiteral("GroupBox1"));
    makeFloatingPanel(*this);
    auto* layout = new QVBoxLayout(this);

    auto* heading = new QLabel(QStringLiteral("Перемещение инструмента на позицию"), this);
    heading->setObjectName(QStringLiteral("Label4"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);

    auto* grid = new QGridLayout;
    for (int handle = 1; handle <= ManualMovement::kHandles; ++handle) {
        auto* button = new QPushButton(QLatin1String(kPositionCaptions[handle - 1]), this);
        button->setObjectName(QStringLiteral("Button%1").arg(kFirstPositionButton + handle - 1));
        connect(button, &QPushButton::clicked, this,
                [this, handle] { emit positionClicked(handle); });
        grid->addWidget(button, (handle - 1) / 3, (handle - 1) % 3);
        positions_[handle - 1] = button;
    }
    layout->addLayout(grid);

    needle_.emplace(this, layout,
                    std::array<NeedleChoiceButtons::Button, 3>{
                        {{"AllUp1", QStringLiteral("Игла всегда поднята.")},
                         {"UpMove1", QStringLiteral("Игла поднята при перемещении.")},
                         {"AllDown1", QStringLiteral("Игла скользит по плоскости.")}}},
                    choices_.geometryNeedle,
                    [this](NeedleChoice choice) { choices_.geometryNeedle = choice; });

    auto* buttons = new QHBoxLayout;
    auto* frame = new QPushButton(QStringLiteral("Обвести рамку"), this);
    frame->setObjectName(QStringLiteral("FrameTraceButton"));
    connect(frame, &QPushButton::clicked, this, &GroupBox1::frameTraceClicked);
    buttons->addWidget(frame);
    buttons->addStretch(1);
    auto* finish = new QPushButton(QStringLiteral("Завершить"), this);
    finish->setObjectName(QStringLiteral("Button16"));
    connect(finish, &QPushButton::clicked, this, &GroupBox1::finishClicked);
    buttons->addWidget(finish);
    layout->addLayout(buttons);
    adjustSize();
    hide();
}

} // namespace zuk
