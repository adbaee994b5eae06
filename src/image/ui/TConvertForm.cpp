#include "image/ui/TConvertForm.h"

#include "app/Texts.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zuk {

TConvertForm::TConvertForm(const Texts& texts, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ConvertForm"));
    setWindowTitle(QStringLiteral("ConvertForm"));
    setModal(true);

    auto* panel = new QGroupBox(this);
    panel->setObjectName(QStringLiteral("ConvertPanel"));
    auto* heading = new QLabel(
        texts.language(111, QStringLiteral("Варианты преобразования изображения")), panel);
    heading->setObjectName(QStringLiteral("Label9"));
    combinedButton_ = new QRadioButton(
        texts.language(211, QStringLiteral("Комбинированный (улучшенный)")), panel);
    combinedButton_->setObjectName(QStringLiteral("RadioButton3"));
    combinedButton_->setChecked(true);
    simpleButton_ =
        new QRadioButton(texts.language(311, QStringLiteral("Диффузионный (простой)")), panel);
    simpleButton_->setObjectName(QStringLiteral("RadioButton4"));

    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(heading);
    panelLayout->addWidget(combinedButton_);
    panelLayout->addWidget(simpleButton_);

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TConvertForm::Button1Click);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}

void TConvertForm::Button1Click() {
    accept();
}

std::optional<ConversionVariant> TConvertForm::choose() {
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return combinedButton_->isChecked() ? ConversionVariant::Combined : ConversionVariant::Simple;
}

} // namespace zuk
