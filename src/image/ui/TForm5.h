#pragma once

#include "image/DialogChoices.h"

#include <QDialog>

class QComboBox;

namespace zuk {

class Texts;

// The resolution and placement dialog ("Portret_Properties"): the density list and nine
// buttons that place the picture on the working field and close the dialog. Created once at
// start-up; it keeps its selected line from one showing to the next.
class TForm5 : public QDialog {
    Q_OBJECT
public:
    // Creates the dialog and runs FormCreate with the resolution index from the configuration.
    TForm5(const Texts& texts, int resolution, QWidget* parent = nullptr);

    // Shows the dialog modally and reports the line selected when it closed and the placement
    // button that closed it (0 when it was closed another way).
    ResolutionChoice choose();

    // The resolution index as the dialog last set it.
    int resolution() const { return resolution_; }

private:
    void FormCreate(const Texts& texts, int resolution);
    void ResolutionBoxChange();
    void FormClose();
    void placementClick(int button);
    int selectedLine() const;
    void done(int result) override;

    QComboBox* resolutionBox_ = nullptr;
    int resolution_ = 0;
    int placementButton_ = 0;
};

} // namespace zuk
