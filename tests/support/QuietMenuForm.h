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

} // namespace zuk::test
