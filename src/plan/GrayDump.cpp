#include "plan/GrayDump.h"

#include "plan/BufferedFileWriter.h"

#include <array>

namespace zuk {
namespace {

constexpr int kFieldWidth = 4;
constexpr int kTabulated = 1000; // every value below takes exactly four characters

using DumpField = std::array<char, kFieldWidth>;

const std::array<DumpField, kTabulated>& tabulatedFields() {
    static const auto table = [] {
        std::array<DumpField, kTabulated> fields{};
        for (int value = 0; value < kTabulated; ++value) {
            const QByteArray text = QByteArray::number(value).rightJustified(kFieldWidth, ' ');
            std::copy(text.begin(), text.end(), fields[value].begin());
        }
        return fields;
    }();
    return table;
}

void appendValue(BufferedFileWriter& writer, qint32 value) {
    if (value >= 0 && value < kTabulated) {
        const DumpField& field = tabulatedFields()[value];
        writer.append(QByteArrayView(field.data(), kFieldWidth));
    } else {
        writer.append(QByteArray::number(value).rightJustified(kFieldWidth, ' '));
    }
}

} // namespace

QString writeGrayDump(const Picture& picture, const QString& path) {
    BufferedFileWriter writer(path);
    if (!writer.open())
        return writer.error();
    const int lastRow = picture.height() + 1;
    const int lastColumn = picture.width() + 1;
    for (int row = 0; row <= lastRow && !writer.failed(); ++row) {
        writer.append("\r\n");
        const qint32* grays = picture.gray.row(row);
        for (int column = 0; column <= lastColumn; ++column)
            appendValue(writer, grays[column]);
    }
    writer.commit();
    return writer.error();
}

} // namespace zuk
