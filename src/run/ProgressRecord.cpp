#include "run/ProgressRecord.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <filesystem>

namespace zuk {

namespace {

constexpr QByteArrayView kHeader = "ZUK job progress 1";
constexpr QByteArrayView kEntryKey = "entry";
constexpr QByteArrayView kCheckKey = "check";
constexpr QByteArrayView kLineEnd = "\r\n";
const QString kScratchSuffix = QStringLiteral(".new");

QString fileFailure(const QString& verb, const QString& path, const QString& reason) {
    return QStringLiteral("Не удалось %1 файл \"%2\": %3")
        .arg(verb, QDir::toNativeSeparators(path), reason);
}

QByteArray checkLine(QByteArrayView body) {
    return kCheckKey.toByteArray() + ' ' +
           QByteArray::number(qChecksum(body), 16).rightJustified(4, '0');
}

std::optional<ProgressEntry> parseEntry(const QByteArray& line) {
    const QList<QByteArray> fields = line.split(' ');
    if (fields.size() != 6 || fields[0] != kEntryKey)
        return std::nullopt;
    bool passOk = false;
    bool lineOk = false;
    bool sizeOk = false;
    ProgressEntry entry;
    entry.pass = fields[1].toInt(&passOk);
    entry.line = fields[2].toLongLong(&lineOk);
    entry.plan.size = fields[3].toLongLong(&sizeOk);
    entry.plan.digest = fields[4];
    entry.planName = QString::fromLatin1(fields[5]);
    const bool valid = passOk && lineOk && sizeOk && (entry.pass == 1 || entry.pass == 2) &&
                       entry.line >= ProgressEntry::kNotStarted && entry.plan.size >= 0 &&
                       entry.plan.digest.size() == 64 && !entry.planName.isEmpty();
    return valid ? std::optional(entry) : std::nullopt;
}

// Writes the bytes to a scratch file beside the record and renames it over the record: the
// rename is one step, so the record is always whole.
FileResult writeFast(const QString& path, const QByteArray& bytes) {
    const QString scratch = path + kScratchSuffix;
    QFile file(scratch);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush())
        return FileResult::failure(
            fileFailure(QStringLiteral("записать"), scratch, file.errorString()));
    file.close();
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(scratch.toStdU16String()),
                            std::filesystem::path(path.toStdU16String()), error);
    if (error)
        return FileResult::failure(
            fileFailure(QStringLiteral("записать"), path, QString::fromStdString(error.message())));
    return {};
}

// QSaveFile writes a temporary file, forces it to the disk and renames it over the record.
FileResult writeDurable(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return FileResult::failure(
            fileFailure(QStringLiteral("записать"), path, file.errorString()));
    return {};
}

} // namespace

PlanIdentityRead identifyPlanFile(const QString& path) {
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {std::nullopt, fileFailure(QStringLiteral("прочитать"), path, file.errorString())};
    return {PlanIdentity{file.size(), hash.result().toHex()}, QString()};
}

std::optional<ProgressEntry> ProgressRecord::find(int pass, const PlanIdentity& plan) const {
    for (const ProgressEntry& entry : entries)
        if (entry.pass == pass && entry.plan == plan)
            return entry;
    return std::nullopt;
}

QByteArray progressRecordBytes(const ProgressRecord& record) {
    QByteArray body = kHeader.toByteArray() + kLineEnd.toByteArray();
    for (const ProgressEntry& e : record.entries) {
        body += kEntryKey.toByteArray() + ' ' + QByteArray::number(e.pass) + ' ' +
                QByteArray::number(e.line) + ' ' + QByteArray::number(e.plan.size) + ' ' +
                e.plan.digest + ' ' + e.planName.toLatin1() + kLineEnd.toByteArray();
    }
    return body + checkLine(body) + kLineEnd.toByteArray();
}

std::optional<ProgressRecord> parseProgressRecord(const QByteArray& bytes) {
    if (!bytes.endsWith(kLineEnd))
        return std::nullopt;
    const qsizetype checkStart = bytes.lastIndexOf(kLineEnd, bytes.size() - 3) + 2;
    if (checkStart < 2)
        return std::nullopt;
    const QByteArrayView body = QByteArrayView(bytes).first(checkStart);
    if (bytes.sliced(checkStart).chopped(2) != checkLine(body))
        return std::nullopt;
    QList<QByteArray> lines = body.toByteArray().split('\n');
    lines.removeLast(); // after the last line end
    if (lines.isEmpty() || lines.takeFirst() != kHeader.toByteArray() + '\r')
        return std::nullopt;
    ProgressRecord record;
    for (const QByteArray& line : lines) {
        const std::optional<ProgressEntry> entry = parseEntry(line.chopped(1));
        if (!entry)
            return std::nullopt;
        record.entries.push_back(*entry);
    }
    return record;
}

ProgressRead readProgressRecord(const ProgramDir& dir) {
    if (!dir.exists(kProgressFileName))
        return {ProgressStatus::Missing, {}};
    QFile file(dir.path(kProgressFileName));
    if (!file.open(QIODevice::ReadOnly))
        return {ProgressStatus::Damaged, {}};
    const std::optional<ProgressRecord> record = parseProgressRecord(file.readAll());
    if (!record)
        return {ProgressStatus::Damaged, {}};
    return {ProgressStatus::Ok, *record};
}

FileResult removeProgressRecord(const ProgramDir& dir) {
    return dir.remove(kProgressFileName);
}

FileResult writeProgressRecord(const QString& path, const ProgressRecord& record,
                               Durability durability) {
    const QByteArray bytes = progressRecordBytes(record);
    return durability == Durability::Durable ? writeDurable(path, bytes) : writeFast(path, bytes);
}

FileResult ProgressRecorder::begin(const ProgramDir& dir, ProgressRecord record, qint64 nowMs) {
    dir_ = dir;
    // Looked up once: every later write goes to the same file without listing the directory.
    path_ = dir.path(kProgressFileName);
    current_ = record.entries.front();
    active_ = true;
    return store(record, Durability::Durable, nowMs);
}

FileResult ProgressRecorder::markBegun(qint64 nowMs) {
    if (!active_)
        return {};
    current_.line = 0;
    return store(ProgressRecord{{current_}}, Durability::Durable, nowMs);
}

FileResult ProgressRecorder::lineCompleted(qint64 line, qint64 nowMs) {
    if (!active_)
        return {};
    current_.line = line;
    const bool due = nowMs - lastDurableMs_ >= kDurableIntervalMs;
    return store(ProgressRecord{{current_}}, due ? Durability::Durable : Durability::Fast, nowMs);
}

FileResult ProgressRecorder::flush(qint64 nowMs) {
    if (!active_ || !dirty_)
        return {};
    return store(ProgressRecord{{current_}}, Durability::Durable, nowMs);
}

FileResult ProgressRecorder::remove() {
    active_ = false;
    dirty_ = false;
    // A scratch file is left only by a crash in the middle of a write.
    (void)dir_.remove(kProgressFileName + kScratchSuffix);
    return dir_.remove(kProgressFileName);
}

FileResult ProgressRecorder::store(const ProgressRecord& record, Durability durability,
                                   qint64 nowMs) {
    FileResult result = writeProgressRecord(path_, record, durability);
    if (result.ok() && durability == Durability::Durable) {
        lastDurableMs_ = nowMs;
        dirty_ = false;
    } else {
        dirty_ = true;
    }
    return result;
}

} // namespace zuk
