#include "run/ui/TForm1.h"

#include "app/Language.h"
#include "app/Texts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zuk {

TForm1::TForm1(const Texts& texts, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Внимание !"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint);
    auto* layout = new QVBoxLayout(this);

    auto* label1 = new QLabel(QStringLiteral("Предидущая работа не  завершена !"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setStyleSheet(QStringLiteral("color: red; font-size: 16pt; font-weight: bold;"));
    layout->addWidget(label1);
    auto* label2 = new QLabel(QStringLiteral("Какие дейсвия предпринять ?  "), this);
    label2->setObjectName(QStringLiteral("Label2"));
    layout->addWidget(label2);

    okButton_ = new QRadioButton(QStringLiteral("Завершить незавершенный проект."), this);
    okButton_->setObjectName(QStringLiteral("OkButton"));
    okButton_->setChecked(true);
    layout->addWidget(okButton_);
    auto* warmUpRow = new QHBoxLayout;
    auto* label19 = new QLabel(QStringLiteral("Предварительный разогрев"), this);
    label19->setObjectName(QStringLiteral("Label19"));
    warmUpRow->addSpacing(24);
    warmUpRow->addWidget(label19);
    spinEdit4_ = new QSpinBox(this);
    spinEdit4_->setObjectName(QStringLiteral("SpinEdit4"));
    spinEdit4_->setRange(0, 5);
    spinEdit4_->setValue(3);
    warmUpRow->addWidget(spinEdit4_);
    warmUpRow->addStretch(1);
    layout->addLayout(warmUpRow);

    ignoreButton_ = new QRadioButton(
        QStringLiteral("Игнороировать незавершенную работу.(Удалить аварийные данные и "
                       "продолжить нормальную работу)"),
        this);
    ignoreButton_->setObjectName(QStringLiteral("IgnoreButton"));
    layout->addWidget(ignoreButton_);

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignHCenter);

    applyLanguageCaptions(texts, LanguageWindow::Form1, this);
}

RecoveryChoice TForm1::currentChoice() const {
    return RecoveryChoice{okButton_->isChecked(), spinEdit4_->value()};
}

RecoveryChoice TForm1::choose() {
    // Only "Ok" acts on the choice its buttons hold; Escape or closing the dialog leaves the
    // job pending.
    const bool accepted = exec() == QDialog::Accepted;
    RecoveryChoice choice = currentChoice();
    choice.answered = accepted;
    return choice;
}

} // namespace zuk
