#include "plan/GrayDump.h"

#include "plan/BufferedFileWriter.h"

#include <array>
#include <cstring>

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

// A dump row into `line`: a line break, then each value right-aligned in four characters.
void formatRow(const qint32* grays, int columns, QByteArray& line) {
    line.resize(2);
    line[0] = '\r';
    line[1] = '\n';
    line.resize(2 + qsizetype(columns) * kFieldWidth);
    char* out = line.data() + 2;
    for (int column = 0; column < columns; ++column) {
        const qint32 value = grays[column];
        if (value >= 0 && value < kTabulated) {
            std::memcpy(out, tabulatedFields()[value].data(), kFieldWidth);
            out += kFieldWidth;
            continue;
        }
        // A wider value takes the room it needs.
        const QByteArray wide = QByteArray::number(value).rightJustified(kFieldWidth, ' ');
        const qsizetype done = out - line.data();
        line.resize(line.size() + wide.size() - kFieldWidth);
        out = line.data() + done;
        std::memcpy(out, wide.constData(), std::size_t(wide.size()));
        out += wide.size();
    }
}

} // namespace

QString writeGrayDump(const DotImage& picture, const QString& path) {
    BufferedFileWriter writer(path);
    if (!writer.open())
        return writer.error();
    const int lastRow = picture.height() + 1;
    const int columns = picture.width() + 2;
    QByteArray line;
    for (int row = 0; row <= lastRow && !writer.failed(); ++row) {
        formatRow(picture.gray.row(row), columns, line);
        writer.append(line);
    }
    writer.commit();
    return writer.error();
}

} // namespace zuk
