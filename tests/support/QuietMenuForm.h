#pragma once

#include "app/ui/TMenuForm.h"

#include <QStringList>

#include <vector>

namespace zuk::test {

// The main window with its modal boxes kept instead of shown: message texts and kinds are
// recorded and the advice dialog is counted.
class QuietMenuForm : public TMenuForm {
public:
    using TMenuForm::TMenuForm;
    void showMessage(MessageKind kind, const QString& text) override {
        messages << text;
        messageKinds.push_back(kind);
    }
    void showFaultAdvice() override { ++advices; }

    QStringList messages;
    std::vector<MessageKind> messageKinds;
    int advices = 0;
};

} // namespace zuk::test
