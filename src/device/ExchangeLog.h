#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace zuk {

// Hexadecimal as the exchange log writes it: upper-case digits, no leading zeros (F, A3).
QString logHex(int value);

// The ring of the last ten exchanges, one line each. A line starts with the sequence number
// and collects the command name, the expected and received answer bytes and markers,
// each followed by "; ".
class ExchangeLog {
public:
    static constexpr int kLines = 10;

    void beginLine(int sequence);
    void append(const QString& text);
    void appendByte(int byte);

    // 1..10, 0 before the first line.
    int index() const { return index_; }
    QString currentLine() const { return index_ == 0 ? QString() : lines_[index_ - 1]; }
    // The ten lines from the oldest to the current one.
    QStringList oldestFirst() const;

private:
    std::array<QString, kLines> lines_;
    int index_ = 0;
};

} // namespace zuk
