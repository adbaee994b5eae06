#include "app/ui/TForm4.h"

#include "app/Language.h"
#include "app/Texts.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zuk {

TForm4::TForm4(const Texts& texts, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Eror message."));
    auto* layout = new QVBoxLayout(this);
    const std::pair<const char*, QString> lines[] = {
        {"Label1", QStringLiteral("Произошла неизвестная ошибка.")},
        {"Label4", QStringLiteral("Рекомендуется:  ")},
        {"Label2", QStringLiteral("1. Завершить работу программы и ")},
        {"Label3", QStringLiteral("отключить гравировальное устройство от сети.")},
        {"Label5", QStringLiteral("2. Выждать 2-е минуты.")},
        {"Label6", QStringLiteral("3. Включить устройство в сеть и запустить программу.")},
        {"Label7", QStringLiteral("4. Выполнить рекомендации программы.")},
    };
    for (const auto& [name, text] : lines) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        layout->addWidget(label);
    }
    applyLanguageCaptions(texts, LanguageWindow::Form4, this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}

} // namespace zuk
