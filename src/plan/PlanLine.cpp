#include "plan/PlanLine.h"

#include <charconv>

namespace zuk {

namespace {

bool startsWith(QByteArrayView line, QByteArrayView prefix, qsizetype length) {
    return line.size() >= length && line.first(length) == prefix.first(length);
}

// A six-character field: blanks, an optional minus sign, then at least one digit.
std::optional<qint32> field(QByteArrayView line, int start) {
    if (line.size() < start + kGoToFieldWidth)
        return std::nullopt;
    QByteArrayView text = line.sliced(start, kGoToFieldWidth);
    while (!text.isEmpty() && text.front() == ' ')
        text = text.sliced(1);
    qint32 value = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (text.isEmpty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

} // namespace

PlanLineKind planLineKind(QByteArrayView line) {
    constexpr qsizetype kKeyLength = 5;
    if (startsWith(line, kGoToPrefix, kKeyLength))
        return PlanLineKind::GoTo;
    if (startsWith(line, kDownLine, kKeyLength))
        return PlanLineKind::Down;
    if (startsWith(line, kUpLine, kKeyLength))
        return PlanLineKind::Up;
    if (startsWith(line, kKnockPrefix, kKeyLength))
        return PlanLineKind::Knock;
    if (startsWith(line, kKBackPrefix, kKeyLength))
        return PlanLineKind::KBack;
    return PlanLineKind::Other;
}

std::optional<PlanCell> parseGoTo(QByteArrayView line) {
    const auto row = field(line, kGoToRowStart);
    const auto column = field(line, kGoToColumnStart);
    if (!row || !column)
        return std::nullopt;
    return PlanCell{*row, *column};
}

QByteArrayView strikeDigits(QByteArrayView line) {
    return line.size() > kStrikeDigitsStart ? line.sliced(kStrikeDigitsStart) : QByteArrayView();
}

StrikeCounts strikeCounts(QByteArrayView line) {
    StrikeCounts counts{};
    const PlanLineKind kind = planLineKind(line);
    if (kind != PlanLineKind::Knock && kind != PlanLineKind::KBack)
        return counts;
    for (const char digit : strikeDigits(line))
        if (digit >= '1' && digit <= '4')
            ++counts[std::size_t(digit - '1')];
    return counts;
}

QByteArrayView withoutTrailingZeros(QByteArrayView digits) {
    qsizetype length = digits.size();
    while (length > 0 && digits[length - 1] == '0')
        --length;
    return digits.first(length);
}

bool allDigits(QByteArrayView digits) {
    for (const char c : digits)
        if (c < '0' || c > '9')
            return false;
    return true;
}

QByteArray planNumber(qint64 value) {
    return QByteArray::number(value).rightJustified(kGoToFieldWidth, ' ');
}

QByteArray goToLine(qint32 row, qint32 column) {
    return kGoToPrefix.toByteArray() + planNumber(row) + planNumber(column);
}

} // namespace zuk
