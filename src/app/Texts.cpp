#include "app/Texts.h"

namespace zuk {

void Texts::resetStatusTexts() {
    status_ = {
        QStringLiteral("Преобразование изображения"), QStringLiteral("Перенос данных"),
        QStringLiteral("Изображение готово"),         QStringLiteral("Устройство готово к работе"),
        QStringLiteral("Найдено устройство "),        QStringLiteral("Загрузка файла"),
        QStringLiteral("Подготовка данных"),          QStringLiteral("Разогрев головки - "),
    };
}

} // namespace zuk
