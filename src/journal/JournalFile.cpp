#include "journal/JournalFile.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <utility>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zuk {

namespace {

constexpr QByteArrayView kByteOrderMark = "\xEF\xBB\xBF";
constexpr QByteArrayView kJournalLineEnd = "\r\n";
const QString kDateFormat = QStringLiteral("dd.MM.yyyy HH:mm:ss");

const QStringList& headerTitles() {
    static const QStringList titles =
        QStringLiteral("Начало;Вид;Картинка;Столбец;Строка;Плотность;Качество;"
                       "Режим;Проходов;Сила 32;Сила 24;Сила 16;Сила 8;"
                       "Сила 32 (2-й проход);Сила 24 (2-й проход);"
                       "Сила 16 (2-й проход);Сила 8 (2-й проход);Строк плана;"
                       "Строк выполнено;Ударов 32;Ударов 24;Ударов 16;"
                       "Ударов 8;Оценка;Длительность;Итог")
            .split(QLatin1Char(';'));
    return titles;
}

// A text field: in quotes, a quote inside doubled; a line break, which no record may hold,
// becomes a blank.
QString quotedField(QString text) {
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QStringList levelFields(const StrikeLevels& levels) {
    return {QString::number(levels.level32), QString::number(levels.level24),
            QString::number(levels.level16), QString::number(levels.level8)};
}

// The fields of a line; nothing when its quotes do not pair up.
std::optional<QStringList> splitFields(QStringView line) {
    QStringList fields;
    QString field;
    bool inQuotes = false;
    bool wasQuoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (inQuotes) {
            if (c != QLatin1Char('"'))
                field += c;
            else if (i + 1 < line.size() && line[i + 1] == QLatin1Char('"'))
                field += line[++i];
            else
                inQuotes = false;
        } else if (c == QLatin1Char(';')) {
            fields << std::exchange(field, QString());
            wasQuoted = false;
        } else if (wasQuoted || (c == QLatin1Char('"') && !field.isEmpty())) {
            return std::nullopt;
        } else if (c == QLatin1Char('"')) {
            inQuotes = wasQuoted = true;
        } else {
            field += c;
        }
    }
    if (inQuotes)
        return std::nullopt;
    fields << field;
    return fields;
}

// Reads the fields of a record in order, each checked as it is taken.
class FieldReader {
public:
    explicit FieldReader(const QStringList& fields) : fields_(fields) {}
    bool ok() const { return ok_; }
    QString text() { return next_ < fields_.size() ? fields_[next_++] : fail(); }
    qint64 number(qint64 lowest, qint64 highest) {
        bool ok = false;
        const qint64 value = text().toLongLong(&ok);
        if (!ok || value < lowest || value > highest)
            ok_ = false;
        return value;
    }
    StrikeLevels levels() {
        StrikeLevels levels;
        for (quint8* level : {&levels.level32, &levels.level24, &levels.level16, &levels.level8})
            *level = quint8(number(0, 255));
        return levels;
    }
    void empty() {
        if (!text().isEmpty())
            ok_ = false;
    }
    template <typename T> T take(std::optional<T> value) {
        if (!value)
            ok_ = false;
        return value.value_or(T{});
    }
    bool choice(const char* yes, const char* no) {
        const QString value = text();
        ok_ = ok_ && (value == QString::fromUtf8(yes) || value == QString::fromUtf8(no));
        return value == QString::fromUtf8(yes);
    }

private:
    QString fail() {
        ok_ = false;
        return {};
    }
    const QStringList& fields_;
    qsizetype next_ = 0;
    bool ok_ = true;
};

constexpr qint64 kCountLimit = qint64(1) << 50;
constexpr qint64 kOffsetLimit = 1 << 30;

// The fields after the placement, in order; false when one is not what it should be.
bool readJobFields(FieldReader& reader, JournalRecord& record) {
    record.density = int(reader.number(-1, 9));
    record.singleSided = reader.choice("Высокое", "Стандарт");
    record.portrait = reader.choice("Портрет", "Текст");
    record.secondPass = reader.number(1, 2) == 2;
    record.first = reader.levels();
    if (record.secondPass) {
        record.second = reader.levels();
    } else {
        // A single-pass job has no second forces: their four fields stay empty.
        for (int field = 0; field < 4; ++field)
            reader.empty();
    }
    record.planLines = reader.number(0, kCountLimit);
    record.linesDone = reader.number(0, kCountLimit);
    for (int code = 3; code >= 0; --code)
        record.strikes[std::size_t(code)] = reader.number(0, kCountLimit);
    const QString estimate = reader.text();
    if (!estimate.isEmpty())
        record.estimateMs = reader.take(journalDurationMs(estimate));
    record.durationMs = reader.take(journalDurationMs(reader.text()));
    record.outcome = reader.take(journalOutcomeNamed(reader.text()));
    return reader.ok();
}

} // namespace

QByteArray journalHeaderLine() {
    QStringList fields;
    for (const QString& title : headerTitles())
        fields << quotedField(title);
    return fields.join(QLatin1Char(';')).toUtf8();
}

QByteArray journalLine(const JournalRecord& record) {
    QStringList fields{
        record.start.toString(kDateFormat),
        quotedField(journalKindText(record.kind)),
        quotedField(QDir::toNativeSeparators(record.pictureFile)),
        QString::number(record.offset.x()),
        QString::number(record.offset.y()),
        QString::number(record.density),
        quotedField(record.singleSided ? QStringLiteral("Высокое") : QStringLiteral("Стандарт")),
        quotedField(record.portrait ? QStringLiteral("Портрет") : QStringLiteral("Текст")),
        QString::number(record.secondPass ? 2 : 1)};
    fields << levelFields(record.first)
           << (record.secondPass ? levelFields(record.second) : QStringList(4, QString()));
    fields << QString::number(record.planLines) << QString::number(record.linesDone);
    for (int code = 3; code >= 0; --code)
        fields << QString::number(record.strikes[std::size_t(code)]);
    fields << (record.estimateMs ? journalDurationText(*record.estimateMs) : QString())
           << journalDurationText(record.durationMs)
           << quotedField(journalOutcomeText(record.outcome));
    return fields.join(QLatin1Char(';')).toUtf8();
}

std::optional<JournalRecord> parseJournalLine(QByteArrayView line) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(line);
    if (decoder.hasError())
        return std::nullopt;
    const std::optional<QStringList> fields = splitFields(text);
    if (!fields || fields->size() != headerTitles().size())
        return std::nullopt;
    FieldReader reader(*fields);
    JournalRecord record;
    record.start = QDateTime::fromString(reader.text(), kDateFormat);
    record.kind = reader.take(journalKindNamed(reader.text()));
    record.pictureFile = QDir::fromNativeSeparators(reader.text());
    record.offset.setX(int(reader.number(-kOffsetLimit, kOffsetLimit)));
    record.offset.setY(int(reader.number(-kOffsetLimit, kOffsetLimit)));
    if (!record.start.isValid() || !readJobFields(reader, record))
        return std::nullopt;
    return record;
}

namespace {

// The header line as written, or as a spreadsheet program writes it back.
bool isHeader(QByteArrayView line) {
    return splitFields(QString::fromUtf8(line)) == std::optional<QStringList>(headerTitles());
}

// Whether the file's last byte ends a line; true for an empty file.
std::optional<bool> endsWithLineEnd(QFile& file) {
    if (file.size() == 0)
        return true;
    if (!file.seek(file.size() - 1))
        return std::nullopt;
    char last = 0;
    if (!file.getChar(&last))
        return std::nullopt;
    return last == '\n';
}

// The data on the disk, not only in the system's buffers.
bool forceToDisk(QFile& file) {
    if (!file.flush())
        return false;
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

FileResult journalWriteFailure(const QFile& file) {
    return FileResult::failure(ProgramDir::writeFailure(file.fileName(), file.errorString()));
}

} // namespace

FileResult appendJournalRecord(const QString& path, const JournalRecord& record) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append))
        return journalWriteFailure(file);
    const std::optional<bool> lineEnded = endsWithLineEnd(file);
    if (!lineEnded)
        return journalWriteFailure(file);
    QByteArray bytes;
    if (file.size() == 0)
        bytes = kByteOrderMark.toByteArray() + journalHeaderLine() + kJournalLineEnd.toByteArray();
    else if (!*lineEnded)
        bytes = kJournalLineEnd.toByteArray();
    bytes += journalLine(record) + kJournalLineEnd.toByteArray();
    // One write: the record reaches the file whole or, after a crash, as one torn last line.
    if (file.write(bytes) != bytes.size() || !forceToDisk(file))
        return journalWriteFailure(file);
    return {};
}

JournalRead readJournal(const QString& path) {
    JournalRead read;
    QFile file(path);
    if (!file.exists()) {
        read.missing = true;
        return read;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        read.error = QStringLiteral("Не удалось прочитать файл \"%1\": %2")
                         .arg(QDir::toNativeSeparators(path), file.errorString());
        return read;
    }
    QByteArray bytes = file.readAll();
    if (bytes.startsWith(kByteOrderMark))
        bytes.remove(0, kByteOrderMark.size());
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArrayView line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || (i == 0 && isHeader(line)))
            continue;
        if (std::optional<JournalRecord> record = parseJournalLine(line))
            read.records.push_back(std::move(*record));
        else
            read.damagedLines << i + 1;
    }
    return read;
}

QString damagedLinesMessage(const QString& path, const QList<qint64>& lines) {
    if (lines.isEmpty())
        return {};
    QStringList numbers;
    for (const qint64 line : lines)
        numbers << QString::number(line);
    return QStringLiteral("Журнал работ \"%1\": строки %2 повреждены или не являются записями "
                          "журнала и пропущены. Файл не изменён.")
        .arg(QDir::toNativeSeparators(path), numbers.join(QStringLiteral(", ")));
}

} // namespace zuk
