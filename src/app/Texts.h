#pragma once

#include <QHash>
#include <QString>

#include <array>

namespace zuk {

// The eight replaceable one-line texts shown in line 1 of the status memo.
enum class StatusText {
    Converting = 0,    // "Преобразование изображения"
    Transferring = 1,  // "Перенос данных"
    PictureReady = 2,  // "Изображение готово"
    DeviceReady = 3,   // "Устройство готово к работе"
    DeviceFound = 4,   // "Найдено устройство "
    LoadingFile = 5,   // "Загрузка файла"
    PreparingData = 6, // "Подготовка данных"
    WarmUp = 7,        // "Разогрев головки - "
};

// Built-in texts and their replacements from a language file, by four-digit number.
class Texts {
public:
    Texts() { resetStatusTexts(); }

    bool languageLoaded() const { return languageLoaded_; }
    void setLanguageLoaded(bool loaded) { languageLoaded_ = loaded; }

    // The language file's text for the number when a language file is loaded and holds
    // that number, else the built-in text.
    QString language(int number, const QString& builtin) const {
        if (!languageLoaded_)
            return builtin;
        auto it = languageTexts_.constFind(number);
        return it == languageTexts_.constEnd() ? builtin : *it;
    }
    bool hasLanguageText(int number) const { return languageTexts_.contains(number); }
    void setLanguageText(int number, const QString& text) { languageTexts_.insert(number, text); }

    QString status(StatusText index) const { return status_[static_cast<int>(index)]; }
    void setStatus(StatusText index, const QString& text) {
        status_[static_cast<int>(index)] = text.left(255);
    }
    void resetStatusTexts();

private:
    bool languageLoaded_ = false;
    QHash<int, QString> languageTexts_;
    std::array<QString, 8> status_;
};

} // namespace zuk
