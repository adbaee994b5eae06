#include "material/MaterialProfile.h"

#include "plan/PassLevels.h"

namespace zuk {

namespace {

constexpr const char* kToneNames[] = {"brightness", "contrast", "gamma", "invert", "sharpen"};

void copyTone(const PreparationChoices& from, PreparationChoices& to) {
    to.brightness = from.brightness;
    to.contrast = from.contrast;
    to.gamma = from.gamma;
    to.invert = from.invert;
    to.sharpenAmount = from.sharpenAmount;
    to.sharpenRadius = from.sharpenRadius;
}

QString levelsText(const EngravingChoices& choices, Pass pass) {
    const StrikeLevels& forces = choices.forces(pass);
    if (choices.mode(pass) == LevelMode::Group)
        return QString::number(forces.level32);
    return QStringLiteral("%1,%2,%3,%4")
        .arg(forces.level32)
        .arg(forces.level24)
        .arg(forces.level16)
        .arg(forces.level8);
}

QString yesNo(bool value) {
    return value ? QStringLiteral("yes") : QStringLiteral("no");
}

std::optional<bool> yesNoNamed(const QString& value) {
    if (value == QLatin1String("yes"))
        return true;
    if (value == QLatin1String("no"))
        return false;
    return std::nullopt;
}

// One force or four, each within its trackbar's range (the second pass's "32" goes down to 0).
bool setLevels(EngravingChoices& choices, Pass pass, const QString& value) {
    const QStringList parts = value.split(QLatin1Char(','));
    if (parts.size() != 1 && parts.size() != kLevelCount)
        return false;
    StrikeLevels forces = choices.forces(pass);
    for (qsizetype k = 0; k < parts.size(); ++k) {
        bool ok = false;
        const int force = parts[k].trimmed().toInt(&ok);
        const int lowest = k == 0 && pass == Pass::Second ? 0 : 1;
        if (!ok || force < lowest || force > kHighestTrackbarPosition)
            return false;
        forces = withForce(forces, kLevelsFrom32[k], static_cast<quint8>(force));
    }
    choices.mode(pass) = parts.size() == 1 ? LevelMode::Group : LevelMode::Individual;
    choices.forces(pass) = forces;
    // A group is its "32" force with the others as the trackbar sets them.
    if (parts.size() == 1)
        choices.setForce(pass, Level::L32, forces.level32, true);
    return true;
}

bool setEngravingLine(EngravingChoices& choices, const QString& name, const QString& value) {
    if (name == QLatin1String("levels"))
        return setLevels(choices, Pass::First, value);
    if (name == QLatin1String("second-levels"))
        return setLevels(choices, Pass::Second, value);
    if (name == QLatin1String("mode") &&
        (value == QLatin1String("single") || value == QLatin1String("double"))) {
        choices.singleSided = value == QLatin1String("single");
        return true;
    }
    const std::optional<bool> flag = yesNoNamed(value);
    if (flag && name == QLatin1String("second-pass"))
        choices.secondPass = *flag;
    else if (flag && name == QLatin1String("text"))
        choices.portrait = !*flag;
    return flag && (name == QLatin1String("second-pass") || name == QLatin1String("text"));
}

void applyPass(const EngravingChoices& from, Pass pass, EngravingChoices& to) {
    const StrikeLevels& forces = from.forces(pass);
    to.mode(pass) = from.mode(pass);
    if (from.mode(pass) == LevelMode::Group) {
        to.setForce(pass, Level::L32, forces.level32, true);
        return;
    }
    for (const Level level : kLevelsFrom32)
        to.setForce(pass, level, force(forces, level), false);
}

} // namespace

MaterialProfile materialOf(const QString& name, const EngravingChoices& engraving,
                           const PreparationChoices& preparation) {
    MaterialProfile profile{name, {}, {}};
    applyMaterial({name, engraving, {}}, profile.engraving);
    copyTone(preparation, profile.tone);
    return profile;
}

void applyMaterial(const MaterialProfile& profile, EngravingChoices& choices) {
    applyPass(profile.engraving, Pass::First, choices);
    applyPass(profile.engraving, Pass::Second, choices);
    choices.singleSided = profile.engraving.singleSided;
    choices.secondPass = profile.engraving.secondPass;
    choices.portrait = profile.engraving.portrait;
}

void applyMaterialTone(const MaterialProfile& profile, PreparationChoices& preparation) {
    copyTone(profile.tone, preparation);
}

bool isToneChoice(const QString& name) {
    for (const char* tone : kToneNames)
        if (name == QLatin1String(tone))
            return true;
    return false;
}

QStringList materialLines(const MaterialProfile& profile) {
    const EngravingChoices& choices = profile.engraving;
    QStringList lines{
        QStringLiteral("levels=") + levelsText(choices, Pass::First),
        QStringLiteral("second-levels=") + levelsText(choices, Pass::Second),
        QStringLiteral("mode=") +
            (choices.singleSided ? QStringLiteral("single") : QStringLiteral("double")),
        QStringLiteral("second-pass=") + yesNo(choices.secondPass),
        QStringLiteral("text=") + yesNo(!choices.portrait),
    };
    return lines + preparationChoiceLines(profile.tone);
}

std::optional<QString> setMaterialLine(MaterialProfile& profile, const QString& line) {
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    const QString name = (equals < 0 ? line : line.left(equals)).trimmed();
    const QString value = equals < 0 ? QString() : line.mid(equals + 1).trimmed();
    if (isToneChoice(name)) {
        if (setPreparationChoice(profile.tone, name, value))
            return QStringLiteral("\"%1\" — не значение тона").arg(line);
        return std::nullopt;
    }
    if (!setEngravingLine(profile.engraving, name, value))
        return QStringLiteral("\"%1\" — не выбор материала").arg(line);
    return std::nullopt;
}

} // namespace zuk
