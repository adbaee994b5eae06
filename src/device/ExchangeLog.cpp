#include "device/ExchangeLog.h"

namespace zuk {

QString logHex(int value) {
    return QString::number(value, 16).toUpper();
}

void ExchangeLog::beginLine(int sequence) {
    index_ = index_ % kLines + 1;
    lines_[index_ - 1] = logHex(sequence) + QStringLiteral("; ");
}

void ExchangeLog::append(const QString& text) {
    if (index_ > 0)
        lines_[index_ - 1] += text + QStringLiteral("; ");
}

void ExchangeLog::appendByte(int byte) {
    append(logHex(byte));
}

QStringList ExchangeLog::oldestFirst() const {
    QStringList lines;
    for (int k = 1; k <= kLines; ++k)
        lines << lines_[(index_ + k - 1) % kLines];
    return lines;
}

} // namespace zuk
