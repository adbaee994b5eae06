#include "app/ui/TAboutBox.h"

#include "app/Language.h"
#include "app/Texts.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zuk {

namespace {
// The labels DopFile.txt replaces, in the order of its lines.
constexpr const char* kDopLabels[] = {"Label8", "Label3", "Label6", "Label4", "Label5", "Label7"};
} // namespace

TAboutBox::TAboutBox(const Texts& texts, const QStringList& dopLines, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("О программе"));
    auto* layout = new QVBoxLayout(this);
    const std::pair<const char*, QString> labels[] = {
        {"Label1", QStringLiteral("Гравировальный полуавтомат")},
        {"Label9", QStringLiteral("ZUK-5.6")},
        {"Label8", QStringLiteral("ZUK_05d6 (10_01_2020)")},
        {"Label2", QStringLiteral("Эксклюзивный распространитель")},
        {"Label3", QStringLiteral("Сервисная служба")},
        {"Label6", QStringLiteral("тел.: +7 000 000-00-00")},
        {"Label4", QStringLiteral("e-mail: service@example.org")},
        {"Label5", QStringLiteral("")},
        {"Label7", QStringLiteral("")},
        {"Label10", QStringLiteral("")},
        {"Label11", QStringLiteral("")},
    };
    for (const auto& [name, text] : labels) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        layout->addWidget(label);
    }
    for (int i = 0; i < dopLines.size() && i < int(std::size(kDopLabels)); ++i)
        findChild<QLabel*>(QLatin1String(kDopLabels[i]))->setText(dopLines[i]);
    applyLanguageCaptions(texts, LanguageWindow::AboutBox, this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}

} // namespace zuk
