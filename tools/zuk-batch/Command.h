#pragma once

#include <QStringList>
#include <QTextStream>

#include <vector>

namespace zuk::batch {

// Exit statuses of the tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; // some input could not be processed
inline constexpr int kExitUsage = 2;  // the command line itself is wrong

// Where a subcommand writes: results to `out`, messages about failures to `err`.
struct Streams {
    QTextStream& out;
    QTextStream& err;
};

// One subcommand of zuk-batch: its name, a usage line and its entry point, which gets the
// arguments after the subcommand's name.
struct Command {
    const char* name;
    const char* usage;
    const char* summary;
    int (*run)(const QStringList& args, Streams streams);
    // What --help adds after the summary; none for most commands.
    const char* details;
};

// Every subcommand the tool knows; a new one is added here.
const std::vector<Command>& commands();

} // namespace zuk::batch
