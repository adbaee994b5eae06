#pragma once

#include "material/MaterialFile.h"

#include <QStringList>

namespace zuk {

class EngravingProperties;
class Program;

// "Материал" on the properties panel: the material profiles of the program directory, chosen,
// saved from what the panel shows, and deleted. The file is read anew each time the list is
// asked for, so profiles edited by hand or saved by zuk-batch show; each problem with it is
// reported to the operator once.
class MaterialChoice {
public:
    MaterialChoice(Program& program, EngravingProperties& properties);

    // The names of the sound profiles, in the file's order.
    QStringList names();
    // Fills the properties as the profile says (as the operator's moves on the panel would:
    // the level rules apply) and, when the profile's tone differs from the preparation in
    // force, prepares the picture held anew with it. False, told why, when the file no longer
    // holds the profile.
    bool choose(const QString& name);
    // "Сохранить как…": the choices of the panel and the preparation's tone as the profile
    // `name`, replacing one of that name; false, told why, when refused or not written.
    bool saveAs(const QString& name);
    // "Удалить": false, told why, when refused or not written.
    bool remove(const QString& name);

private:
    MaterialFile read();
    bool written(const FileResult& result);

    Program& program_;
    EngravingProperties& properties_;
    QStringList reported_;
};

} // namespace zuk
