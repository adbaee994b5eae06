#include "material/MaterialFile.h"

#include <QDir>

namespace zuk {

namespace {

bool isComment(const QString& trimmed) {
    return trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')) ||
           trimmed.startsWith(QLatin1Char('#'));
}

bool isHeader(const QString& trimmed) {
    return trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'));
}

QString headerName(const QString& trimmed) {
    return trimmed.mid(1, trimmed.size() - 2).trimmed();
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

MaterialFile MaterialFile::read(const ProgramDir& dir) {
    MaterialFile file(dir);
    const TextFile text = dir.readLines(QLatin1String(kMaterialFileName));
    if (text.missing)
        return file;
    if (!text.error.isEmpty()) {
        file.readable_ = false;
        file.problems_ << QStringLiteral("Файл материалов \"%1\" не прочитан (%2); материалы не "
                                         "показаны, и файл не перезаписывается.")
                              .arg(QDir::toNativeSeparators(file.path()), text.error);
        return file;
    }
    file.parse(text.lines);
    return file;
}

QString MaterialFile::path() const {
    return dir_.path(QLatin1String(kMaterialFileName));
}

void MaterialFile::parse(const QStringList& lines) {
    preamble_.clear();
    entries_.clear();
    profiles_.clear();
    problems_.clear();
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const QString trimmed = lines[k].trimmed();
        if (isHeader(trimmed)) {
            entries_.push_back({headerName(trimmed), {lines[k]}, k, false});
        } else if (!entries_.empty()) {
            entries_.back().lines << lines[k];
        } else if (isComment(trimmed)) {
            preamble_ << lines[k];
        } else {
            readable_ = false;
            problems_ << QStringLiteral("Файл материалов \"%1\" не прочитан (строка %2: \"%3\" "
                                        "вне материала); материалы не показаны, и файл не "
                                        "перезаписывается.")
                             .arg(QDir::toNativeSeparators(path()))
                             .arg(k + 1)
                             .arg(trimmed);
            entries_.clear();
            return;
        }
    }
    for (qsizetype k = 0; k < qsizetype(entries_.size()); ++k)
        parseEntry(k);
}

// Reads one entry's lines into a profile; a damaged one is reported and kept as it is.
void MaterialFile::parseEntry(qsizetype index) {
    Entry& entry = entries_[index];
    const qsizetype firstLine = entry.firstLine;
    MaterialProfile profile{entry.name, {}, {}};
    QString why;
    if (entry.name.isEmpty())
        why = QStringLiteral("строка %1: материал без имени").arg(firstLine + 1);
    else if (entryNamed(entry.name) != index)
        why = QStringLiteral("строка %1: второй материал с этим именем").arg(firstLine + 1);
    for (qsizetype k = 1; k < entry.lines.size() && why.isEmpty(); ++k) {
        const QString trimmed = entry.lines[k].trimmed();
        if (isComment(trimmed))
            continue;
        if (const auto mistake = setMaterialLine(profile, trimmed))
            why = QStringLiteral("строка %1: %2").arg(firstLine + k + 1).arg(*mistake);
    }
    if (!why.isEmpty()) {
        problems_ << QStringLiteral("Материал \"%1\" в файле \"%2\" не прочитан (%3); он не "
                                    "показан и не перезаписывается.")
                         .arg(entry.name, QDir::toNativeSeparators(path()), why);
        return;
    }
    entry.sound = true;
    profiles_.push_back(profile);
}

QStringList MaterialFile::names() const {
    QStringList names;
    for (const MaterialProfile& profile : profiles_)
        names << profile.name;
    return names;
}

std::optional<MaterialProfile> MaterialFile::find(const QString& name) const {
    for (const MaterialProfile& profile : profiles_)
        if (sameName(profile.name, name.trimmed()))
            return profile;
    return std::nullopt;
}

// The first entry of that name, sound or damaged; -1 for none.
qsizetype MaterialFile::entryNamed(const QString& name) const {
    for (qsizetype k = 0; k < qsizetype(entries_.size()); ++k)
        if (sameName(entries_[k].name, name))
            return k;
    return -1;
}

std::optional<QString> MaterialFile::refusal(const QString& name) const {
    if (!readable_)
        return QStringLiteral("Файл материалов \"%1\" не прочитан и не перезаписывается.")
            .arg(QDir::toNativeSeparators(path()));
    if (name.isEmpty() || name.contains(QLatin1Char('[')) || name.contains(QLatin1Char(']')) ||
        name.contains(QLatin1Char('\n')) || name.contains(QLatin1Char('\r')))
        return QStringLiteral("Имя материала \"%1\" не годится: оно не пустое и без \"[\", "
                              "\"]\" и переводов строки.")
            .arg(name);
    const qsizetype k = entryNamed(name);
    if (k >= 0 && !entries_[k].sound)
        return QStringLiteral("Материал \"%1\" в файле \"%2\" не прочитан и не перезаписывается; "
                              "исправьте его в файле или выберите другое имя.")
            .arg(name, QDir::toNativeSeparators(path()));
    return std::nullopt;
}

FileResult MaterialFile::save(const MaterialProfile& profile) {
    MaterialProfile named = profile;
    named.name = profile.name.trimmed();
    if (const auto why = refusal(named.name))
        return FileResult::failure(*why);
    Entry entry{named.name, QStringList{QLatin1Char('[') + named.name + QLatin1Char(']')}, 0, true};
    entry.lines << materialLines(named) << QString();
    std::vector<Entry> entries = entries_;
    const qsizetype k = entryNamed(named.name);
    if (k >= 0)
        entries[k] = entry;
    else
        entries.push_back(entry);
    return write(entries);
}

FileResult MaterialFile::remove(const QString& name) {
    const QString trimmed = name.trimmed();
    if (const auto why = refusal(trimmed))
        return FileResult::failure(*why);
    const qsizetype k = entryNamed(trimmed);
    if (k < 0)
        return FileResult::failure(QStringLiteral("В файле \"%1\" нет материала \"%2\".")
                                       .arg(QDir::toNativeSeparators(path()), trimmed));
    std::vector<Entry> entries = entries_;
    entries.erase(entries.begin() + k);
    return write(entries);
}

FileResult MaterialFile::write(const std::vector<Entry>& entries) {
    QStringList lines = preamble_;
    for (const Entry& entry : entries)
        lines << entry.lines;
    FileResult result = dir_.writeLines(QLatin1String(kMaterialFileName), lines);
    if (result.ok())
        parse(lines);
    return result;
}

} // namespace zuk
