#include "MaterialCommand.h"

#include "Arguments.h"
#include "JobChoices.h"
#include "PreparationOptions.h"

#include "app/Settings.h"
#include "material/MaterialFile.h"

#include <QDir>

#include <optional>
#include <string>

namespace zuk::batch {

namespace {

const char* const kToneUsage =
    "[--brightness B] [--contrast C] [--gamma G] [--invert] [--sharpen AMOUNT[,RADIUS]]";
const char* const kMaterialIntroduction =
    "The material profiles (\"Материал\" on the properties panel) of the program directory DIR\n"
    "(default: the current one), kept in its \"Materials.ini\".\n"
    "  list                   every profile, one a line: its name, then its choices\n"
    "  save NAME              adds the profile NAME or replaces the one of that name: the\n"
    "                         choices engrave would make of these options and DIR's Zuk.ini,\n"
    "                         and the tone of the picture preparation\n"
    "  delete NAME            removes the profile NAME\n"
    "A damaged file or profile is reported by name and never written over.\n"
    "engrave and preview take a profile with --material NAME.\n";
const char* const kMaterialExit = "Exit status: 0 done, 1 an error (a damaged file or profile, "
                                  "none of that name), 2 bad usage.";

enum class Action { List, Save, Delete };

struct MaterialRequest {
    Action action = Action::List;
    QString name;
    QString directory = QDir::currentPath();
    JobChoices choices;
};

std::optional<Action> actionNamed(const QString& name) {
    if (name == QLatin1String("list"))
        return Action::List;
    if (name == QLatin1String("save"))
        return Action::Save;
    if (name == QLatin1String("delete"))
        return Action::Delete;
    return std::nullopt;
}

// Takes one of save's choices: those of "Гравировка" and the tone of the preparation.
bool saveOption(ArgumentReader& reader, JobChoices& choices) {
    if (engravingChoiceOption(reader, choices))
        return true;
    const qsizetype given = choices.preparationGiven.size();
    if (!preparationOption(reader, choices.preparation, &choices.preparationGiven))
        return false;
    if (choices.preparationGiven.size() > given) {
        const QString name = choices.preparationGiven.back().section(QLatin1Char('='), 0, 0);
        if (!isToneChoice(name))
            reader.mistake(QStringLiteral("--%1 is the picture's, not the material's").arg(name));
    }
    return true;
}

void readArguments(ArgumentReader& reader, MaterialRequest& request, QStringList& plain) {
    while (!reader.atEnd() && !reader.failed()) {
        QString value;
        if (reader.option("dir", value))
            request.directory = value;
        else if (request.action == Action::Save && saveOption(reader, request.choices))
            continue;
        else if (!reader.unknownOption())
            plain << reader.plain();
    }
}

std::optional<MaterialRequest> parseMaterial(QStringList args, QTextStream& err) {
    MaterialRequest request;
    ArgumentReader reader(args, "material", err);
    const std::optional<Action> action = args.isEmpty() ? std::nullopt : actionNamed(args.front());
    if (!action) {
        reader.mistake(QStringLiteral("expected list, save NAME or delete NAME"));
        return std::nullopt;
    }
    request.action = *action;
    args.removeFirst();
    ArgumentReader rest(args, "material", err);
    QStringList plain;
    readArguments(rest, request, plain);
    const qsizetype expected = request.action == Action::List ? 0 : 1;
    if (!rest.failed() && plain.size() != expected)
        rest.mistake(expected == 0 ? QStringLiteral("list takes no name")
                                   : QStringLiteral("expected one NAME, got %1").arg(plain.size()));
    if (!rest.failed() && !request.choices.secondLevels.empty() &&
        !request.choices.secondPass.value_or(false))
        rest.mistake(QStringLiteral("--second-levels needs --second-pass"));
    if (rest.failed())
        return std::nullopt;
    request.name = plain.value(0);
    return request;
}

// The engraving choices Zuk.ini of the directory holds, read only; the program's defaults
// without one.
EngravingChoices storedChoices(const ProgramDir& dir) {
    EngravingChoices choices;
    const TextFile ini = dir.readLines(kConfigurationFileName);
    if (ini.ok()) {
        Settings settings;
        applyConfigurationLines(ini.lines, settings, choices);
    }
    return choices;
}

int list(const MaterialFile& file, Streams streams) {
    for (const MaterialProfile& profile : file.profiles())
        streams.out << profile.name << ": " << materialLines(profile).join(QStringLiteral(", "))
                    << Qt::endl;
    return file.problems().isEmpty() ? kExitOk : kExitFailed;
}

int done(const FileResult& result, const QString& what, Streams streams) {
    if (!result.ok()) {
        streams.err << "zuk-batch material: " << result.error << Qt::endl;
        return kExitFailed;
    }
    streams.out << what << Qt::endl;
    return kExitOk;
}

} // namespace

const char* materialUsage() {
    static const std::string usage = std::string("material list|save NAME|delete NAME [--dir DIR] "
                                                 "(save: ") +
                                     kEngravingOptionsUsage + ' ' + kToneUsage + ')';
    return usage.c_str();
}

const char* materialDetails() {
    static const std::string details = std::string(kMaterialIntroduction) +
                                       kEngravingOptionsDetails + kPreparationDetails +
                                       kMaterialExit;
    return details.c_str();
}

int runMaterial(const QStringList& args, Streams streams) {
    const auto request = parseMaterial(args, streams.err);
    if (!request)
        return kExitUsage;
    if (!directoryExists(request->directory, "material", streams.err))
        return kExitFailed;
    const ProgramDir dir(request->directory);
    MaterialFile file = MaterialFile::read(dir);
    for (const QString& problem : file.problems())
        streams.err << "zuk-batch material: " << problem << Qt::endl;
    switch (request->action) {
    case Action::List:
        return list(file, streams);
    case Action::Save: {
        const JobChoices& options = request->choices;
        const MaterialProfile profile = materialOf(
            request->name, engravingChoicesOf(options, storedChoices(dir)), preparationOf(options));
        return done(file.save(profile),
                    QStringLiteral("saved: %1: %2")
                        .arg(profile.name.trimmed(), materialLines(profile).join(", ")),
                    streams);
    }
    case Action::Delete:
        return done(file.remove(request->name), QStringLiteral("deleted: ") + request->name,
                    streams);
    }
    return kExitFailed;
}

} // namespace zuk::batch
