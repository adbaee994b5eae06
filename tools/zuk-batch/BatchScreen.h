#pragma once

#include "app/Screen.h"

#include <QTextStream>

namespace zuk::batch {

// The screen of a job run without a window: the dialogs are answered as the operator chose
// on the command line, message boxes and the advice dialog go to the error stream, and the
// rest of what a window would show is not needed.
class BatchScreen final : public Screen {
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
    void enterMenuState(MenuState, bool) override {}
    void setCursor(CursorShape) override {}
    void beep() override {}
    void setStatusLine(const QString&) override {}
    void setGauge(int, int) override {}
    void setField(Field, const QString&) override {}
    // Lets a termination signal arrive while a long operation (the plan build) runs.
    void processEvents() override;
    RecoveryChoice askRecoveryChoice() override { return recovery; }
    std::optional<ConversionVariant> askConversionVariant() override { return variant; }
    QString askPictureToOpen() override { return picture; }
    QString askPictureSaveName() override { return {}; }
    ResolutionChoice askResolutionAndPlacement() override { return resolution; }
    void setCaption(const QString&) override {}
    void showFieldView(const QImage&) override {}
    void scrollFieldViewTo(const QRect&) override {}
    void showChangeBox(QPoint) override {}
    // Time estimate of a job: the tool prints its own figures.
    void setJobTimes(const QString&, const QString&) override {}
    // Engraving run
    void showFieldViewPart(const QImage&, const QRect&) override {}
    void showFaultAdvice() override;
    void showStopEntry() override {}
    // Live progress of a run: the tool prints its own progress.
    void showRunProgress(const RunProgressFigures&) override {}

private:
    QTextStream& err_;
    int messages_ = 0;
    int faultAdvices_ = 0;
};

} // namespace zuk::batch
