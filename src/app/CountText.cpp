#include "app/CountText.h"

#include <QLocale>

namespace zuk {

QString countText(qint64 count) {
    static const QLocale russian(QLocale::Russian, QLocale::Russia);
    return russian.toString(count);
}

} // namespace zuk
