#pragma once

#include "app/QuietScreen.h"

#include <QTextStream>

namespace zuk::batch {

// The screen of a job run without a window: the dialogs are answered as the operator chose
// on the command line, message boxes and the advice dialog go to the error stream, and the
// rest of what a window would show is not needed (the tool prints its own figures).
class BatchScreen final : public QuietScreen {
public:
    explicit BatchScreen(QTextStream& err) : err_(err) {}

    // The operator's answers.
    std::optional<ConversionVariant> variant;
    QString picture;
    ResolutionChoice resolution;
    RecoveryChoice recovery;

    // How many message boxes and advice dialogs were shown.
    int messages() const { return messages_; }
    bool faultAdviceShown() const { return faultAdvices_ > 0; }

    void showMessage(MessageKind kind, const QString& text) override;
    // Lets a termination signal arrive while a long operation (the plan build) runs.
    void processEvents() override;
    RecoveryChoice askRecoveryChoice() override { return recovery; }
    std::optional<ConversionVariant> askConversionVariant() override { return variant; }
    QString askPictureToOpen() override { return picture; }
    ResolutionChoice askResolutionAndPlacement() override { return resolution; }
    // Engraving run
    void showFaultAdvice() override;

private:
    QTextStream& err_;
    int messages_ = 0;
    int faultAdvices_ = 0;
};

} // namespace zuk::batch
