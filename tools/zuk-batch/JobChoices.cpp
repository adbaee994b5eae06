#include "JobChoices.h"

#include "BatchJob.h"
#include "PreparationOptions.h"

#include "material/MaterialFile.h"
#include "plan/LevelPanels.h"

#include <QDir>
#include <QFileInfo>

namespace zuk::batch {

namespace {

const char* const kJobOptionsUsage =
    "[--variant combined|simple] [--density 0..8] [--place 1..9] [--material NAME]";
const char* const kJobOptionsDetails =
    "  --material NAME        the material profile NAME of DIR's \"Materials.ini\" (see\n"
    "                         zuk-batch material); the options given here override its choices\n";

} // namespace

const char* const kEngravingOptionsUsage =
    "[--mode double|single] [--levels F32[,F24,F16,F8]] "
    "[--second-pass [--second-levels F32[,F24,F16,F8]]] [--text]";
const char* const kEngravingOptionsDetails =
    "  --mode double|single   \"Стандарт\" (default) or \"Высокое\"\n"
    "  --levels F32           \"Групповая установка уровней\" with \"32\" moved to F32: the "
    "others\n"
    "                         follow as the trackbar sets them (F32 - F32/3, F32 - 2(F32/3),\n"
    "                         F32/11, at least 1), the same as in the window\n"
    "  --levels F32,F24,F16,F8  \"Индивидуальная установка уровней\" and the four forces (1..200)\n"
    "  --second-pass          \"Двойной проход\"; --second-levels sets its forces the same way\n"
    "  --text                 \"Текст (ускорение)\" instead of \"Портрет (качество)\"\n";

std::string jobChoicesUsage() {
    return std::string(kJobOptionsUsage) + ' ' + kEngravingOptionsUsage + ' ' + kPreparationUsage;
}

std::string jobChoicesDetails() {
    return std::string(kJobOptionsDetails) + kEngravingOptionsDetails + kPreparationDetails;
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

// The forces of one pass the options name: one is the "32" force of group setting with the
// other three by the trackbar rule, four are the forces of individual setting.
void chooseLevels(EngravingChoices& choices, Pass pass, const std::vector<int>& forces) {
    if (forces.empty())
        return;
    if (forces.size() == 1) {
        choices.mode(pass) = LevelMode::Group;
        choices.setForce(pass, Level::L32, static_cast<quint8>(forces.front()), true);
        return;
    }
    choices.mode(pass) = LevelMode::Individual;
    for (int k = 0; k < kLevelCount; ++k)
        choices.setForce(pass, static_cast<Level>(k), static_cast<quint8>(forces[k]), false);
}

} // namespace

bool engravingChoiceOption(ArgumentReader& reader, JobChoices& choices) {
    QString value;
    if (reader.option("mode", value)) {
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
    } else {
        return false;
    }
    return true;
}

bool jobChoiceOption(ArgumentReader& reader, JobChoices& choices, QStringList& pictures) {
    QString value;
    if (reader.option("variant", value)) {
        if (const auto variant = variantNamed(value, reader))
            choices.variant = *variant;
    } else if (reader.option("density", value)) {
        choices.density = numberIn(value, "density", 0, kResolutionIndexCount - 1, reader);
    } else if (reader.option("place", value)) {
        choices.placementButton = numberIn(value, "place", 1, 9, reader).value_or(0);
    } else if (reader.option("material", value)) {
        choices.material = value;
    } else if (engravingChoiceOption(reader, choices) ||
               preparationOption(reader, choices.preparation, &choices.preparationGiven)) {
        return true;
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
    if (!reader.failed() && !choices.secondLevels.empty() && !choices.secondPass.value_or(false))
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

EngravingChoices engravingChoicesOf(const JobChoices& options, const EngravingChoices& stored,
                                    const MaterialProfile* material) {
    EngravingChoices choices = choicesOnFirstOpening(stored);
    if (material) {
        applyMaterial(*material, choices);
    } else {
        choices.singleSided = false;
        choices.secondPass = false;
        choices.portrait = true;
    }
    choices.singleSided = options.singleSided.value_or(choices.singleSided);
    choices.secondPass = options.secondPass.value_or(choices.secondPass);
    choices.portrait = options.text ? !*options.text : choices.portrait;
    chooseLevels(choices, Pass::First, options.levels);
    chooseLevels(choices, Pass::Second, options.secondLevels);
    return choices;
}

PreparationChoices preparationOf(const JobChoices& options, const MaterialProfile* material) {
    if (!material)
        return options.preparation;
    PreparationChoices preparation;
    applyMaterialTone(*material, preparation);
    for (const QString& line : options.preparationGiven)
        setPreparationLine(preparation, line); // checked when the option was read
    return preparation;
}

namespace {

// The material the options name, from the program directory; nothing, told why, when the
// directory's file does not hold it sound.
std::optional<MaterialProfile> namedMaterial(Program& program, const QString& name) {
    const MaterialFile file = MaterialFile::read(program.dir);
    if (auto profile = file.find(name))
        return profile;
    for (const QString& problem : file.problems())
        program.screen.showMessage(MessageKind::Error, problem);
    program.screen.showMessage(MessageKind::Error,
                               QStringLiteral("Материал \"%1\" не найден в \"%2\".")
                                   .arg(name, QLatin1String(kMaterialFileName)));
    return std::nullopt;
}

} // namespace

bool prepareJob(BatchJob& batch, const JobChoices& choices) {
    Program& program = batch.program();
    BatchScreen& screen = batch.screen();
    std::optional<MaterialProfile> material;
    if (!choices.material.isEmpty()) {
        material = namedMaterial(program, choices.material);
        if (!material)
            return false;
    }
    screen.variant = choices.variant;
    screen.picture = choices.picture;
    screen.resolution = {choices.density.value_or(program.choices.resolutionIndex),
                         choices.placementButton};
    // The options are the whole preparation: the one remembered in the directory does not count,
    // and the dialog, closed without "OK", keeps these.
    program.image.setPreparation(preparationOf(choices, material ? &*material : nullptr));
    program.image.openClick();
    if (!program.image.holdsPicture())
        return false;

    program.choices = engravingChoicesOf(choices, program.choices, material ? &*material : nullptr);
    return true;
}

} // namespace zuk::batch
