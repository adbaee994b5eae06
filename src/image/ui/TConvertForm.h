#pragma once

#include "image/DialogChoices.h"

#include <QDialog>

#include <optional>

class QRadioButton;

namespace zuk {

class Texts;

// The conversion-variant dialog ("ConvertForm"), shown before every picture is opened. It is
// created once and keeps its radio buttons from one showing to the next.
class TConvertForm : public QDialog {
    Q_OBJECT
public:
    explicit TConvertForm(const Texts& texts, QWidget* parent = nullptr);

    // Shows the dialog modally: the variant checked when "Ok" was pressed, nothing when the
    // dialog was closed another way.
    std::optional<ConversionVariant> choose();

private:
    void Button1Click();

    QRadioButton* combinedButton_ = nullptr;
    QRadioButton* simpleButton_ = nullptr;
};

} // namespace zuk
