#include "run/RecoveryFile.h"

#include "app/Settings.h"

#include <array>
#include <limits>
#include <optional>

namespace zuk {

namespace {

enum Line {
    PictureLine,
    ColumnOffsetLine,
    RowOffsetLine,
    FirstLevelsLine,
    SecondPassLine = FirstLevelsLine + 4,
    SecondLevelsLine,
    ResolutionLine = SecondLevelsLine + 4,
    TailLine,
};
constexpr int kHeaderLineCount = FirstLevelsLine;

// The file keeps the levels from the weakest to the strongest: "8", "16", "24", "32".
std::array<quint8, 4> inFileOrder(const StrikeLevels& levels) {
    return {levels.level8, levels.level16, levels.level24, levels.level32};
}

void appendLevels(QStringList& lines, const StrikeLevels& levels) {
    for (const quint8 value : inFileOrder(levels))
        lines.append(QString::number(value));
}

QString damaged(const QString& what) {
    return QStringLiteral("Файл восстановления \"%1\" повреждён: %2").arg(kRecoveryFileName, what);
}

QString tooShort(qsizetype found, int needed) {
    return damaged(QStringLiteral("в нём %1 строк вместо %2").arg(found).arg(needed));
}

// Reads numbers out of the lines; the first failure is kept for the operator.
class LineReader {
public:
    explicit LineReader(const QStringList& lines) : lines_(lines) {}

    int number(int line, int low, int high) {
        bool ok = false;
        const int value = lines_.value(line).trimmed().toInt(&ok);
        if (ok && value >= low && value <= high)
            return value;
        fail(line, low, high);
        return low;
    }
    int integer(int line) {
        return number(line, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    }
    quint8 level(int line) { return static_cast<quint8>(number(line, 0, 255)); }
    StrikeLevels levels(int first) {
        StrikeLevels result;
        result.level8 = level(first);
        result.level16 = level(first + 1);
        result.level24 = level(first + 2);
        result.level32 = level(first + 3);
        return result;
    }

    const QString& error() const { return error_; }

private:
    void fail(int line, int low, int high) {
        if (!error_.isEmpty())
            return;
        const QString range = low == std::numeric_limits<int>::min()
                                  ? QStringLiteral("целым числом")
                                  : QStringLiteral("числом от %1 до %2").arg(low).arg(high);
        error_ = damaged(QStringLiteral("строка %1 (\"%2\") должна быть %3")
                             .arg(line + 1)
                             .arg(lines_.value(line), range));
    }

    const QStringList& lines_;
    QString error_;
};

template <typename Data> RecoveryRead<Data> failedRead(const TextFile& file) {
    RecoveryRead<Data> read;
    if (file.missing) {
        read.status = RecoveryStatus::Missing;
    } else {
        read.status = RecoveryStatus::Unreadable;
        read.error = file.error;
    }
    return read;
}

template <typename Data> RecoveryRead<Data> damagedRead(const QString& error) {
    RecoveryRead<Data> read;
    read.status = RecoveryStatus::Damaged;
    read.error = error;
    return read;
}

} // namespace

void recordChoices(RecoveryData& data, const EngravingChoices& choices) {
    data.first = choices.first;
    data.secondPass = choices.secondPass;
    data.second = choices.second;
    data.resolutionIndex = choices.resolutionIndex;
}

void restoreChoices(const RecoveryData& data, EngravingChoices& choices) {
    choices.first = data.first;
    choices.secondPass = data.secondPass;
    choices.second = data.second;
    choices.resolutionIndex = data.resolutionIndex;
}

QStringList recoveryLines(const RecoveryData& data, RecoveryStage stage) {
    const bool secondPassStart = stage == RecoveryStage::SecondPassStart;
    QStringList lines;
    lines.append(data.pictureFile);
    lines.append(QString::number(data.columnOffset));
    lines.append(QString::number(data.rowOffset));
    appendLevels(lines, data.first);
    lines.append(secondPassStart || data.secondPass ? QStringLiteral("1") : QStringLiteral("0"));
    appendLevels(lines, data.second);
    lines.append(QString::number(data.resolutionIndex));
    if (secondPassStart)
        lines.append(kSecondPassMark);
    return lines;
}

RecoveryRead<RecoveryData> parseRecoveryLines(const QStringList& lines) {
    if (lines.size() < kRecoveryLineCount)
        return damagedRead<RecoveryData>(tooShort(lines.size(), kRecoveryLineCount));
    LineReader reader(lines);
    RecoveryData data;
    data.pictureFile = lines.value(PictureLine);
    data.columnOffset = reader.integer(ColumnOffsetLine);
    data.rowOffset = reader.integer(RowOffsetLine);
    data.first = reader.levels(FirstLevelsLine);
    data.secondPass = lines.value(SecondPassLine) == QStringLiteral("1");
    data.second = reader.levels(SecondLevelsLine);
    // Whatever the density dialog can give, the odd choices included: a job started with
    // them is resumed with them.
    data.resolutionIndex = reader.number(ResolutionLine, kNoResolutionLine, kEmptyResolutionLine);
    data.tail = lines.value(TailLine);
    if (!reader.error().isEmpty())
        return damagedRead<RecoveryData>(reader.error());
    return {RecoveryStatus::Ok, QString(), data};
}

FileResult writeRecoveryFile(const ProgramDir& dir, const RecoveryData& data, RecoveryStage stage) {
    return dir.writeLines(kRecoveryFileName, recoveryLines(data, stage), WriteMode::Replace);
}

RecoveryRead<RecoveryHeader> readRecoveryHeader(const ProgramDir& dir) {
    const TextFile file = dir.readLines(kRecoveryFileName, kHeaderLineCount);
    if (!file.ok())
        return failedRead<RecoveryHeader>(file);
    if (file.lines.size() < kHeaderLineCount)
        return damagedRead<RecoveryHeader>(tooShort(file.lines.size(), kRecoveryLineCount));
    LineReader reader(file.lines);
    RecoveryHeader header;
    header.pictureFile = file.lines.value(PictureLine);
    header.columnOffset = reader.integer(ColumnOffsetLine);
    header.rowOffset = reader.integer(RowOffsetLine);
    if (!reader.error().isEmpty())
        return damagedRead<RecoveryHeader>(reader.error());
    return {RecoveryStatus::Ok, QString(), header};
}

RecoveryRead<RecoveryData> readRecoveryFile(const ProgramDir& dir) {
    const TextFile file = dir.readLines(kRecoveryFileName, TailLine + 1);
    if (!file.ok())
        return failedRead<RecoveryData>(file);
    return parseRecoveryLines(file.lines);
}

bool recoveryFileExists(const ProgramDir& dir) {
    return dir.exists(kRecoveryFileName);
}

FileResult removeRecoveryFile(const ProgramDir& dir) {
    return dir.remove(kRecoveryFileName);
}

RecoverySetAside setDamagedRecoveryFileAside(const ProgramDir& dir) {
    // Enough names for any number of damaged files an operator would keep.
    constexpr int kMaxKeptFiles = 999;
    RecoverySetAside aside;
    for (int number = 1; number <= kMaxKeptFiles; ++number) {
        const QString name = number == 1 ? QStringLiteral("ErorFile.damaged.txt")
                                         : QStringLiteral("ErorFile.damaged-%1.txt").arg(number);
        if (dir.exists(name))
            continue;
        aside.keptAs = name;
        aside.result = dir.rename(kRecoveryFileName, name);
        return aside;
    }
    aside.result = FileResult::failure(
        QStringLiteral("в папке программы уже хранится %1 повреждённых файлов восстановления")
            .arg(kMaxKeptFiles));
    return aside;
}

QStringList readAboutTexts(const ProgramDir& dir) {
    const TextFile file = dir.readLines(kAboutTextsFileName, kAboutTextCount);
    return file.ok() ? file.lines : QStringList();
}

} // namespace zuk
