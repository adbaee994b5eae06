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
    // "Подготовка рисунка" closed without "OK": the preparation stays as it is.
    std::optional<PreparationChoices> askPreparation(PreparationPreview&,
                                                     const PreparationChoices&) override {
        return std::nullopt;
    }

    QStringList messages;
    std::vector<MessageKind> messageKinds;
    int advices = 0;
};

// The quiet main window with its picture dialogs answered as the test sets them: the
// conversion variant, the picture file and the placement button (1..9) at the first resolution.
class AnsweringMenuForm : public QuietMenuForm {
public:
    using QuietMenuForm::QuietMenuForm;
    std::optional<ConversionVariant> askConversionVariant() override { return variant; }
    QString askPictureToOpen() override { return picture; }
    ResolutionChoice askResolutionAndPlacement() override { return {0, placementButton}; }

    ConversionVariant variant = ConversionVariant::Combined;
    QString picture;
    int placementButton = 5;
};

} // namespace zuk::test
