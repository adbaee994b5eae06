#pragma once

#include "app/Screen.h"

#include <QDialog>

class QRadioButton;
class QSpinBox;

namespace zuk {

class Texts;

// "Внимание !": the previous job did not end; finish it (after a warm-up) or ignore it.
class TForm1 : public QDialog {
    Q_OBJECT
public:
    explicit TForm1(const Texts& texts, QWidget* parent = nullptr);

    // Shows the dialog modally and returns the operator's choice; not answered unless "Ok"
    // closed it.
    RecoveryChoice choose();
    // The choice the dialog's controls hold now.
    RecoveryChoice currentChoice() const;

private:
    QRadioButton* okButton_ = nullptr;
    QRadioButton* ignoreButton_ = nullptr;
    QSpinBox* spinEdit4_ = nullptr;
};

} // namespace zuk
