#include "app/ProgramDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <filesystem>

namespace zuk {

namespace {

constexpr const char* kCodePage = "windows-1251";

const QDir::Filters kRegularFiles = QDir::Files | QDir::Hidden | QDir::System;

// Name order ignoring case; names that differ only in case keep a fixed order too.
void sortNames(QStringList& names) {
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
}

QString quoted(const QString& path) {
    return QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path));
}

bool holdsLineBreak(const QString& line) {
    return line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r'));
}

QByteArray withoutLineEnd(QByteArray raw) {
    if (raw.endsWith('\n'))
        raw.chop(1);
    if (raw.endsWith('\r'))
        raw.chop(1);
    return raw;
}

FileResult writeReplacing(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return FileResult::failure(ProgramDir::writeFailure(path, file.errorString()));
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return FileResult::failure(ProgramDir::writeFailure(path, reason));
    }
    if (!file.commit())
        return FileResult::failure(ProgramDir::writeFailure(path, file.errorString()));
    return {};
}

FileResult writeDirect(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return FileResult::failure(ProgramDir::writeFailure(path, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.flush())
        return FileResult::failure(ProgramDir::writeFailure(path, file.errorString()));
    file.close();
    if (file.error() != QFileDevice::NoError)
        return FileResult::failure(ProgramDir::writeFailure(path, file.errorString()));
    return {};
}

} // namespace

ProgramDir::ProgramDir() : ProgramDir(QDir::currentPath()) {}

ProgramDir::ProgramDir(const QString& directory)
    : directory_(QDir::cleanPath(QDir(directory).absolutePath())) {}

QStringList ProgramDir::entriesMatching(const QString& name) const {
    QStringList matches;
    const QStringList entries = QDir(directory_).entryList(kRegularFiles);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            matches.append(entry);
    }
    sortNames(matches);
    return matches;
}

QString ProgramDir::path(const QString& name) const {
    const QStringList matches = entriesMatching(name);
    const QString chosen =
        matches.contains(name) || matches.isEmpty() ? name : matches.constFirst();
    return directory_ + QLatin1Char('/') + chosen;
}

bool ProgramDir::exists(const QString& name) const {
    return !entriesMatching(name).isEmpty();
}

FileResult ProgramDir::remove(const QString& name) const {
    for (const QString& entry : entriesMatching(name)) {
        QFile file(directory_ + QLatin1Char('/') + entry);
        if (!file.remove()) {
            return FileResult::failure(QStringLiteral("Не удалось удалить файл %1: %2")
                                           .arg(quoted(file.fileName()), file.errorString()));
        }
    }
    return {};
}

FileResult ProgramDir::rename(const QString& from, const QString& to) const {
    const QStringList sources = entriesMatching(from);
    if (sources.isEmpty()) {
        return FileResult::failure(
            QStringLiteral("Файл %1 не найден").arg(quoted(directory_ + QLatin1Char('/') + from)));
    }
    const QString source = path(from);
    const QString target = directory_ + QLatin1Char('/') + to;
    if (source == target)
        return {};
    // One atomic step replaces the target: at no instant is there no file of that name, so
    // a crash in between leaves either the old file or the new one.
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(source.toStdU16String()),
                            std::filesystem::path(target.toStdU16String()), error);
    if (error) {
        return FileResult::failure(
            QStringLiteral("Не удалось переименовать %1 в %2: %3")
                .arg(quoted(source), quoted(target), QString::fromStdString(error.message())));
    }
    // Other letter cases of the target name are the same file to the program: drop them.
    for (const QString& entry : entriesMatching(to)) {
        const QString old = directory_ + QLatin1Char('/') + entry;
        if (old != target && !QFile::remove(old)) {
            return FileResult::failure(
                QStringLiteral("Не удалось заменить файл %1").arg(quoted(old)));
        }
    }
    return {};
}

QString ProgramDir::findFirst(const QString& pattern) const {
    QDir dir(directory_);
    dir.setNameFilters({pattern});
    dir.setFilter(kRegularFiles);
    QStringList names = dir.entryList();
    if (names.isEmpty())
        return {};
    sortNames(names);
    return names.constFirst();
}

TextFile ProgramDir::readLines(const QString& name, int maxLines) const {
    TextFile result;
    if (!exists(name)) {
        result.missing = true;
        return result;
    }
    QFile file(path(name));
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("Не удалось открыть файл %1: %2")
                           .arg(quoted(file.fileName()), file.errorString());
        return result;
    }
    while (!file.atEnd() && (maxLines < 0 || result.lines.size() < maxLines)) {
        const QByteArray raw = file.readLine();
        if (file.error() != QFileDevice::NoError)
            break;
        result.lines.append(decode(withoutLineEnd(raw)));
    }
    if (file.error() != QFileDevice::NoError) {
        result.error = QStringLiteral("Не удалось прочитать файл %1: %2")
                           .arg(quoted(file.fileName()), file.errorString());
    }
    return result;
}

FileResult ProgramDir::writeLines(const QString& name, const QStringList& lines,
                                  WriteMode mode) const {
    const QString target = path(name);
    QByteArray bytes;
    for (const QString& line : lines) {
        if (holdsLineBreak(line))
            return FileResult::failure(writeFailure(target, QStringLiteral("перевод строки в "
                                                                           "значении \"%1\"")
                                                                .arg(line)));
        const std::optional<QByteArray> encoded = encode(line);
        if (!encoded) {
            return FileResult::failure(
                writeFailure(target, QStringLiteral("текст \"%1\" не записывается в кодировке "
                                                    "Windows-1251")
                                         .arg(line)));
        }
        bytes += *encoded;
        bytes += "\r\n";
    }
    return mode == WriteMode::Replace ? writeReplacing(target, bytes) : writeDirect(target, bytes);
}

QString ProgramDir::writeFailure(const QString& path, const QString& reason) {
    return QStringLiteral("Не удалось записать файл %1: %2").arg(quoted(path), reason);
}

QString ProgramDir::decode(const QByteArray& bytes) {
    QStringDecoder decoder(kCodePage);
    return decoder(bytes);
}

std::optional<QByteArray> ProgramDir::encode(const QString& text) {
    QStringEncoder encoder(kCodePage);
    QByteArray bytes = encoder(text);
    // A character without a place in the code page comes out as a substitute; the round trip
    // shows it whether or not the converter reports it.
    if (encoder.hasError() || decode(bytes) != text)
        return std::nullopt;
    return bytes;
}

QString scratchDirectoryTemplate(const QString& name) {
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    const QString folder =
        memory.isDir() && memory.isWritable() ? memory.filePath() : QDir::tempPath();
    return folder + QLatin1Char('/') + name + QStringLiteral("-XXXXXX");
}

} // namespace zuk
