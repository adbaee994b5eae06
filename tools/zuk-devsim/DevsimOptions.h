#pragma once

#include "simulator/SimOptions.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace zuk::devsim {

struct DevsimOptions {
    sim::SimOptions sim;
    QString linkPath;  // symlink to the terminal, or empty
    QString statePath; // head position kept across runs, or empty
    QString pngPath;
    QString csvPath;
    QString jsonPath;
    bool trace = false;
};

// Parses the command line (arguments[0] is the program). Returns nothing and fills message
// with the help text (exitCode 0) or the error (exitCode 2) when the program should not run.
std::optional<DevsimOptions> parseDevsimOptions(const QStringList& arguments, QString* message,
                                                int* exitCode);

} // namespace zuk::devsim
