#pragma once

#include "app/ui/TMenuForm.h"

#include <QStringList>

namespace zuk::test {

// The main window with its modal boxes kept instead of shown: message texts are recorded and
// the advice dialog is counted.
class QuietMenuForm : public TMenuForm {
public:
    using TMenuForm::TMenuForm;
    void showMessage(const QString& text) override { messages << text; }
    void showFaultAdvice() override { ++advices; }

    QStringList messages;
    int advices = 0;
};

// The quiet window whose picture dialogs the operator answers: the combined variant, the
// picture at `picture`, density line 0 and "Center Center".
class OpeningMenuForm : public QuietMenuForm {
public:
    using QuietMenuForm::QuietMenuForm;
    std::optional<ConversionVariant> askConversionVariant() override {
        return ConversionVariant::Combined;
    }
    QString askPictureToOpen() override { return picture; }
    ResolutionChoice askResolutionAndPlacement() override { return {0, 5}; }

    QString picture;
};

} // namespace zuk::test
