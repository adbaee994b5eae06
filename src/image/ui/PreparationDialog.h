#pragma once

#include "image/PreparationChoices.h"

#include <QDialog>
#include <QTimer>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSlider;
class QSpinBox;

namespace zuk {

class PicturePane;
class PreparationPreview;

// "Подготовка рисунка": the picture as read beside the dots it gives with the choices on the
// right, the dots made anew (by PreparationPreview, exactly as the open converts) whenever a
// choice changes, so they follow a slider. A crop is typed or dragged with the mouse on the
// picture. "Сбросить" returns every choice to no preparation; "OK" is refused while the
// choices cannot prepare the picture (the reason is shown under the choices).
class PreparationDialog : public QDialog {
    Q_OBJECT
public:
    PreparationDialog(PreparationPreview& preview, const PreparationChoices& choices,
                      QWidget* parent = nullptr);

    // The choices as the controls show them.
    PreparationChoices choices() const;
    // Shows these choices; the dots follow once events are handled.
    void showChoices(const PreparationChoices& choices);
    // The line under the choices: the prepared size, or why the picture cannot be prepared.
    QString statusText() const;

private:
    QWidget* buildPanes();
    QWidget* buildChoices();
    void buildReshaping(QFormLayout* form);
    QGroupBox* buildCrop();
    void buildShading(QFormLayout* form);
    QWidget* buildButtons();
    void showCrop(const PreparationChoices& choices);
    void watch(QObject* control);
    void redrawSoon();
    void redraw();
    void cropDrawn(const QRect& area);
    void showActualSize(bool actual);

    PreparationPreview& preview_;
    QTimer redrawTimer_;
    PicturePane* originalPane_ = nullptr;
    PicturePane* dotsPane_ = nullptr;
    QScrollArea* originalArea_ = nullptr;
    QScrollArea* dotsArea_ = nullptr;
    QSpinBox* width_ = nullptr;
    QSpinBox* height_ = nullptr;
    QComboBox* rotation_ = nullptr;
    QCheckBox* mirrorLeftRight_ = nullptr;
    QCheckBox* mirrorTopBottom_ = nullptr;
    QGroupBox* crop_ = nullptr;
    QSpinBox* cropX_ = nullptr;
    QSpinBox* cropY_ = nullptr;
    QSpinBox* cropWidth_ = nullptr;
    QSpinBox* cropHeight_ = nullptr;
    QComboBox* gray_ = nullptr;
    QSpinBox* brightness_ = nullptr;
    QSpinBox* contrast_ = nullptr;
    QDoubleSpinBox* gamma_ = nullptr;
    QCheckBox* invert_ = nullptr;
    QDoubleSpinBox* sharpenAmount_ = nullptr;
    QDoubleSpinBox* sharpenRadius_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* ok_ = nullptr;
};

} // namespace zuk
