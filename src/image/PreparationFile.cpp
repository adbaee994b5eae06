#include "image/PreparationFile.h"

#include <QDir>

namespace zuk {
namespace {

QString damaged(const ProgramDir& dir, const QString& why) {
    return QStringLiteral("Файл подготовки рисунка \"%1\" не прочитан (%2); рисунки "
                          "открываются без подготовки.")
        .arg(QDir::toNativeSeparators(dir.path(QLatin1String(kPreparationFileName))), why);
}

} // namespace

PreparationLoad loadPreparation(const ProgramDir& dir) {
    const TextFile file = dir.readLines(QLatin1String(kPreparationFileName));
    if (file.missing)
        return {};
    if (!file.error.isEmpty())
        return {{}, damaged(dir, file.error)};
    PreparationChoices choices;
    for (qsizetype k = 0; k < file.lines.size(); ++k) {
        const QString line = file.lines[k].trimmed();
        if (line.isEmpty())
            continue;
        if (setPreparationLine(choices, line))
            return {{}, damaged(dir, QStringLiteral("строка %1: \"%2\"").arg(k + 1).arg(line))};
    }
    return {choices, {}};
}

FileResult savePreparation(const ProgramDir& dir, const PreparationChoices& choices) {
    return dir.writeLines(QLatin1String(kPreparationFileName), preparationChoiceLines(choices));
}

} // namespace zuk
