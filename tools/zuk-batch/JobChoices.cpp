#include "JobChoices.h"

#include "BatchJob.h"
#include "PreparationOptions.h"

#include <QDir>
#include <QFileInfo>

namespace zuk::batch {

namespace {

const char* const kJobOptionsUsage =
    "[--variant combined|simple] [--density 0..8] [--place 1..9] [--mode double|single] "
    "[--levels F32[,F24,F16,F8]] [--second-pass [--second-levels F32[,F24,F16,F8]]] [--text]";
const char* const kJobOptionsDetails =
    "  --mode double|single   \"Стандарт\" (default) or \"Высокое\"\n"
    "  --levels F32           \"32\" at F32, then \"Групповая установка уровней\"\n"
    "  --levels F32,F24,F16,F8  \"Индивидуальная установка уровней\" and the four forces (1..200)\n"
    "  --second-pass          \"Двойной проход\"; --second-levels sets its forces the same way\n"
    "  --text                 \"Текст (ускорение)\" instead of \"Портрет (качество)\"\n";

} // namespace

std::string jobChoicesUsage() {
    return std::string(kJobOptionsUsage) + ' ' + kPreparationUsage;
}

std::string jobChoicesDetails() {
    return std::string(kJobOptionsDetails) + kPreparationDetails;
}

namespace {

std::optional<std::vector<int>> levelsNamed(const QString& value, const char* option,
                                            ArgumentReader& reader) {
    const QStringList parts = value.split(QLatin1Char(','));
    if (parts.size() != 1 && parts.size() != kLevelCount) {
        reader.mistake(QStringLiteral("--%1 takes one force or four (F32,F24,F16,F8)")
                           .arg(QLatin1String(option)));
        return std::nullopt;
    }
    std::vector<int> levels;
    for (const QString& part : parts) {
        const auto force = numberIn(part.trimmed(), option, 1, kHighestTrackbarPosition, reader);
        if (!force)
            return std::nullopt;
        levels.push_back(*force);
    }
    return levels;
}

// The operator's choice of forces on a properties panel, through the panel's own handlers:
// one force moves "32" and selects group setting (the other three by its rule); four select
// individual setting and move each trackbar.
void chooseLevels(HeadlessProperties& panels, LevelSet set, const std::vector<int>& forces) {
    if (forces.empty())
        return;
    if (forces.size() == 1) {
        panels.moveTrackbar(set, Level::L32, forces.front());
        panels.clickMode(set, true);
        return;
    }
    panels.clickMode(set, false);
    for (int k = 0; k < kLevelCount; ++k)
        panels.moveTrackbar(set, static_cast<Level>(k), forces[k]);
}

} // namespace

bool jobChoiceOption(ArgumentReader& reader, JobChoices& choices, QStringList& pictures) {
    QString value;
    if (reader.option("variant", value)) {
        if (const auto variant = variantNamed(value, reader))
            choices.variant = *variant;
    } else if (reader.option("density", value)) {
        choices.density = numberIn(value, "density", 0, kResolutionIndexCount - 1, reader);
    } else if (reader.option("place", value)) {
        choices.placementButton = numberIn(value, "place", 1, 9, reader).value_or(0);
    } else if (reader.option("mode", value)) {
        choices.singleSided = singleSidedNamed(value, reader).value_or(false);
    } else if (reader.option("levels", value)) {
        choices.levels = levelsNamed(value, "levels", reader).value_or(std::vector<int>{});
    } else if (reader.option("second-levels", value)) {
        choices.secondLevels =
            levelsNamed(value, "second-levels", reader).value_or(std::vector<int>{});
    } else if (reader.flag("second-pass")) {
        choices.secondPass = true;
    } else if (reader.flag("text")) {
        choices.text = true;
    } else if (preparationOption(reader, choices.preparation)) {
    } else if (!reader.unknownOption()) {
        pictures << reader.plain();
    } else {
        return false;
    }
    return true;
}

void finishJobChoices(ArgumentReader& reader, JobChoices& choices, const QStringList& pictures) {
    if (!reader.failed() && pictures.size() != 1)
        reader.mistake(QStringLiteral("expected one picture, got %1").arg(pictures.size()));
    if (!reader.failed() && !choices.secondLevels.empty() && !choices.secondPass)
        reader.mistake(QStringLiteral("--second-levels needs --second-pass"));
    if (!reader.failed())
        choices.picture = QFileInfo(pictures.front()).absoluteFilePath();
}

bool directoryExists(const QString& directory, const char* command, QTextStream& err) {
    if (QFileInfo(directory).isDir())
        return true;
    err << "zuk-batch " << command << ": no directory \"" << QDir::toNativeSeparators(directory)
        << "\"" << Qt::endl;
    return false;
}

bool jobFilesExist(const QString& directory, const JobChoices& choices, const char* command,
                   QTextStream& err) {
    if (!directoryExists(directory, command, err))
        return false;
    if (!QFileInfo(choices.picture).isFile()) {
        err << "zuk-batch " << command << ": no picture file \""
            << QDir::toNativeSeparators(choices.picture) << "\"" << Qt::endl;
        return false;
    }
    return true;
}

bool prepareJob(BatchJob& batch, const JobChoices& choices, HeadlessProperties& panels) {
    Program& program = batch.program();
    BatchScreen& screen = batch.screen();
    screen.variant = choices.variant;
    screen.picture = choices.picture;
    screen.resolution = {choices.density.value_or(program.settings.resolutionIndex),
                         choices.placementButton};
    // The options are the whole preparation: the one remembered in the directory does not count,
    // and the dialog, closed without "OK", keeps these.
    program.image.setPreparation(choices.preparation);
    program.image.openClick();
    if (!program.image.holdsPicture())
        return false;

    EngravingProperties& properties = panels.properties();
    properties.print1Click();
    properties.qualityClick(choices.singleSided);
    properties.secondWorkClick(choices.secondPass);
    properties.portraitClick(!choices.text);
    chooseLevels(panels, LevelSet::PrintReady, choices.levels);
    chooseLevels(panels, LevelSet::PrintReady2, choices.secondLevels);
    return true;
}

} // namespace zuk::batch
