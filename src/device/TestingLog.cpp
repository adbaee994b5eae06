#include "device/TestingLog.h"

#include <QStringEncoder>

namespace zuk {

bool TestingLog::open(const QString& path) {
    file_.close();
    file_.setFileName(path);
    return file_.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

bool TestingLog::append(const QStringList& lines) {
    if (!file_.isOpen())
        return false;
    QStringEncoder toCp1251("windows-1251");
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += toCp1251.encode(line) + "\r\n";
    return file_.write(bytes) == bytes.size() && file_.flush();
}

} // namespace zuk
