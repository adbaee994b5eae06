#include "material/MaterialChoice.h"

#include "app/Program.h"
#include "plan/EngravingProperties.h"

namespace zuk {

MaterialChoice::MaterialChoice(Program& program, EngravingProperties& properties)
    : program_(program), properties_(properties) {}

MaterialFile MaterialChoice::read() {
    MaterialFile file = MaterialFile::read(program_.dir);
    for (const QString& problem : file.problems()) {
        if (reported_.contains(problem))
            continue;
        reported_ << problem;
        program_.screen.showMessage(MessageKind::Warning, problem);
    }
    return file;
}

QStringList MaterialChoice::names() {
    return read().names();
}

bool MaterialChoice::choose(const QString& name) {
    const std::optional<MaterialProfile> profile = read().find(name);
    if (!profile) {
        program_.screen.showMessage(
            MessageKind::Warning,
            QStringLiteral("Материала \"%1\" больше нет в \"%2\".")
                .arg(name, program_.dir.path(QLatin1String(kMaterialFileName))));
        return false;
    }
    applyMaterial(*profile, program_.choices);
    properties_.choicesSet();
    PreparationChoices preparation = program_.image.preparation();
    applyMaterialTone(*profile, preparation);
    if (preparation == program_.image.preparation())
        return true;
    if (!program_.image.holdsPicture()) {
        program_.image.setPreparation(preparation);
        return true;
    }
    return program_.image.prepareAnew(preparation);
}

bool MaterialChoice::saveAs(const QString& name) {
    return written(read().save(materialOf(name, program_.choices, program_.image.preparation())));
}

bool MaterialChoice::remove(const QString& name) {
    return written(read().remove(name));
}

bool MaterialChoice::written(const FileResult& result) {
    if (!result.ok())
        program_.screen.showMessage(MessageKind::Error, result.error);
    return result.ok();
}

} // namespace zuk
