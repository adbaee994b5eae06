#pragma once

#include "app/Screen.h"

#include <QString>

namespace zuk {

// A screen that shows nothing and answers every dialog as if it had been cancelled, for
// programs without a window (the preview's own program, headless tools). Implementations
// override what they do show or answer.
class QuietScreen : public Screen {
public:
    void showMessage(MessageKind, const QString&) override {}
    void showMenus(const MenuLook&) override {}
    void setCursor(CursorShape) override {}
    void beep() override {}
    void setStatusLine(const QString&) override {}
    void setGauge(int, int) override {}
    void setField(Field, const QString&) override {}
    void processEvents() override {}
    RecoveryChoice askRecoveryChoice() override { return {false, 0, false}; }
    std::optional<ConversionVariant> askConversionVariant() override { return std::nullopt; }
    QString askPictureToOpen() override { return {}; }
    QString askPictureSaveName() override { return {}; }
    ResolutionChoice askResolutionAndPlacement() override { return {}; }
    std::optional<PreparationChoices> askPreparation(PreparationPreview&,
                                                     const PreparationChoices&) override {
        return std::nullopt;
    }
    void setCaption(const QString&) override {}
    void showFieldView(const QImage&) override {}
    void scrollFieldViewTo(const QRect&) override {}
    void showChangeBox(QPoint) override {}
    // Time estimate of a job
    void setJobTimes(const QString&, const QString&) override {}
    // Engraving run
    void showFieldViewPart(const QImage&, const QRect&) override {}
    void showFaultAdvice() override {}
    // Live progress of a run
    void showRunProgress(const RunProgressFigures&) override {}
    // Preview
    void showJobPreview(const JobPreview&) override {}
};

} // namespace zuk
