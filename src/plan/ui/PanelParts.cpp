#include "plan/ui/PanelParts.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace zuk {

namespace {
constexpr qreal kSmallestPanelPoints = 7;
constexpr int kPanelMargin = 3;
constexpr int kPanelSpacing = 3;

QColor captionColour(const QWidget* widget, CaptionColour colour) {
    return colour == CaptionColour::Red ? QColor(Qt::red)
                                        : widget->palette().color(QPalette::Highlight);
}

void setCaptionColour(QRadioButton* button, CaptionColour colour) {
    QPalette palette = button->palette();
    const QColor text = captionColour(button, colour);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, text);
    button->setPalette(palette);
}
} // namespace

void useSmallPanelFont(QWidget* panel) {
    QFont font = panel->font();
    font.setPointSizeF(std::max(kSmallestPanelPoints, font.pointSizeF() - 1));
    panel->setFont(font);
}

QVBoxLayout* addPanelLayout(QWidget* panel) {
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(kPanelMargin, kPanelMargin, kPanelMargin, kPanelMargin);
    layout->setSpacing(kPanelSpacing);
    return layout;
}

void makePanelFrame(QFrame* frame, const char* objectName) {
    frame->setObjectName(QLatin1String(objectName));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Raised);
    frame->setAutoFillBackground(true);
    frame->setBackgroundRole(QPalette::Window);
}

QLabel* addLabel(QWidget* parent, QBoxLayout* layout, const char* objectName, const QString& text,
                 bool bold) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(objectName));
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    layout->addWidget(label);
    return label;
}

QPushButton* addButton(QWidget* parent, QBoxLayout* row, const char* objectName,
                       const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(objectName));
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

CancelWorkButtons addCancelWorkButtons(QWidget* parent, QBoxLayout* layout, const char* cancelName,
                                       const char* workName) {
    auto* row = new QHBoxLayout;
    CancelWorkButtons buttons;
    buttons.cancel = addButton(parent, row, cancelName, QStringLiteral("Отмена"));
    buttons.work = addButton(parent, row, workName, QStringLiteral("Работа"));
    layout->addLayout(row);
    return buttons;
}

void QualityButtons::show(const QualityLook& look) const {
    (look.highChecked ? high : standard)->setChecked(true);
    setCaptionColour(high, look.highColour);
    setCaptionColour(standard, look.standardColour);
}

QualityButtons addQualityChoice(QWidget* parent, QBoxLayout* layout, const QualityNames& names) {
    addLabel(parent, layout, names.caption, QStringLiteral("Качество гравирования"));
    QualityButtons buttons;
    buttons.high = new QRadioButton(QStringLiteral("Высокое   (односторонний проход)"), parent);
    buttons.high->setObjectName(QLatin1String(names.high));
    buttons.standard = new QRadioButton(QString::fromUtf8(names.standardText), parent);
    buttons.standard->setObjectName(QLatin1String(names.standard));
    buttons.standard->setChecked(true);
    layout->addWidget(buttons.high);
    layout->addWidget(buttons.standard);
    return buttons;
}

void addLevelHeader(QWidget* parent, QBoxLayout* layout, const LevelHeaderNames& names) {
    addLabel(parent, layout, names.levels, QStringLiteral("Уровни"), true);
    auto* row = new QHBoxLayout;
    addLabel(parent, row, names.brightness, QStringLiteral("Уровень яркости"));
    row->addStretch(1);
    addLabel(parent, row, names.force, QStringLiteral("Сила удара"));
    layout->addLayout(row);
}

} // namespace zuk
