#include "image/ui/TForm5.h"

#include "app/Texts.h"
#include "image/Placement.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace zuk {
namespace {

// The placement buttons are designed 73 × 73; they grow, all nine alike, where the font
// needs more room for a caption such as "Center Bottom".
constexpr int kButtonSide = 73;

void makeEqualSquares(const std::array<QPushButton*, 9>& buttons) {
    int side = kButtonSide;
    for (const QPushButton* button : buttons)
        side = std::max({side, button->sizeHint().width(), button->sizeHint().height()});
    for (QPushButton* button : buttons)
        button->setFixedSize(side, side);
}

const char* const kPlacementCaptions[9] = {
    "Left Top",     "Center Top",  "Right Top",     "Left Center",  "Center Center",
    "Right Center", "Left Bottom", "Center Bottom", "Right Bottom",
};

} // namespace

TForm5::TForm5(const Texts& texts, int resolution, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Portret_Properties"));
    setWindowFlag(Qt::Tool);
    setModal(true);

    auto* label1 = new QLabel(QStringLiteral("Разрешение (плотность точек) "), this);
    label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = label1->font();
    bold.setBold(true);
    label1->setFont(bold);

    resolutionBox_ = new QComboBox(this);
    resolutionBox_->setObjectName(QStringLiteral("ResolutionBox"));
    resolutionBox_->setEditable(true);
    resolutionBox_->setInsertPolicy(QComboBox::NoInsert);
    resolutionBox_->addItems(resolutionItems());

    auto* label3 = new QLabel(QStringLiteral("Расположение изображения на рабочем поле"), this);
    label3->setObjectName(QStringLiteral("Label3"));

    auto* grid = new QGridLayout;
    std::array<QPushButton*, 9> buttons{};
    for (int k = 1; k <= 9; ++k) {
        auto* button = new QPushButton(QString::fromLatin1(kPlacementCaptions[k - 1]), this);
        button->setObjectName(QStringLiteral("Button%1").arg(k));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, k] { placementClick(k); });
        grid->addWidget(button, (k - 1) / 3, (k - 1) % 3);
        buttons[k - 1] = button;
    }
    makeEqualSquares(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1);
    layout->addWidget(resolutionBox_);
    layout->addWidget(label3);
    layout->addLayout(grid);

    connect(resolutionBox_, &QComboBox::currentIndexChanged, this, &TForm5::ResolutionBoxChange);
    connect(resolutionBox_, &QComboBox::editTextChanged, this, &TForm5::ResolutionBoxChange);
    // Enter in the density box closes the dialog with the density shown, as closing it does;
    // the placement stays as it was.
    connect(resolutionBox_->lineEdit(), &QLineEdit::returnPressed, this, &QDialog::accept);
    FormCreate(texts, resolution);
}

void TForm5::FormCreate(const Texts& texts, int resolution) {
    findChild<QLabel*>(QStringLiteral("Label1"))
        ->setText(texts.language(2002, QStringLiteral("Разрешение (плотность точек) ")));
    findChild<QLabel*>(QStringLiteral("Label3"))
        ->setText(texts.language(2012, QStringLiteral("Расположение изображения на рабочем поле")));
    resolutionBox_->setCurrentIndex(resolution);
    resolution_ = resolution;
}

// The line whose text the box shows; -1 when text typed into it matches no line.
int TForm5::selectedLine() const {
    const QString shown = resolutionBox_->currentText();
    const int current = resolutionBox_->currentIndex();
    if (current >= 0 && resolutionBox_->itemText(current) == shown)
        return current;
    return resolutionBox_->findText(shown, Qt::MatchExactly);
}

void TForm5::ResolutionBoxChange() {
    resolution_ = selectedLine();
}

void TForm5::FormClose() {
    resolution_ = selectedLine();
}

void TForm5::placementClick(int button) {
    placementButton_ = button;
    accept();
}

void TForm5::done(int result) {
    FormClose();
    QDialog::done(result);
}

ResolutionChoice TForm5::choose() {
    placementButton_ = 0;
    exec();
    return {resolution_, placementButton_};
}

} // namespace zuk
