#pragma once

#include "plan/EngravingProperties.h"

#include <QString>

class QBoxLayout;
class QVBoxLayout;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

namespace zuk {

// Pieces the engraving panels and the abort panel share. Every control gets the object name
// the language file and the handlers know it by.

// A raised, opaque panel drawn over the picture.
void makePanelFrame(QFrame* frame, const char* objectName);
// The panels over the picture use a font one point smaller than the window's, laid out
// closely, so that they fit side by side as designed.
void useSmallPanelFont(QWidget* panel);
QVBoxLayout* addPanelLayout(QWidget* panel);

// A label; `bold` for a panel's title.
QLabel* addLabel(QWidget* parent, QBoxLayout* layout, const char* objectName, const QString& text,
                 bool bold = false);

// A push button in a row of buttons.
QPushButton* addButton(QWidget* parent, QBoxLayout* row, const char* objectName,
                       const QString& text);

// "Отмена" and "Работа" side by side at the foot of a properties panel.
struct CancelWorkButtons {
    QPushButton* cancel = nullptr;
    QPushButton* work = nullptr;
};
CancelWorkButtons addCancelWorkButtons(QWidget* parent, QBoxLayout* layout, const char* cancelName,
                                       const char* workName);

// The quality choice of a properties panel: its caption and the two radio buttons, "Стандарт"
// checked as designed.
struct QualityButtons {
    QRadioButton* high = nullptr;
    QRadioButton* standard = nullptr;
    // Checks one pair and gives the captions their colours.
    void show(const QualityLook& look) const;
};
struct QualityNames {
    const char* caption;
    const char* high;
    const char* standard;
    const char* standardText; // the two panels space "Стандарт" differently
};
QualityButtons addQualityChoice(QWidget* parent, QBoxLayout* layout, const QualityNames& names);

// The header of a level table: "Уровни", then "Уровень яркости" over the level names and
// "Сила удара" over the trackbars.
struct LevelHeaderNames {
    const char* levels;
    const char* brightness;
    const char* force;
};
void addLevelHeader(QWidget* parent, QBoxLayout* layout, const LevelHeaderNames& names);

} // namespace zuk
