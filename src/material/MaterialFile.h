#pragma once

#include "app/ProgramDir.h"
#include "material/MaterialProfile.h"

#include <optional>
#include <vector>

namespace zuk {

// The material profiles live in this file of the program directory, Windows-1251 with CR LF
// like the program's other files, one entry per material, readable and editable by hand:
//
//   [Гранит чёрный]
//   levels=120
//   second-levels=0
//   mode=double
//   second-pass=no
//   text=no
//   gamma=1.2
//
// Blank lines and lines starting with ";" or "#" are comments and are kept.
inline constexpr const char* kMaterialFileName = "Materials.ini";

// The material file as read: its sound profiles, and what could not be read, for the operator.
// Nothing it could not read is ever written over: a file it could not read is not written at
// all, a damaged entry keeps its lines as they are when other entries are saved or deleted, and
// neither saving nor deleting touches it.
class MaterialFile {
public:
    // Reads the file; a missing one holds no profiles and is no problem.
    static MaterialFile read(const ProgramDir& dir);

    // The sound profiles, in the file's order.
    const std::vector<MaterialProfile>& profiles() const { return profiles_; }
    QStringList names() const;
    // The profile of that name, letter case aside.
    std::optional<MaterialProfile> find(const QString& name) const;
    // One message per problem, naming the file and the damaged entry; empty when all is sound.
    const QStringList& problems() const { return problems_; }

    // Adds the profile, or replaces the one of its name, and writes the file (replaced whole or
    // not at all). Refused, with the reason, for a file that could not be read, a name that is
    // empty or holds "[", "]" or a line break, or the name of a damaged entry.
    FileResult save(const MaterialProfile& profile);
    // Removes the profile of that name and writes the file; refused as save is, and for a name
    // the file does not hold.
    FileResult remove(const QString& name);

private:
    struct Entry {
        QString name;
        QStringList lines; // the header and everything up to the next one, as written
        qsizetype firstLine = 0;
        bool sound = false;
    };

    explicit MaterialFile(const ProgramDir& dir) : dir_(dir) {}
    void parse(const QStringList& lines);
    void parseEntry(qsizetype index);
    std::optional<QString> refusal(const QString& name) const;
    qsizetype entryNamed(const QString& name) const;
    FileResult write(const std::vector<Entry>& entries);
    QString path() const;

    ProgramDir dir_;
    bool readable_ = true;
    QStringList preamble_;
    std::vector<Entry> entries_;
    std::vector<MaterialProfile> profiles_;
    QStringList problems_;
};

} // namespace zuk
